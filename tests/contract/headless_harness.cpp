// SPDX-License-Identifier: GPL-3.0-or-later
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/headless/headless_platform.h"
#include "tests/contract/harness.h"
#include "window/control_table.h"

namespace velmora::contract {
namespace {

class HeadlessHarness : public Harness {
 public:
  explicit HeadlessHarness(const HarnessSetup& setup) : platform_(FrmBase64Table(), setup.disk, Options(setup)) {}
  Form& form() override { return platform_.form(); }
  void Start(FormEvents& handlers) override { platform_.Start(handlers); }
  void ClickFileEntry(int row, bool /*withCtrl*/) override {
    platform_.lstFile.Click(platform_.lstFile.entries().at(static_cast<std::size_t>(row)));
  }
  void ClickBelowFileEntries() override {}
  void TabIntoCode() override { platform_.txt.Focus(headless::FocusArrival::kFromAnotherControl); }
  void ReturnFocusToCode(headless::FocusArrival arrival) override { platform_.txt.Focus(arrival); }
  void PressReturnOn(std::string_view button, bool /*keypadEnter*/) override { Button(button).Click(); }
  void PressDownInFileList() override { ClickFileEntry(platform_.lstFile.ListIndex() + 1, false); }
  void TypeIntoCode(const std::u16string& text) override { platform_.txt.Type(platform_.txt.Text() + text); }
  void CancelNextSaveDialog() override { platform_.CommonDialog1.AnswerCancel(); }
  void ChooseFileEntryMenu(int row) override {
    platform_.lstFile.ChooseContextMenuEntry(platform_.lstFile.entries().at(static_cast<std::size_t>(row)),
                                             kFileEntryMenuCaption);
  }
  bool CodeMenuEntryEnabled() override { return platform_.txt.ContextMenuEntryEnabled(kCodeMenuCaption); }
  void ChooseCodeMenuEntry() override { platform_.txt.ChooseContextMenuEntry(kCodeMenuCaption); }
  bool DropFiles(const std::vector<std::u16string>& paths) override { return platform_.frmBase64.DropFiles(paths); }
  void DropTextOntoCode(const std::u16string& text) override { platform_.txt.DropText(text, 0); }
  ToolTip ReportToolTip() override { return platform_.Label1.ToolTip(); }
  void CopyPictureElsewhere(const std::string& png) override { platform_.Clipboard.SetPicture(png); }
  void CopyTextElsewhere(const std::u16string& text) override { platform_.Clipboard.SetText(text); }
  std::u16string TextPastedElsewhere() override { return platform_.Clipboard.DesktopText(); }

 private:
  static headless::HeadlessOptions Options(const HarnessSetup& setup) {
    headless::HeadlessOptions options;
    options.volumes = setup.volumes;
    options.workingFolder = setup.workingFolder;
    return options;
  }

  headless::HeadlessButton& Button(std::string_view name) {
    const std::pair<std::string_view, headless::HeadlessButton*> buttons[] = {
        {"cmdSave", &platform_.cmdSave},
        {"cmdPaste", &platform_.cmdPaste},
        {"cmdSavePic", &platform_.cmdSavePic},
        {"Command1", &platform_.Command1},
    };
    for (const auto& [buttonName, button] : buttons) {
      if (buttonName == name) return *button;
    }
    throw std::invalid_argument("no button " + std::string(name));
  }

  headless::HeadlessPlatform platform_;
};

}  // namespace

std::unique_ptr<Harness> MakeHeadlessHarness(const HarnessSetup& setup) {
  return std::make_unique<HeadlessHarness>(setup);
}

}  // namespace velmora::contract
