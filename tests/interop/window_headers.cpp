// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the headers that the window's copy entries put on the clipboard, as
// another program pastes them, so that mail_readers.py can read them with
// parsers that are not ours.
//
//   window_headers OUTPUT_FOLDER PICTURE.png ...
//
// Each picture NAME.png is clicked in the window's file list, then:
//   NAME.face.txt         "Als Face-Header kopieren", for a file that gives a code
//   NAME.folded.txt       "Als gefalteten Face-Header kopieren", likewise
//   NAME.xface.txt        "Als X-Face-Header kopieren" of the code box, likewise
//   NAME.file-xface.txt   "Als X-Face-Header kopieren" of the file list
//   NAME.xface-bits.txt   the X-Face's picture: 48 rows of 0 (white) and 1 (black)
//   NAME.fitted-face.txt  "Als Face anpassen", then "Als Face-Header kopieren"
// Exit status 0, or 1 with the reason on standard error.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "platform/bytes.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "tests/support/memory_folder.h"
#include "window/control_table.h"
#include "window/frm_base64.h"
#include "xface/xface_picture.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kCopyHeader = u"Als Face-Header kopieren";
constexpr std::u16string_view kCopyFoldedHeader = u"Als gefalteten Face-Header kopieren";
constexpr std::u16string_view kCopyXFaceHeader = u"Als X-Face-Header kopieren";
constexpr std::u16string_view kFitIntoFace = u"Als Face anpassen";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  if (!(out << bytes)) throw std::runtime_error("cannot write " + path.string());
}

std::string BitmapRows(const xface::Bitmap& bitmap) {
  std::string rows;
  for (int y = 0; y < xface::kXFaceSide; ++y) {
    for (int x = 0; x < xface::kXFaceSide; ++x) rows += bitmap.IsBlack(x, y) ? '1' : '0';
    rows += '\n';
  }
  return rows;
}

// The window on an in-memory disk whose shown folder holds one picture.
class Window {
 public:
  Window(const std::string& name, const std::string& png) : platform_(FrmBase64Table(), disk_, Options()) {
    folder_.Write(name, png);
    platform_.lstFile.Refresh();
    platform_.Start(window_);
  }

  // What the clipboard holds after the code box's entry, as other programs
  // read it.
  std::string CopiedFromCode(std::u16string_view entry) {
    Require(platform_.txt.ChooseContextMenuEntry(entry), entry);
    return ToUtf8(platform_.Clipboard.DesktopText());
  }

  std::string CopiedFromFile(const std::u16string& name, std::u16string_view entry) {
    Require(platform_.lstFile.ChooseContextMenuEntry(name, entry), entry);
    return ToUtf8(platform_.Clipboard.DesktopText());
  }

  [[nodiscard]] bool CodeEntryEnabled(std::u16string_view entry) const {
    return platform_.txt.ContextMenuEntryEnabled(entry);
  }

  void Click(const std::u16string& name) { Require(platform_.lstFile.Click(name), name); }
  void Fit(const std::u16string& name) { Require(platform_.lstFile.ChooseContextMenuEntry(name, kFitIntoFace), name); }

 private:
  static headless::HeadlessOptions Options() {
    headless::HeadlessOptions options;
    options.volumes = {{u"/", u"/dev/test"}};
    options.workingFolder = FromUtf8(kFolder);
    options.programFolder = options.workingFolder;
    return options;
  }

  void Require(bool done, std::u16string_view what) const {
    if (!done) throw std::runtime_error("the window did not take " + ToUtf8(what));
    if (!platform_.Messages.shown().empty()) {
      throw std::runtime_error("the window said: " + ToUtf8(platform_.Messages.shown().front().prompt));
    }
  }

  static constexpr std::string_view kFolder = "/home/anna/pictures";
  headless::MemoryFileSystem disk_;
  test::MemoryFolder temporaries_{disk_, "/tmp"};
  test::MemoryFolder folder_{disk_, std::string(kFolder)};
  headless::HeadlessPlatform platform_;
  FrmBase64 window_{platform_.form()};
};

void WriteHeadersOf(const fs::path& picture, const fs::path& output) {
  const std::string png = ReadFile(picture);
  const std::string stem = picture.stem().string();
  const std::u16string name = FromUtf8(picture.filename().string());
  const auto write = [&](std::string_view kind, std::string_view text) {
    WriteFile(output / (stem + "." + std::string(kind) + ".txt"), text);
  };

  Window window(picture.filename().string(), png);
  window.Click(name);
  if (window.CodeEntryEnabled(kCopyHeader)) {
    write("face", window.CopiedFromCode(kCopyHeader));
    write("folded", window.CopiedFromCode(kCopyFoldedHeader));
    write("xface", window.CopiedFromCode(kCopyXFaceHeader));
  }
  write("file-xface", window.CopiedFromFile(name, kCopyXFaceHeader));
  const auto xface = xface::XFaceOfPng(BytesOf(png));
  write("xface-bits", BitmapRows(std::get<xface::BlackAndWhiteCandidate>(xface).bitmap));

  window.Fit(name);  // selects and encodes the new file
  write("fitted-face", window.CopiedFromCode(kCopyHeader));
}

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: window_headers OUTPUT_FOLDER PICTURE.png ...\n";
    return 2;
  }
  try {
    for (int i = 2; i < argc; ++i) velmora::WriteHeadersOf(argv[i], argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "window_headers: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
