// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <variant>

#include "platform/error.h"
#include "platform/line_breaks.h"
#include "platform/text.h"
#include "platform/version.h"

namespace velmora::headless {
namespace {

const ContextMenuEntry* EntryCaptioned(const std::vector<ContextMenuEntry>& menu, std::u16string_view caption) {
  const auto found = std::ranges::find(menu, caption, &ContextMenuEntry::caption);
  return found == menu.end() ? nullptr : &*found;
}

}  // namespace

void HeadlessWindow::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  pointerChanges_.push_back(pointer);
}

bool HeadlessWindow::DropFiles(const std::vector<std::u16string>& paths) {
  const std::optional<std::u16string> picture = DroppablePicture(files_, paths);
  if (picture) events_.Raise(&FormEvents::Form_DropFile, *picture);
  return picture.has_value();
}

void HeadlessTextBox::SetText(const std::u16string& text) {
  if (SameText(text, text_)) return;
  text_ = text;
  ++changes_;
  events_.Raise(&FormEvents::txt_Change);
}

void HeadlessTextBox::Focus(FocusArrival arrival) {
  if (arrival == FocusArrival::kFromAnotherControl) events_.Raise(&FormEvents::txt_GotFocus);
}

void HeadlessTextBox::DropText(const std::u16string& text, int position) {
  const auto at = static_cast<std::size_t>(std::clamp(position, 0, static_cast<int>(text_.size())));
  Type(text_.substr(0, at) + CrLfText(text) + text_.substr(at));
}

std::vector<std::u16string_view> HeadlessTextBox::ContextMenuCaptions() const {
  std::vector<std::u16string_view> captions;
  for (const ContextMenuEntry& entry : menu_) captions.push_back(entry.caption);
  return captions;
}

bool HeadlessTextBox::ContextMenuEntryEnabled(std::u16string_view caption) const {
  const ContextMenuEntry* entry = EntryCaptioned(menu_, caption);
  return entry != nullptr && (entry->available == nullptr || events_.Ask(entry->available));
}

bool HeadlessTextBox::ChooseContextMenuEntry(std::u16string_view caption) {
  if (!ContextMenuEntryEnabled(caption)) return false;
  events_.Raise(std::get<ControlCommand>(EntryCaptioned(menu_, caption)->command));
  return true;
}

void HeadlessTextBox::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void HeadlessTextBox::SetSelLength(int length) {
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
}

void HeadlessButton::Click() {
  if (enabled_) events_.Raise(click_);
}

void HeadlessPictureBox::Draw(DrawnPicture picture) {
  picture_ = std::move(picture);
  ++draws_;
}

void HeadlessFileList::SetPath(const std::u16string& folder) {
  faults_.Enter(PlatformCall::kFileListSetPath);
  state_.ShowFiles(folder);
}

void HeadlessFileList::Refresh() {
  faults_.Enter(PlatformCall::kFileListRefresh);
  state_.RefreshFiles();
}

void HeadlessFileList::SetSelected(int index, bool selected) {
  if (!selected && index == state_.selectedFile()) state_.SelectFile(-1);
  if (selected) state_.SelectFile(index);
}

std::u16string HeadlessFileList::List(int index) const {
  return index >= 0 && index < ListCount() ? state_.files()[static_cast<std::size_t>(index)] : u"";
}

int HeadlessFileList::PositionOf(const std::u16string& name) const {
  const auto& files = state_.files();
  const auto found = std::find(files.begin(), files.end(), name);
  return found == files.end() ? -1 : static_cast<int>(found - files.begin());
}

bool HeadlessFileList::Click(const std::u16string& name) {
  const int position = PositionOf(name);
  if (position < 0) return false;
  state_.SelectFile(position);
  events_.Raise(&FormEvents::lstFile_Click);
  return true;
}

bool HeadlessFileList::ChooseContextMenuEntry(const std::u16string& name, std::u16string_view caption) {
  const int position = PositionOf(name);
  const ContextMenuEntry* entry = EntryCaptioned(menu_, caption);
  if (position < 0 || entry == nullptr) return false;
  events_.Raise(std::get<ListEntryCommand>(entry->command), position);
  return true;
}

void HeadlessDirList::SetPath(const std::u16string& pathOrDrive) {
  faults_.Enter(PlatformCall::kDirListSetPath);
  if (state_.ShowFolder(pathOrDrive)) events_.Raise(&FormEvents::lstDir_Change);
}

void HeadlessDirList::Open(const std::u16string& folder) {
  events_.RunGuarded([this, &folder] {
    faults_.Enter(PlatformCall::kDirListSetPath);
    if (state_.OpenListedFolder(folder)) events_.Raise(&FormEvents::lstDir_Change);
  });
}

void HeadlessDriveList::SetDrive(const std::u16string& driveOrPath) {
  if (state_.SelectDrive(driveOrPath)) events_.Raise(&FormEvents::lstDrive_Change);
}

void HeadlessSaveDialog::ShowSave() {
  faults_.Enter(PlatformCall::kShowSave);
  shown_.push_back(settings_);
  std::optional<std::u16string> answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (answer) {
    settings_.fileName = *answer;
  } else if (settings_.cancelError) {
    throw Error(kErrCancel);
  } else {
    settings_.fileName.clear();
  }
}

int HeadlessApplication::Major() const { return kVersionMajor; }
int HeadlessApplication::Minor() const { return kVersionMinor; }
int HeadlessApplication::Revision() const { return kVersionRevision; }

std::u16string HeadlessClipboard::GetText(int format) {
  faults_.Enter(PlatformCall::kGetText);
  return format == kClipboardText && text_ ? CrLfText(*text_) : std::u16string();
}

void HeadlessClipboard::SetText(const std::u16string& text) {
  text_ = ShownText(text);
  picture_.clear();
}

void HeadlessClipboard::SetPicture(std::string png) {
  text_.reset();
  picture_ = std::move(png);
}

void HeadlessClipboard::SetNoText() {
  text_.reset();
  picture_.clear();
}

void HeadlessEventPump::DoEvents() {
  ++passes_;
  // Events posted while these run wait for the next pass.
  std::deque<std::function<void()>> now;
  now.swap(pending_);
  for (auto& event : now) event();
}

namespace {

const ControlEntry& ControlNamed(const WindowTable& table, std::string_view name) {
  const auto found = std::find_if(table.controls.begin(), table.controls.end(),
                                  [name](const ControlEntry& control) { return control.name == name; });
  if (found == table.controls.end()) throw Error(kErrPathFileAccess, u"Steuerelement fehlt: " + FromUtf8(name));
  return *found;
}

}  // namespace

std::optional<framing::Frame> HeadlessFramingDialog::ChooseFrame(const PhotoView& picture, framing::Frame first,
                                                                const FaceOfFrame& faces) {
  const std::optional<framing::Frame> answer = answer_(first);
  const framing::Frame shown = answer.value_or(first);
  offers_.push_back({picture.size, first, faces.Quick(shown), faces.Exact(shown)});
  return answer;
}

HeadlessPlatform::HeadlessPlatform(const WindowTable& table, FileSystem& disk, HeadlessOptions options)
    : Files(disk, Faults),
      browser_(Files, std::move(options.volumes), options.workingFolder),
      router_(Messages),
      frmBase64(std::u16string(table.caption), router_, Files),
      txt(router_, ContextMenuEntries(table, "txt")),
      cmdLoad(router_, &FormEvents::cmdLoad_Click, ControlNamed(table, "cmdLoad").enabled),
      cmdSave(router_, &FormEvents::cmdSave_Click, ControlNamed(table, "cmdSave").enabled),
      cmdPaste(router_, &FormEvents::cmdPaste_Click, ControlNamed(table, "cmdPaste").enabled),
      cmdSavePic(router_, &FormEvents::cmdSavePic_Click, ControlNamed(table, "cmdSavePic").enabled),
      Command1(router_, &FormEvents::Command1_Click, ControlNamed(table, "Command1").enabled),
      Label1(ControlNamed(table, "Label1").foreColor, router_),
      lstFile(browser_, router_, Faults, ContextMenuEntries(table, "lstFile")),
      lstDir(browser_, router_, Faults),
      lstDrive(browser_, router_),
      CommonDialog1(Faults),
      App(options.programFolder.empty() ? browser_.folder() : options.programFolder, options.decimalSeparator),
      Clipboard(Faults),
      Pictures(disk),
      form_{frmBase64, txt,      cmdLoad,  cmdSave,       cmdPaste,  cmdSavePic, Command1,
            Label1,    Picture1, lstFile,  lstDir,        lstDrive,  CommonDialog1,
            App,       Clipboard, Messages, Events,       Files,     Pictures,   PictureFiles,
            Framing} {}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::Start(FormEvents& handlers) {
  router_.Attach(handlers);
  router_.Raise(&FormEvents::Form_Load);
}

}  // namespace velmora::headless
