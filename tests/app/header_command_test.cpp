// SPDX-License-Identifier: GPL-3.0-or-later
// `velmora --header` and the other command lines that need no window, run
// as the built program in a child process with no display, in a folder of
// test pictures.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "face/face_header.h"
#include "face/png_header.h"
#include "fit/png_decode.h"
#include "platform/bytes.h"
#include "platform/text.h"
#include "platform/version.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace velmora::test {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// The environment of the test without a display and without any language
// setting, plus `extra`.
std::vector<std::string> EnvironmentWithout(const std::vector<std::string>& extra) {
  const std::vector<std::string_view> dropped = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "LANG=",
                                                 "LANGUAGE=", "LC_"};
  std::vector<std::string> environment = extra;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry = *variable;
    if (std::ranges::none_of(dropped, [entry](std::string_view name) { return entry.starts_with(name); })) {
      environment.emplace_back(entry);
    }
  }
  return environment;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

class HeaderCommandTest : public ::testing::Test {
 protected:
  HeaderCommandTest() {
    pictures.Write("smile.png", smile);
    pictures.Write("gr\xFC\xDF.png", smile);
    pictures.Write("heavy.png", heavy);
    pictures.Write("wide.png", wide);
    pictures.Write("face.png", exactFace);
    pictures.Write("tiny.png", MakePng(1, 1));
    pictures.Write("tall.png", MakePng(40, 60));
    pictures.Write("notes.png", "Kein Bild");
    std::filesystem::create_directory(pictures.Native("folder.png"));
  }

  // Runs velmora in the pictures' folder; its output goes through files, so
  // that neither stream can fill up and block it.
  Outcome Run(std::vector<std::string> arguments, const std::vector<std::string>& extraEnvironment = {"LANG=C"}) const {
    arguments.insert(arguments.begin(), VELMORA_PROGRAM);
    std::vector<std::string> environment = EnvironmentWithout(extraEnvironment);
    const std::vector<char*> argv = PointersTo(arguments);
    const std::vector<char*> envp = PointersTo(environment);
    const std::string out = captures.Native("out");
    const std::string err = captures.Native("err");
    const pid_t child = ::fork();
    if (child == 0) {
      const int outFile = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int errFile = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (outFile < 0 || errFile < 0 || ::dup2(outFile, 1) < 0 || ::dup2(errFile, 2) < 0 ||
          ::chdir(pictures.path().c_str()) != 0) {
        ::_exit(127);
      }
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) ADD_FAILURE() << "cannot run " << VELMORA_PROGRAM;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
  }

  TempFolder pictures;
  TempFolder captures;
  const std::string smile = PngSuiteFile("basn0g01.png");  // 32 x 32
  const std::string heavy = PaddedPng(MakePng(48, 48), 726);
  const std::string wide = MakePng(64, 64);  // 657 bytes
  const std::string exactFace = MakePng(48, 48);
};

std::u16string CodeOf(const std::string& file) {
  return modBase64::EncodeBase64(BytesToByteString(BytesOf(file)));
}

std::string HeaderOf(const std::string& file) { return ToUtf8(face::HeaderLine(CodeOf(file))) + "\n"; }

std::string FoldedHeaderOf(const std::string& file) {
  std::string header;
  for (const std::u16string& line : face::FoldedHeaderLines(CodeOf(file))) header += ToUtf8(line) + "\n";
  return header;
}

constexpr std::string_view kTooLarge = "Die Datei ist zu groß für die Verwendung als Face!";
constexpr std::string_view kNotShownEverywhere =
    "32 x 32 Pixel: Manche Leseprogramme zeigen nur Bilder von genau 48 × 48 Pixeln. (--fit passt das Bild an)\n";

TEST_F(HeaderCommandTest, PrintsTheHeaderOrSaysWhyNotWithItsStatus) {
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string errPart;  // "" for nothing on standard error
  } cases[] = {
      {{"--header", "face.png"}, 0, HeaderOf(exactFace), ""},
      {{"--header", "smile.png"}, 0, HeaderOf(smile), "velmora: smile.png: " + std::string(kNotShownEverywhere)},
      {{"--header", pictures.Native("gr\xFC\xDF.png")}, 0, HeaderOf(smile), std::string(kNotShownEverywhere)},
      {{"--header", "gr\xFC\xDF.png", "--fold"}, 0, FoldedHeaderOf(smile), std::string(kNotShownEverywhere)},
      {{"--fit", "--header", "face.png"}, 0, HeaderOf(exactFace), ""},
      {{"--header", "wide.png"}, 0, HeaderOf(wide), "velmora: wide.png: 64 x 64 Pixel: " + std::string(kTooLarge)},
      {{"--header", "heavy.png"}, 1, "", "velmora: heavy.png: 726 Bytes: " + std::string(kTooLarge)},
      {{"--header", "gone\xFC.png"}, 1, "", "velmora: gone\xFC.png: Datei nicht gefunden\n"},
      {{"--header", "notes.png"}, 1, "", "Das Bild lässt sich nicht lesen."},
      {{"--header", "--fit", "notes.png"}, 1, "", "Das Bild lässt sich nicht lesen."},
      {{"--header", "folder.png"}, 1, "", "Fehler beim Zugriff auf Pfad/Datei"},
      {{"--header", "smile.png", "--bogus"}, 2, "", "velmora: Unbekannte Option 'bogus'."},
      {{"--fold", "smile.png"}, 2, "", "nur zusammen mit --header"},
      {{"--fit"}, 2, "", "nur zusammen mit --header"},
      {{"--header", "smile.png", "wide.png"}, 2, "", "Nur eine Datei"},
      {{"smile.png", "wide.png"}, 2, "", "Nur eine Datei"},
      {{"--header"}, 2, "", "--header braucht eine Bilddatei"},
      {{"--header", "--crop", "0,0,5", "smile.png"}, 2, "", "--crop gilt nur zusammen mit --fit"},
      {{"--header", "--fit", "--crop", "0,0", "smile.png"}, 2, "", "--crop erwartet LINKS,OBEN,GRÖSSE"},
      {{"--header", "--fit", "--crop", "0,0,0", "smile.png"}, 2, "", "--crop erwartet LINKS,OBEN,GRÖSSE"},
      {{"--header", "--fit", "--crop", "32,0,5", "smile.png"}, 1, "", "ganz außerhalb des Bildes (32 x 32 Pixel)"},
      {{"--header", "--fit", "--crop", "-5,-5,5", "smile.png"}, 1, "", "ganz außerhalb des Bildes"},
      {{"--version"}, 0, std::string("velmora ") + kVersionText + "\n", ""},
  };
  for (const auto& c : cases) {
    const std::string call = c.arguments.front() + " " + c.arguments.back();
    const Outcome outcome = Run(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << call << "\n" << outcome.err;
    EXPECT_EQ(outcome.out, c.out) << call;
    if (c.errPart.empty()) {
      EXPECT_EQ(outcome.err, "") << call;
    } else {
      EXPECT_NE(outcome.err.find(c.errPart), std::string::npos) << call << "\n" << outcome.err;
    }
  }
}

TEST_F(HeaderCommandTest, FitMakesA48By48FaceOfAnyOtherPicture) {
  for (const std::string name : {"heavy.png", "wide.png", "smile.png", "tiny.png", "tall.png"}) {
    const Outcome outcome = Run({"--header", "--fit", name});
    EXPECT_EQ(outcome.status, 0) << name << "\n" << outcome.err;
    ASSERT_TRUE(outcome.out.starts_with("Face: ") && outcome.out.ends_with("\n")) << name;
    const std::string face =
        ByteStringToBytes(modBase64::DecodeBase64(FromUtf8(outcome.out.substr(6, outcome.out.size() - 7))));
    EXPECT_LT(face.size(), 726u) << name;
    const auto size = face::PngPixelSize(face);
    ASSERT_TRUE(size) << name;
    EXPECT_EQ(size->width, 48u) << name;
    EXPECT_EQ(size->height, 48u) << name;
  }
  EXPECT_EQ(pictures.ListNames(),
            "face.png folder.png gr\xFC\xDF.png heavy.png notes.png smile.png tall.png tiny.png wide.png")
      << "--fit wrote a file";
}

// A JPEG file of the picture with an EXIF orientation tag, as a phone stores
// a photo it took sideways.
std::string JpegWithOrientation(const QImage& picture, std::uint16_t orientation) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(picture.save(&buffer, "JPEG", 95));
  // APP1 "Exif": a big-endian TIFF header and one IFD entry, Orientation
  // (0x0112), a SHORT.
  const std::string exif = std::string("\xFF\xE1\x00\x22" "Exif\0\0" "MM\x00\x2A\x00\x00\x00\x08" "\x00\x01", 20) +
                           std::string("\x01\x12\x00\x03\x00\x00\x00\x01", 8) +
                           std::string{'\0', static_cast<char>(orientation), '\0', '\0'} + std::string(4, '\0');
  std::string file(jpeg.constData(), static_cast<std::size_t>(jpeg.size()));
  return file.insert(2, exif);  // after SOI
}

std::string Saved(const QImage& picture, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(picture.save(&buffer, format)) << format;
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

fit::Picture FaceOf(const Outcome& outcome) {
  const std::string face =
      ByteStringToBytes(modBase64::DecodeBase64(FromUtf8(outcome.out.substr(6, outcome.out.size() - 7))));
  auto decoded = fit::DecodePng(BytesOf(face));
  EXPECT_TRUE(std::holds_alternative<fit::Picture>(decoded));
  return std::holds_alternative<fit::Picture>(decoded) ? std::get<fit::Picture>(decoded) : fit::Picture{};
}

TEST_F(HeaderCommandTest, FitReadsPhotosOfEveryFormatTurnedUprightAndCropsThem) {
  // Left half red, right half blue; stored turned a quarter to the left with
  // the tag that turns it back, so that upright the red half is on top.
  QImage upright(20, 60, QImage::Format_RGB32);
  upright.fill(Qt::blue);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 20; ++x) upright.setPixel(x, y, qRgb(255, 0, 0));
  }
  const QImage stored = upright.transformed(QTransform().rotate(-90));
  pictures.Write("sideways.jpg", JpegWithOrientation(stored, 6));
  pictures.Write("photo.bmp", Saved(upright, "BMP"));
  pictures.Write("photo.webp", Saved(upright, "WEBP"));
  const struct {
    std::vector<std::string> arguments;
    bool redInTheMiddle;
  } cases[] = {
      {{"--header", "--fit", "--crop", "0,0,20", "sideways.jpg"}, true},
      {{"--header", "--fit", "--crop", "0,40,20", "sideways.jpg"}, false},
      {{"--header", "--fit", "--crop=0,0,20", "photo.bmp"}, true},
      {{"--header", "--fit", "--crop", "0,40,20", "photo.webp"}, false},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Run(c.arguments);
    ASSERT_EQ(outcome.status, 0) << c.arguments.back() << "\n" << outcome.err;
    const fit::Picture face = FaceOf(outcome);
    ASSERT_EQ(face.width, 48);
    const std::size_t middle = (24 * 48 + 24) * 4;
    EXPECT_EQ(face.rgba[middle] > 200 && face.rgba[middle + 2] < 60, c.redInTheMiddle) << c.arguments.back();
  }
  const Outcome whole = Run({"--header", "--fit", "sideways.jpg"});
  ASSERT_EQ(whole.status, 0) << whole.err;
  const fit::Picture face = FaceOf(whole);
  // Upright the photo is taller than wide: 16 x 48 in the middle.
  EXPECT_EQ(face.rgba[(24 * 48 + 2) * 4 + 3], 0);
  EXPECT_EQ(face.rgba[(2 * 48 + 24) * 4 + 3], 255);
}

TEST_F(HeaderCommandTest, HelpIsGermanWhateverTheLanguageSetting) {
  const Outcome plain = Run({"--help"}, {});
  EXPECT_EQ(plain.status, 0);
  for (const std::string_view text : {"Aufruf:", "Optionen:", "Zeigt Hilfe", "--header", "--fold", "--fit"}) {
    EXPECT_NE(plain.out.find(text), std::string::npos) << text << "\n" << plain.out;
  }
  for (const std::vector<std::string>& environment :
       {std::vector<std::string>{"LANG=C"}, {"LC_ALL=en_US.UTF-8"}, {"LANG=fr_FR.UTF-8", "LANGUAGE=fr"}}) {
    EXPECT_EQ(Run({"-h"}, environment).out, plain.out) << environment.front();
  }
}

}  // namespace
}  // namespace velmora::test
