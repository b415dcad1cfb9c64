// SPDX-License-Identifier: GPL-3.0-or-later
// Every platform call that a handler makes, failing in turn with every error
// number of the program's table. Whatever fails, the window must go on: no
// error may escape, the user hears of each failure that stops what they
// asked for (and of nothing new), no temporary file stays behind, and a
// user's file is either untouched or completely written, never anything in
// between.

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>

#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

using headless::HeadlessPictureLibrary;
using headless::HeadlessPlatform;
using headless::PlatformCall;
using PictureStep = HeadlessPictureLibrary::Step;

constexpr int kTableErrors[] = {kErrBadFileName,      kErrFileNotFound,       kErrDeviceIo,       kErrDiskFull,
                                kErrPermissionDenied, kErrDeviceUnavailable, kErrPathFileAccess, kErrPathNotFound};

// Every kind of call the fault plan knows, so that a new kind is failed too.
std::vector<PlatformCall> AllCalls() {
  std::vector<PlatformCall> calls;
  for (std::size_t kind = 0; kind < headless::kPlatformCallKinds; ++kind) {
    calls.push_back(static_cast<PlatformCall>(kind));
  }
  return calls;
}

// Failures that cost the user nothing they asked for pass silently: deleting
// the program's own temporary file (tried again later) and refreshing the file
// list after a paste.
bool IsSilent(PlatformCall call) { return call == PlatformCall::kKill || call == PlatformCall::kFileListRefresh; }

// A folder listing that fails is what the lists make of it: no folder to show
// in a refresh after a paste (silent), no subfolders to offer (silent), the
// nearest folder above to show instead (silent), a drive whose top folder
// cannot be listed ("not ready"), or the failure to open the folder the user
// chose (reported). A drop that finds nothing at its path is refused.
bool IsListing(PlatformCall call) { return call == PlatformCall::kListFolder || call == PlatformCall::kTypeOf; }

const std::pair<PictureStep, std::u16string> kPictureFailures[] = {
    {PictureStep::kStartup, u"GDIPlus nicht verfügbar"},
    {PictureStep::kLoad, u"Bitmap kann nicht geöffnet werden"},
    {PictureStep::kDimensions, u"Bitmap-Abmessungen nicht verfügbar"},
    {PictureStep::kGraphics, u"Graphikobjekt nicht verfügbar"},
    {PictureStep::kDraw, u"Bild kann nicht gezeichnet werden"}};

const std::u16string kOtherDrive = u"/ [test]";
const std::u16string kOldBytes = u"the user's old file";
const std::u16string kInvalidCode = u"Keine gültigen Daten für ein Bild";

bool SameMessage(const headless::MessageShown& a, const headless::MessageShown& b) {
  return a.prompt == b.prompt && a.style == b.style;
}

std::string Described(const std::vector<headless::MessageShown>& messages) {
  std::string text;
  for (const auto& shown : messages) text += " \"" + ToUtf8(shown.prompt) + "\" (" + std::to_string(shown.style) + ")";
  return messages.empty() ? " none" : text;
}

// Whether every message is one of the allowed ones.
bool AllAmong(const std::vector<headless::MessageShown>& messages, const std::vector<headless::MessageShown>& allowed) {
  return std::all_of(messages.begin(), messages.end(), [&](const headless::MessageShown& shown) {
    return std::any_of(allowed.begin(), allowed.end(), [&](const auto& ok) { return SameMessage(shown, ok); });
  });
}

// One user action and the window it starts from.
struct HandlerCase {
  std::string name;
  std::function<void(HeadlessPlatform&)> arrange;
  std::function<void(HeadlessPlatform&)> act;
  std::vector<headless::MessageShown> said;  // what the action says when nothing fails
  std::string saveTarget;                    // the file a save replaces; "" for other actions
  std::string savedBytes;                    // what a completed save writes there
  bool savesReport = false;                  // failures show as "Fehler #n: ..."
  bool draws = false;
};

// What one run of an action left behind.
struct Outcome {
  std::vector<headless::MessageShown> messages;
  std::u16string code;
  bool fired = false;
};

class FaultInjectionTest : public WindowTest {
 protected:
  FaultInjectionTest() : png(MakePng(32, 32)), code(FaceCode(png)) {
    pictures.Write("smile.png", png);
    pictures.Write("other.png", MakePng(8, 8));
    pictures.MakeFolder("sub");
    pictures.Write("sub/inner.png", MakePng(16, 16));
  }

  // A window of its own for each run, on two drives: "/" and the pictures
  // folder, which holds the program.
  struct Session {
    explicit Session(const MemoryFolder& shown)
        : platform(FrmBase64Table(), shown.disk(), Options(shown)), window(platform.form()) {
      platform.Start(window);
    }
    static headless::HeadlessOptions Options(const MemoryFolder& shown) {
      headless::HeadlessOptions options;
      options.volumes = {{u"/", u"/dev/test"}, {shown.Path(), u"/dev/pictures"}};
      options.workingFolder = shown.Path();
      options.programFolder = shown.Path();
      return options;
    }
    HeadlessPlatform platform;
    FrmBase64 window;
  };

  [[nodiscard]] std::u16string FoldedHeader() const {
    const std::size_t third = code.size() / 3;
    return u"Face: " + code.substr(0, third) + u"\r\n " + code.substr(third, third) + u"\r\n " + code.substr(2 * third);
  }

  [[nodiscard]] std::vector<HandlerCase> Handlers() const {
    const auto click = [](HeadlessPlatform& p, const char16_t* name) {
      ASSERT_TRUE(p.lstFile.Click(name));
    };
    const auto answer = [this, click](const std::string& name) {
      return [this, click, name](HeadlessPlatform& p) {
        click(p, u"smile.png");
        pictures.Write(name, ToUtf8(kOldBytes));
        p.CommonDialog1.AnswerWith(pictures.Path(name));
      };
    };
    const auto nothing = [](HeadlessPlatform&) {};
    return {
        {"click a file", nothing, [=](HeadlessPlatform& p) { click(p, u"smile.png"); }, {}, "", "", false, true},
        {"paste a folded header over a selected file",
         [=, this](HeadlessPlatform& p) {
           click(p, u"other.png");
           p.Clipboard.SetText(FoldedHeader());
         },
         [](HeadlessPlatform& p) { p.cmdPaste.Click(); }, {}, "", "", false, true},
        {"paste a word", [](HeadlessPlatform& p) { p.Clipboard.SetText(u"Hallo"); },
         [](HeadlessPlatform& p) { p.cmdPaste.Click(); }, {{kInvalidCode, kMsgBoxExclamation}}, "", "", false, false},
        {"type a code", nothing, [this](HeadlessPlatform& p) { p.txt.Type(code); }, {}, "", "", false, true},
        {"save the code", answer("smile.txt"), [](HeadlessPlatform& p) { p.cmdSave.Click(); }, {}, "smile.txt",
         ToUtf8(code), true, false},
        {"save the picture", answer("copy.png"), [](HeadlessPlatform& p) { p.cmdSavePic.Click(); }, {}, "copy.png",
         png, true, false},
        {"change the folder", nothing, [this](HeadlessPlatform& p) { p.lstDir.Open(pictures.Path("sub")); }, {}, "",
         "", false, false},
        {"change the drive", nothing, [](HeadlessPlatform& p) { p.lstDrive.SetDrive(kOtherDrive); }, {}, "", "",
         false, false},
        {"drop a picture file", nothing,
         [this](HeadlessPlatform& p) { p.frmBase64.DropFiles({pictures.Path("sub/inner.png")}); }, {}, "", "", false,
         true},
    };
  }

  // Runs the action in a window of its own, with the faults armed by `arm`
  // after the window is arranged, and checks what must hold whatever failed.
  Outcome Run(const HandlerCase& handler, const std::function<void(HeadlessPlatform&)>& arm) {
    const auto userFiles = UserFiles(handler.saveTarget);
    Outcome outcome;
    {
      Session session(pictures);
      handler.arrange(session.platform);
      session.platform.Messages.Forget();
      session.platform.Faults.ResetCounts();
      arm(session.platform);
      handler.act(session.platform);
      outcome.fired = session.platform.Faults.fired();
      outcome.messages = session.platform.Messages.shown();
      outcome.code = session.platform.txt.Text();
      session.platform.Faults.Disarm();
      session.platform.Pictures.FailAt(std::nullopt);
      EXPECT_EQ(session.platform.Pictures.running(), 0) << "the picture library was left running";
      ExpectTheSameActionWorksAgain(handler, session.platform);
    }
    EXPECT_EQ(HeadlessPictureLibrary::liveHandles(), 0) << "a picture handle was not released";
    EXPECT_EQ(temporaries.ListNames(), "") << "a temporary file was left behind";
    RemoveTemporaries();
    EXPECT_EQ(UserFiles(handler.saveTarget), userFiles) << "a user's file changed";
    return outcome;
  }

  // The counts of every call the action makes when nothing fails.
  std::map<PlatformCall, int> CallsOf(const HandlerCase& handler) {
    std::map<PlatformCall, int> counts;
    Session session(pictures);
    handler.arrange(session.platform);
    session.platform.Faults.ResetCounts();
    handler.act(session.platform);
    for (PlatformCall call : AllCalls()) {
      if (const int count = session.platform.Faults.count(call)) counts[call] = count;
    }
    return counts;
  }

  Outcome RunWithoutFaults(const HandlerCase& handler) {
    return Run(handler, [](HeadlessPlatform&) {});
  }


  // A save leaves its target either as it was, with the user told why, or
  // holding exactly the new bytes, with no word.
  void ExpectTargetWholeOldOrWholeNew(const HandlerCase& handler, const Outcome& outcome) {
    if (handler.saveTarget.empty()) return;
    const std::string held = pictures.Read(handler.saveTarget);
    if (outcome.messages.empty()) {
      EXPECT_EQ(held, handler.savedBytes) << "a save without a message did not complete";
    } else {
      EXPECT_EQ(held, ToUtf8(kOldBytes)) << "a failed save changed the file it was replacing";
    }
    pictures.Remove(handler.saveTarget);
  }

  [[nodiscard]] static headless::MessageShown ReportOf(const HandlerCase& handler, int number) {
    if (handler.savesReport) {
      return {u"Fehler #" + DecimalText(number) + u": " + DescriptionOf(number), kMsgBoxOkOnly};
    }
    return {DescriptionOf(number), kMsgBoxExclamation};
  }

  const std::string png;
  const std::u16string code;

 private:
  // Every file of the pictures folder with its bytes, the save target left out.
  [[nodiscard]] std::map<std::string, std::string> UserFiles(const std::string& saveTarget) const {
    std::map<std::string, std::string> files = pictures.Files();
    files.erase(saveTarget);
    return files;
  }

  void RemoveTemporaries() const {
    for (const std::u16string& name : disk.Names(temporaries.Path())) temporaries.Remove(ToNativeName(name));
  }

  // After a failure the window is not stuck: the same action, with nothing
  // failing, says nothing that it would not say anyway.
  static void ExpectTheSameActionWorksAgain(const HandlerCase& handler, HeadlessPlatform& platform) {
    platform.Messages.Forget();
    if (!handler.saveTarget.empty()) return;  // the dialog's one answer is used up; saves are checked apart
    handler.act(platform);
    EXPECT_TRUE(AllAmong(platform.Messages.shown(), handler.said)) << "again:" << Described(platform.Messages.shown());
  }
};

TEST_F(FaultInjectionTest, EveryCallOfEveryHandlerFailingWithEveryNumber) {
  std::map<std::string, int> triedByHandler;
  std::map<int, int> triedByNumber;
  for (const HandlerCase& handler : Handlers()) {
    const Outcome clean = RunWithoutFaults(handler);
    ASSERT_EQ(Described(clean.messages), Described(handler.said)) << handler.name;
    ExpectTargetWholeOldOrWholeNew(handler, clean);
    for (const auto& [call, count] : CallsOf(handler)) {
      for (int nth = 1; nth <= count; ++nth) {
        for (int number : kTableErrors) {
          SCOPED_TRACE(handler.name + ": " + std::string(NameOf(call)) + " #" + std::to_string(nth) + " raising " +
                       std::to_string(number));
          // A named copy: clang 14 captures no structured binding.
          const PlatformCall failing = call;
          const Outcome outcome =
              Run(handler, [&](HeadlessPlatform& p) { p.Faults.FailNthCall(nth, number, failing); });
          ASSERT_TRUE(outcome.fired) << "the call to fail was never made";
          ExpectTargetWholeOldOrWholeNew(handler, outcome);

          // The failure is reported once when it matters, and nothing is
          // said that the run without failures would not say.
          const auto report = ReportOf(handler, number);
          const auto reports = std::count_if(outcome.messages.begin(), outcome.messages.end(),
                                             [&](const auto& shown) { return SameMessage(shown, report); });
          if (IsListing(call)) {
            EXPECT_LE(reports, 1) << "messages:" << Described(outcome.messages);
          } else {
            EXPECT_EQ(reports, IsSilent(call) ? 0 : 1) << "messages:" << Described(outcome.messages);
          }
          std::vector<headless::MessageShown> allowed = handler.said;
          allowed.push_back(report);
          if (IsListing(call)) allowed.push_back({DescriptionOf(kErrDeviceUnavailable), kMsgBoxExclamation});
          EXPECT_TRUE(AllAmong(outcome.messages, allowed)) << "messages:" << Described(outcome.messages);
          ++triedByHandler[handler.name];
          ++triedByNumber[number];
        }
      }
    }
  }
  int total = 0;
  for (const auto& [name, tried] : triedByHandler) {
    std::cout << "[ faults   ] " << name << ": " << tried << '\n';
    total += tried;
  }
  for (const auto& [number, tried] : triedByNumber) std::cout << "[ faults   ] error " << number << ": " << tried << '\n';
  std::cout << "[ faults   ] calls failed in all: " << total << '\n';
}

TEST_F(FaultInjectionTest, EveryPictureLibraryStepFailingWhileDrawing) {
  int tried = 0;
  for (const HandlerCase& handler : Handlers()) {
    if (!handler.draws) continue;
    for (const auto& [step, text] : kPictureFailures) {
      SCOPED_TRACE(handler.name + ": " + ToUtf8(text));
      const Outcome outcome = Run(handler, [failing = step](HeadlessPlatform& p) { p.Pictures.FailAt(failing); });
      ASSERT_FALSE(outcome.messages.empty());
      for (const auto& shown : outcome.messages) EXPECT_EQ(shown.prompt, text);
      ++tried;
    }
  }
  std::cout << "[ faults   ] picture library steps failed: " << tried << '\n';
}

TEST_F(FaultInjectionTest, TemporaryPictureThatCannotBeDeletedGoesAtTheNextDecoding) {
  platform.Faults.FailNthCall(1, kErrPermissionDenied, PlatformCall::kKill);
  platform.txt.Type(code);
  EXPECT_NE(temporaries.ListNames(), "");
  EXPECT_TRUE(Messages().empty());

  platform.txt.Type(code.substr(0, code.size() - 4));
  EXPECT_EQ(temporaries.ListNames(), "");
}

TEST_F(FaultInjectionTest, TemporaryPictureLeftAtTheEndGoesWithTheWindowLogic) {
  {
    Session session(pictures);
    session.platform.Faults.FailNthCall(1, kErrDeviceIo, PlatformCall::kKill);
    session.platform.txt.Type(code);
    EXPECT_NE(temporaries.ListNames(), "");
  }
  EXPECT_EQ(temporaries.ListNames(), "");
}

TEST_F(FaultInjectionTest, UnreadableClipboardIsReportedAndTheCodeInTheBoxIsNotTakenForThePaste) {
  platform.txt.Type(code);
  const int drawsBefore = platform.Picture1.draws();
  platform.Clipboard.SetText(u"Hallo");
  platform.Faults.FailNthCall(1, kErrPermissionDenied, PlatformCall::kGetText);
  platform.cmdPaste.Click();
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Zugriff verweigert"});
  EXPECT_EQ(platform.txt.Text(), code);
  EXPECT_EQ(platform.Picture1.draws(), drawsBefore);
}

}  // namespace
}  // namespace velmora::test
