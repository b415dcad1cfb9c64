// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the code box of the headless window (cleaning a typed or
// pasted code, txt_Change, cmdPaste_Click) driven by a script of user
// actions decoded from the input. One window lives for the whole process, on
// a disk in memory: it shows a folder holding a few pictures, and its
// temporary folder is checked after every action. Each input starts with an empty box, no entry selected and no
// text on the clipboard.
//
// The script is a sequence of actions; an action is one byte (modulo the
// number of actions) followed by its operands:
//   type TEXT | clipboard TEXT | clipboard without text | paste | pick INDEX | deselect
// A TEXT is a sequence of elements up to a 0 byte or the input's end:
//   0x01-0x7F  that ASCII character
//   0x80-0xBF  a token (space, CR, LF, "Face:", a picture's code, ...; modulo their number)
//   0xC0-0xDF  the next element, repeated 64 * (b - 0xBF) times
//   0xE0-0xFF  the 16-bit character of the next two bytes, little-endian
// and stops growing at kMaxTextLength characters.
//
// After every action: no temporary picture is left, every picture handle is
// released and the picture library is shut down. After a paste, and after an
// edit that changed the box, with no entry selected: the box holds no space,
// no CR LF and does not begin with "Face:".

#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "fuzz/fuzz_support.h"
#include "platform/bytes.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"
#include "platform/text.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::fuzz {
namespace {

constexpr std::size_t kMaxTextLength = std::size_t{1} << 16;
constexpr std::size_t kRepeatUnit = 64;
constexpr std::uint8_t kEndOfText = 0x00;
constexpr std::uint8_t kFirstToken = 0x80;
constexpr std::uint8_t kFirstRepeat = 0xC0;
constexpr std::uint8_t kFirstWideCharacter = 0xE0;
constexpr char16_t kLoneSurrogate[] = {0xD800, 0};

// Shown in the window's folder: a small picture, a 1 x 1 one, a corrupt one
// and one too large to encode.
constexpr const char* kPictures[] = {"basn0g01.png", "s01n3p01.png", "xcrn0g04.png", "basn6a16.png"};

std::u16string CodeOfFile(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  return modBase64::EncodeBase64(
      BytesToByteString(BytesOf(bytes)));
}

// The window and its folders, set up once per process.
class Session {
 public:
  Session()
      : pictureCodes_(CopyPictures(disk_)), platform_(FrmBase64Table(), disk_, Options()), logic_(platform_.form()) {
    platform_.Start(logic_);
    tokens_ = {u" ", u"\r", u"\n", u"\r\n", u"Face:", u"=", u"\t", u"\u00E4", u"\u20AC", u"\uFFFF", kLoneSurrogate};
    for (const auto& code : pictureCodes_) {
      tokens_.push_back(code);
      tokens_.push_back(code.substr(0, code.size() / 2));
    }
  }

  [[nodiscard]] headless::HeadlessPlatform& platform() { return platform_; }
  [[nodiscard]] const std::vector<std::u16string>& tokens() const { return tokens_; }
  [[nodiscard]] bool NoTemporaryLeft() const { return disk_.Names(kTemporaryFolder).empty(); }

 private:
  static constexpr char16_t kShownFolder[] = u"/home/fuzz";
  static constexpr char16_t kTemporaryFolder[] = u"/tmp";

  static std::vector<std::u16string> CopyPictures(headless::MemoryFileSystem& disk) {
    std::vector<std::u16string> codes;
    for (const char* name : kPictures) {
      const std::string source = std::string(VELMORA_PNGSUITE) + "/" + name;
      disk.AddFile(std::u16string(kShownFolder) + u"/" + FromUtf8(name), ReadFileBytes(source));
      codes.push_back(CodeOfFile(source));
    }
    return codes;
  }

  static headless::HeadlessOptions Options() {
    headless::HeadlessOptions options;
    options.volumes = {{u"/", u"/dev/fuzz"}};
    options.workingFolder = kShownFolder;
    options.programFolder = kShownFolder;
    return options;
  }

  headless::MemoryFileSystem disk_;
  std::vector<std::u16string> pictureCodes_;
  headless::HeadlessPlatform platform_;
  FrmBase64 logic_;
  std::vector<std::u16string> tokens_;
};

// Reads the input as a script; past its end every byte reads as 0.
class Script {
 public:
  Script(std::span<const std::uint8_t> bytes, const std::vector<std::u16string>& tokens)
      : bytes_(bytes), tokens_(tokens) {}

  [[nodiscard]] bool AtEnd() const { return next_ >= bytes_.size(); }
  std::uint8_t Byte() { return AtEnd() ? kEndOfText : bytes_[next_++]; }

  std::u16string Text() {
    std::u16string text;
    for (std::uint8_t b = Byte(); b != kEndOfText && text.size() < kMaxTextLength; b = Byte()) {
      if (b >= kFirstRepeat && b < kFirstWideCharacter) {
        const std::u16string element = Element(Byte());
        for (std::size_t i = 0; i < kRepeatUnit * (b - kFirstRepeat + 1u) && text.size() < kMaxTextLength; ++i) {
          text += element;
        }
      } else {
        text += Element(b);
      }
    }
    return text.substr(0, kMaxTextLength);
  }

 private:
  // One element; a repeat byte in its place counts as its repeated element, once.
  std::u16string Element(std::uint8_t b) {
    if (b < kFirstToken) return std::u16string(1, static_cast<char16_t>(b));
    if (b < kFirstRepeat) return tokens_[(b - kFirstToken) % tokens_.size()];
    if (b < kFirstWideCharacter) return Element(Byte());
    const std::uint8_t low = Byte();
    return std::u16string(1, static_cast<char16_t>(low | (Byte() << 8)));
  }

  std::span<const std::uint8_t> bytes_;
  const std::vector<std::u16string>& tokens_;
  std::size_t next_ = 0;
};

using headless::HeadlessPlatform;

bool NoEntrySelected(HeadlessPlatform& platform) { return platform.lstFile.ListIndex() < 0; }

bool IsClean(const std::u16string& code) {
  return code.find(u' ') == std::u16string::npos && code.find(kLineBreak) == std::u16string::npos &&
         !code.starts_with(u"Face:");
}

void StartAfresh(HeadlessPlatform& platform) {
  platform.lstFile.SetSelected(platform.lstFile.ListIndex(), false);
  platform.Clipboard.SetNoText();
  platform.txt.Type(u"");
  platform.Messages.Forget();
}

// The user's actions. Each returns true when it must leave a clean code.
bool Type(Script& script, HeadlessPlatform& platform) {
  const std::u16string before = platform.txt.Text();
  platform.txt.Type(script.Text());
  return platform.txt.Text() != before && NoEntrySelected(platform);
}

bool PutTextOnClipboard(Script& script, HeadlessPlatform& platform) {
  platform.Clipboard.SetText(script.Text());
  return false;
}

bool PutNoTextOnClipboard(Script& /*script*/, HeadlessPlatform& platform) {
  platform.Clipboard.SetNoText();
  return false;
}

bool Paste(Script& /*script*/, HeadlessPlatform& platform) {
  platform.cmdPaste.Click();
  return NoEntrySelected(platform);
}

bool PickFile(Script& script, HeadlessPlatform& platform) {
  const std::uint8_t index = script.Byte();
  const auto& entries = platform.lstFile.entries();
  if (!entries.empty()) platform.lstFile.Click(entries[index % entries.size()]);
  return false;
}

bool Deselect(Script& /*script*/, HeadlessPlatform& platform) {
  platform.lstFile.SetSelected(platform.lstFile.ListIndex(), false);
  return false;
}

constexpr std::array<bool (*)(Script&, HeadlessPlatform&), 6> kActions = {
    Type, PutTextOnClipboard, PutNoTextOnClipboard, Paste, PickFile, Deselect};

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora::fuzz;
  // Lives until the process ends; its folders go with it.
  static Session session;
  auto& platform = session.platform();
  StartAfresh(platform);
  Script script({data, size}, session.tokens());
  while (!script.AtEnd()) {
    const bool mustBeClean = kActions[script.Byte() % kActions.size()](script, platform);
    Require(session.NoTemporaryLeft(), "no temporary picture is left behind");
    Require(platform.Pictures.running() == 0, "the picture library is shut down after each use");
    Require(velmora::headless::HeadlessPictureLibrary::liveHandles() == 0, "every picture handle is released");
    Require(!mustBeClean || IsClean(platform.txt.Text()), "a code cleaned with no entry selected is clean");
  }
  return 0;
}
