// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session on the headless platform: typing, pasting, clicking
// files and saving, with valid and broken codes and every kind of answer in
// the Save dialog. Nothing may be said but what such input calls for, no
// temporary file may stay, every completed save must hold exactly what was
// saved, and the heap must not grow once the session has warmed up.

#include <malloc.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "tests/window/window_fixture.h"

#ifdef __SANITIZE_ADDRESS__
// AddressSanitizer's own count; GCC ships the runtime without its header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace velmora::test {
namespace {

constexpr int kSteps = 10000;
constexpr int kWarmUpSteps = 1000;
constexpr std::size_t kHeapGrowthBound = std::size_t{1} << 20;
constexpr std::mt19937::result_type kDefaultSeed = 20240607;

const std::u16string kInvalidCode = u"Keine gültigen Daten für ein Bild";
const std::u16string kCannotOpen = u"Bitmap kann nicht geöffnet werden";
const std::u16string kMissingFolderReport = u"Fehler #76: Pfad nicht gefunden";
const std::u16string kFolderInTheWayReport = u"Fehler #75: Fehler beim Zugriff auf Pfad/Datei";

// Bytes the process has taken from the heap and not given back. Under
// AddressSanitizer the C library's heap is bypassed (mallinfo2 reads 0), so
// the sanitizer's allocator is asked.
std::size_t HeapInUse() {
#ifdef __SANITIZE_ADDRESS__
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = ::mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

// VELMORA_SOAK_SEED replays another session.
std::mt19937::result_type Seed() {
  const char* chosen = std::getenv("VELMORA_SOAK_SEED");
  return chosen ? static_cast<std::mt19937::result_type>(std::strtoul(chosen, nullptr, 10)) : kDefaultSeed;
}

enum class SaveAnswer { kNewFile, kExistingFile, kCancel, kMissingFolder, kFolderInTheWay };

class SoakTest : public WindowTest {
 protected:
  SoakTest() : random_(Seed()) {
    for (const auto& [width, height] : {std::pair{8u, 8u}, std::pair{32u, 32u}, std::pair{48u, 48u},
                                         std::pair{60u, 60u}, std::pair{1u, 1u}}) {
      pngs_.push_back(MakePng(width, height));
    }
    for (std::size_t n = 0; n < pngs_.size(); ++n) pictures.Write("face" + std::to_string(n) + ".png", pngs_[n]);
    pictures.Write("broken.png", pngs_[1].substr(0, 100));
    pictures.Write("large.png", std::string(2000, 'L'));
    pictures.MakeFolder("saved");
    pictures.MakeFolder("saved/folder.txt");
    platform.lstFile.Refresh();
    for (const std::string& png : pngs_) codes_.push_back(FaceCode(png));
  }

  // One random step of the user; checks what it said and left behind.
  void Step() {
    switch (Pick(10)) {
      case 0:
      case 1:
      case 2: platform.txt.Type(SomeText()); break;
      case 3: platform.txt.Type(Edited(platform.txt.Text())); break;
      case 4:
      case 5: Paste(); break;
      case 6: ClickSomeFile(); break;
      case 7: Save(platform.cmdSave, "code.txt"); break;
      case 8: Save(platform.cmdSavePic, "face.png"); break;
      default: platform.lstFile.SetSelected(platform.lstFile.ListIndex(), false); break;
    }
    for (const auto& shown : platform.Messages.shown()) {
      ++said_[shown.prompt];
      EXPECT_TRUE(shown.prompt == kInvalidCode || shown.prompt == kCannotOpen || shown.prompt == kMissingFolderReport ||
                  shown.prompt == kFolderInTheWayReport)
          << "unexpected message: " << ToUtf8(shown.prompt);
    }
    ForgetWhatTheWindowRecorded();
    ASSERT_EQ(temporaries.ListNames(), "") << "a temporary file was left behind";
  }

  void PrintSummary() const {
    std::cout << "[ soak     ] seed " << Seed() << ", " << kSteps << " steps, saves completed " << savesCompleted_
              << ", saves failing as answered " << savesFailed_ << '\n';
    for (const auto& [prompt, count] : said_) std::cout << "[ soak     ] said " << count << "x: " << ToUtf8(prompt) << '\n';
  }

 private:
  std::size_t Pick(std::size_t choices) { return std::uniform_int_distribution<std::size_t>(0, choices - 1)(random_); }

  // A valid code, a folded header, a broken or truncated code, or no code.
  std::u16string SomeText() {
    const std::u16string& code = codes_[Pick(codes_.size())];
    switch (Pick(8)) {
      case 0: return u"Face: " + code.substr(0, 40) + u"\r\n " + code.substr(40);
      case 1: return code.substr(0, Pick(code.size()));
      case 2: return u"Hallo Welt";
      case 3: return u"";
      case 4: return std::u16string(1, static_cast<char16_t>(0xD800 + Pick(0x800))) + code;
      default: return code;
    }
  }

  // The text with a few characters inserted, deleted or replaced.
  std::u16string Edited(std::u16string text) {
    constexpr std::u16string_view kTyped = u"AZaz09+/= \r\n\u00E4\u20AC";
    for (std::size_t edits = 1 + Pick(3); edits > 0; --edits) {
      const std::size_t at = Pick(text.size() + 1);
      switch (Pick(3)) {
        case 0: text.insert(at, 1, kTyped[Pick(kTyped.size())]); break;
        case 1:
          if (at < text.size()) text.erase(at, 1);
          break;
        default:
          if (at < text.size()) text[at] = kTyped[Pick(kTyped.size())];
          break;
      }
    }
    return text;
  }

  void Paste() {
    if (Pick(10) == 0) {
      platform.Clipboard.SetNoText();
    } else {
      platform.Clipboard.SetText(SomeText());
    }
    platform.cmdPaste.Click();
  }

  void ClickSomeFile() {
    const auto& entries = platform.lstFile.entries();
    ASSERT_FALSE(entries.empty());
    ASSERT_TRUE(platform.lstFile.Click(entries[Pick(entries.size())]));
  }

  // Answers the dialog in one of the ways a user can; a completed save must
  // hold exactly the code, or the decoded picture of a known code.
  void Save(headless::HeadlessButton& button, const std::string& name) {
    if (!button.Enabled()) return;  // a click on a greyed button raises nothing and takes no answer
    const auto answer = static_cast<SaveAnswer>(Pick(5));
    const std::string target = Target(answer, name);
    if (answer == SaveAnswer::kCancel) {
      platform.CommonDialog1.AnswerCancel();
    } else {
      platform.CommonDialog1.AnswerWith(pictures.Path(target));
    }
    const std::u16string code = platform.txt.Text();
    button.Click();
    if (answer == SaveAnswer::kMissingFolder || answer == SaveAnswer::kFolderInTheWay) {
      ++savesFailed_;
      return;
    }
    if (answer == SaveAnswer::kCancel) return;
    ++savesCompleted_;
    const std::string saved = pictures.Read(target);
    if (&button == &platform.cmdSave) {
      EXPECT_EQ(saved, ByteStringToBytes(code));
    } else if (const auto known = std::find(codes_.begin(), codes_.end(), code); known != codes_.end()) {
      EXPECT_EQ(saved, pngs_[static_cast<std::size_t>(known - codes_.begin())]);
    }
    if (answer == SaveAnswer::kNewFile) pictures.Remove(target);
  }

  // The target's name in the pictures folder.
  [[nodiscard]] static std::string Target(SaveAnswer answer, const std::string& name) {
    switch (answer) {
      case SaveAnswer::kMissingFolder: return "missing/" + name;
      case SaveAnswer::kFolderInTheWay: return "saved/folder.txt";
      case SaveAnswer::kNewFile: return "saved/new-" + name;
      default: return "saved/" + name;
    }
  }

  void ForgetWhatTheWindowRecorded() {
    platform.Messages.Forget();
    platform.CommonDialog1.Forget();
    platform.frmBase64.ForgetPointerChanges();
  }

  std::mt19937 random_;
  std::vector<std::string> pngs_;
  std::vector<std::u16string> codes_;
  std::map<std::u16string, int> said_;
  int savesCompleted_ = 0;
  int savesFailed_ = 0;
};

TEST_F(SoakTest, TenThousandRandomStepsSayOnlyWhatTheyMustLeaveNothingAndDoNotGrowTheHeap) {
  for (int step = 0; step < kWarmUpSteps; ++step) {
    SCOPED_TRACE(step);
    ASSERT_NO_FATAL_FAILURE(Step());
  }
  const std::size_t warm = HeapInUse();
  for (int step = kWarmUpSteps; step < kSteps; ++step) {
    SCOPED_TRACE(step);
    ASSERT_NO_FATAL_FAILURE(Step());
  }
  const std::size_t end = HeapInUse();
  PrintSummary();
  std::cout << "[ soak     ] heap in use after " << kWarmUpSteps << " steps: " << warm << " bytes, after " << kSteps
            << ": " << end << " bytes\n";
  EXPECT_LT(end, warm + kHeapGrowthBound) << "the heap grew by " << (end - warm) << " bytes";
}

}  // namespace
}  // namespace velmora::test
