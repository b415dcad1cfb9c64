// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile input through the window logic on the headless platform: every
// picture of the PNG suite, broken ones included, a huge clipboard, texts no
// code page holds, decompression bombs, files that change under the window and
// a crowded folder. The window must go on, say only what it says for any bad
// input, and save exactly what it was given.


#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>

#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

const std::u16string kInvalidCode = u"Keine gültigen Daten für ein Bild";
const std::u16string kCannotOpen = u"Bitmap kann nicht geöffnet werden";
constexpr std::size_t kMaxFaceFileBytes = 726;
constexpr std::size_t kTenMebibytes = std::size_t{10} << 20;

std::vector<std::string> SuiteNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PngSuiteFolder())) {
    if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The suite's broken files are named "x...".
bool IsBroken(const std::string& suiteName) { return suiteName.starts_with('x'); }

class HostileInputTest : public WindowTest {
 protected:
  HostileInputTest() { pictures.MakeFolder("saved"); }

  void Paste(const std::u16string& clipboard) {
    platform.Clipboard.SetText(clipboard);
    platform.cmdPaste.Click();
  }

  // Saves the picture of the code in the box ("Speichern") and returns the
  // bytes written.
  std::string SavePicture() {
    platform.CommonDialog1.AnswerWith(pictures.Path("saved/Face-pic.png"));
    platform.cmdSavePic.Click();
    std::string bytes = pictures.Read("saved/Face-pic.png");
    pictures.Remove("saved/Face-pic.png");
    return bytes;
  }

  // Every message shown since the last look is one of these; forgets them.
  void ExpectOnlyMessagesAmong(const std::vector<std::u16string>& allowed) {
    for (const std::u16string& prompt : Messages()) {
      EXPECT_NE(std::find(allowed.begin(), allowed.end(), prompt), allowed.end()) << ToUtf8(prompt);
    }
    platform.Messages.Forget();
  }
};

TEST_F(HostileInputTest, EverySuitePictureIsClickedPastedAndSavedByteForByte) {
  int files = 0;
  pictures.MakeFolder("suite");
  for (const std::string& name : SuiteNames()) pictures.Write("suite/" + name, PngSuiteFile(name));
  platform.lstDir.Open(pictures.Path("suite"));
  for (const std::string& name : SuiteNames()) {
    SCOPED_TRACE(name);
    const std::string bytes = PngSuiteFile(name);
    const std::u16string code = FaceCode(bytes);
    const std::vector<std::u16string> allowed =
        IsBroken(name) ? std::vector{kCannotOpen, kInvalidCode} : std::vector<std::u16string>{};

    ClickFile(name);
    EXPECT_EQ(platform.txt.Text(), bytes.size() < kMaxFaceFileBytes ? code : u"");
    ExpectOnlyMessagesAmong(allowed);

    Paste(code);
    EXPECT_EQ(platform.txt.Text(), code);
    ExpectOnlyMessagesAmong(allowed);
    if (!platform.cmdSavePic.Enabled()) {
      // Refused as no PNG at all: typed instead, a code can always be saved.
      ASSERT_TRUE(IsBroken(name));
      platform.txt.Type(u"");
      platform.txt.Type(code);
      ExpectOnlyMessagesAmong(allowed);
    }
    EXPECT_EQ(SavePicture(), bytes);
    EXPECT_TRUE(Messages().empty());
    ++files;
  }
  EXPECT_GT(files, 150);
  std::cout << "[ hostile  ] suite pictures clicked, pasted and saved: " << files << '\n';
}

TEST_F(HostileInputTest, TenMebibyteClipboardsAreCleanedDecodedOrRefused) {
  // A code of 10 MiB, folded like a mail header: cleaned, decoded, and
  // refused by the picture library's memory limit.
  const std::u16string code = FaceCode(MakePng(1000, 62500));
  ASSERT_GE(code.size(), kTenMebibytes);
  std::u16string folded = u"Face: " + code.substr(0, 76);
  for (std::size_t at = 76; at < code.size(); at += 76) folded += u"\r\n " + code.substr(at, 76);
  Paste(folded);
  EXPECT_EQ(platform.txt.Text(), code);
  ExpectOnlyMessagesAmong({kCannotOpen});

  // Ten mebibytes of no code at all.
  std::u16string noise(kTenMebibytes, u'\0');
  for (std::size_t at = 0; at < noise.size(); ++at) noise[at] = static_cast<char16_t>(u' ' + at * 7919 % 0xD000);
  Paste(noise);
  EXPECT_EQ(Messages(), std::vector{kInvalidCode});
  EXPECT_FALSE(platform.cmdSavePic.Enabled());
}

TEST_F(HostileInputTest, NulLoneSurrogatesAndWideCharactersAreHeldAndSavedAsTheCodePageWrites) {
  const std::u16string code = FaceCode(MakePng(8, 8));
  const std::u16string odd[] = {
      std::u16string(u"iVBOR\0w0K", 9),
      code + std::u16string(1, u'\0') + u"tail",
      code + std::u16string(1, char16_t{0xD800}),
      std::u16string(1, char16_t{0xDC00}) + code,
      code.substr(0, 30) + u"\u20AC\u4E2D\U0001F600" + code.substr(30),
      std::u16string(1000, char16_t{0xFFFF}),
  };
  for (const std::u16string& text : odd) {
    SCOPED_TRACE(ToUtf8(text.substr(0, 12)));
    Paste(text);
    EXPECT_EQ(platform.txt.Text(), text);
    ExpectOnlyMessagesAmong({kInvalidCode, kCannotOpen});

    // A refused paste disables saving; typed, the same text can be saved.
    platform.txt.Type(u"");
    platform.txt.Type(text);
    ExpectOnlyMessagesAmong({kCannotOpen});
    platform.CommonDialog1.AnswerWith(pictures.Path("saved/odd.txt"));
    platform.cmdSave.Click();
    EXPECT_EQ(pictures.Read("saved/odd.txt"), ByteStringToBytes(text));
    EXPECT_TRUE(Messages().empty());
  }
}

TEST_F(HostileInputTest, DecompressionBombsUnder726BytesAreRefusedWhetherClickedOrPasted) {
  for (const auto& [width, height] : {std::pair{20000u, 20000u}, std::pair{1000u, 60000u}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const std::string bomb = MakeDecompressionBomb(width, height);
    ASSERT_LT(bomb.size(), kMaxFaceFileBytes);
    AddFile("bomb.png", bomb);
    ClickFile("bomb.png");
    EXPECT_EQ(Messages(), std::vector{kCannotOpen});
    EXPECT_EQ(platform.txt.Text(), FaceCode(bomb));
    platform.Messages.Forget();

    Paste(FaceCode(bomb));
    ExpectOnlyMessagesAmong({kCannotOpen, kInvalidCode});
    EXPECT_FALSE(platform.Picture1.picture());
  }
}

TEST_F(HostileInputTest, ListedFileThatChangedIntoSomethingElseIsReportedAndChangesNothing) {
  constexpr const char* kName = "changing.png";
  const std::pair<const char*, std::function<void(const MemoryFolder&)>> changes[] = {
      {"vanished", [](const MemoryFolder& folder) { folder.Remove(kName); }},
      {"became a folder", [](const MemoryFolder& folder) { folder.MakeFolder(kName); }},
      {"became a pipe", [](const MemoryFolder& folder) { folder.disk().AddOther(folder.Path(kName)); }},
      {"became a link to itself", [](const MemoryFolder& folder) { folder.MakeLink(kName, folder.path() + "/" + kName); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    AddFile(kName, MakePng(8, 8));
    change(pictures);
    ClickFile("changing.png");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(platform.txt.Text(), u"");
    EXPECT_FALSE(platform.Picture1.picture());
    platform.Messages.Forget();
    pictures.Remove(kName);
  }
}

TEST_F(HostileInputTest, FolderOfFiveThousandPicturesIsListedAndItsLastEntryLoads) {
  constexpr int kPictures = 5000;
  const std::string png = MakePng(8, 8);
  pictures.WriteCrowd("crowd", png, kPictures);
  platform.lstDir.Open(pictures.Path("crowd"));
  ASSERT_EQ(platform.lstFile.entries().size(), static_cast<std::size_t>(kPictures));
  EXPECT_EQ(platform.lstFile.entries().back(), u"face14999.png");
  ClickFile("face14999.png");
  EXPECT_EQ(platform.txt.Text(), FaceCode(png));
  EXPECT_TRUE(platform.Picture1.picture());
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace velmora::test
