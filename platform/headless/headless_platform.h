// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window without a display: every control and service in memory, with
// the same contract as the real one, plus what a test needs to act as the
// user (type, click, choose) and to look at what the user would see
// (message boxes, the picture box's persistent image, the mouse pointer).
// Files and folders are the test's FileSystem (in memory: see
// MemoryFileSystem), read through the same BrowserState as the real window.
// Every call that can fail on a real platform can be made to fail through the
// platform's FaultPlan, the file system's calls included.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/browser_state.h"
#include "platform/event_router.h"
#include "platform/form.h"
#include "platform/headless/fault_plan.h"
#include "platform/headless/faulty_file_system.h"
#include "platform/headless/headless_picture_reader.h"

namespace velmora::headless {

class HeadlessWindow : public Window {
 public:
  HeadlessWindow(std::u16string caption, EventRouter& events, FileSystem& files)
      : caption_(std::move(caption)), events_(events), files_(files) {}
  [[nodiscard]] std::u16string Caption() const override { return caption_; }
  void SetCaption(const std::u16string& caption) override { caption_ = caption; }
  void SetMousePointer(MousePointer pointer) override;
  void Unload() override { unloaded_ = true; }

  [[nodiscard]] bool unloaded() const { return unloaded_; }
  [[nodiscard]] MousePointer mousePointer() const { return pointer_; }
  // Every pointer change, in order.
  [[nodiscard]] const std::vector<MousePointer>& pointerChanges() const { return pointerChanges_; }
  void ForgetPointerChanges() { pointerChanges_.clear(); }
  // The user dropping files onto the window; false when the pointer refuses
  // the drop (see DroppablePicture).
  bool DropFiles(const std::vector<std::u16string>& paths);

 private:
  std::u16string caption_;
  EventRouter& events_;
  FileSystem& files_;
  MousePointer pointer_ = MousePointer::kDefault;
  std::vector<MousePointer> pointerChanges_;
  bool unloaded_ = false;
};

// Why the keyboard focus arrives in a control.
enum class FocusArrival {
  kFromAnotherControl,  // Tab, Shift+Tab, a click, a move by the program
  kWindowActivated,     // back from another program
  kDialogClosed,        // a message box, the Save dialog or a menu closed
};

class HeadlessTextBox : public TextBox {
 public:
  HeadlessTextBox(EventRouter& events, std::vector<ContextMenuEntry> menu)
      : events_(events), menu_(std::move(menu)) {}
  [[nodiscard]] std::u16string Text() const override { return text_; }
  void SetText(const std::u16string& text) override;
  [[nodiscard]] std::u16string Tag() const override { return tag_; }
  void SetTag(const std::u16string& tag) override { tag_ = tag; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;

  // The user's edit leaving this text in the box (typing, a keyboard paste).
  void Type(const std::u16string& text) { SetText(text); }
  // Text dropped at that position by another program: inserted as if typed
  // there, its line breaks turned into CR LF as the real box turns them.
  void DropText(const std::u16string& text, int position);
  // The box receiving the keyboard focus; only focus from another control
  // raises GotFocus, as on the real window.
  void Focus(FocusArrival arrival = FocusArrival::kFromAnotherControl);
  // The captions of the entries the box adds to its context menu, in order.
  [[nodiscard]] std::vector<std::u16string_view> ContextMenuCaptions() const;
  // Whether the entry of that caption is there and enabled as the menu opens.
  [[nodiscard]] bool ContextMenuEntryEnabled(std::u16string_view caption) const;
  // The user choosing the entry of that caption; false when there is none or
  // it is greyed.
  bool ChooseContextMenuEntry(std::u16string_view caption);
  [[nodiscard]] int selStart() const { return selStart_; }
  [[nodiscard]] int selLength() const { return selLength_; }
  // How many Change events the box has raised.
  [[nodiscard]] int changes() const { return changes_; }

 private:
  EventRouter& events_;
  std::vector<ContextMenuEntry> menu_;
  std::u16string text_;
  std::u16string tag_;
  int selStart_ = 0;
  int selLength_ = 0;
  int changes_ = 0;
};

class HeadlessButton : public CommandButton {
 public:
  HeadlessButton(EventRouter& events, void (FormEvents::*click)(), bool enabled)
      : events_(events), click_(click), enabled_(enabled) {}
  [[nodiscard]] bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  // The user clicking the button; a disabled button does nothing.
  void Click();

 private:
  EventRouter& events_;
  void (FormEvents::*click_)();
  bool enabled_;
};

class HeadlessLabel : public Label {
 public:
  HeadlessLabel(OleColor color, EventRouter& events) : color_(color), events_(events) {}
  [[nodiscard]] std::u16string Caption() const override { return caption_; }
  void SetCaption(const std::u16string& caption) override { caption_ = caption; }
  [[nodiscard]] OleColor ForeColor() const override { return color_; }
  void SetForeColor(OleColor color) override { color_ = color; }

  // The tooltip the label shows when the pointer rests on it; empty for none.
  [[nodiscard]] velmora::ToolTip ToolTip() const { return events_.Ask(&FormEvents::Label1_ToolTip); }

 private:
  std::u16string caption_;
  OleColor color_;
  EventRouter& events_;
};

// What has been drawn into a picture box's persistent image since it was
// last cleared.
struct DrawnPicture {
  std::u16string source;  // the file the picture came from
  int width = 0;
  int height = 0;
};

class HeadlessPictureBox : public PictureBox, public DeviceContext {
 public:
  static constexpr float kTwipsPerPixel = 15.0f;

  void ClearPicture() override { picture_.reset(), ++clears_; }
  void SetAutoRedraw(bool autoRedraw) override { autoRedraw_ = autoRedraw; }
  void SetBorderStyle(int style) override { borderStyle_ = style; }
  [[nodiscard]] DeviceContext& hDC() override { return *this; }
  [[nodiscard]] float ScaleX(float pixels) const override { return pixels * kTwipsPerPixel; }
  [[nodiscard]] float ScaleY(float pixels) const override { return pixels * kTwipsPerPixel; }
  void SetFocus() override { focused_ = true; }

  // Drawing through the picture library.
  void Draw(DrawnPicture picture);

  [[nodiscard]] const std::optional<DrawnPicture>& picture() const { return picture_; }
  [[nodiscard]] int draws() const { return draws_; }
  [[nodiscard]] int clears() const { return clears_; }
  [[nodiscard]] bool autoRedraw() const { return autoRedraw_; }
  [[nodiscard]] int borderStyle() const { return borderStyle_; }
  [[nodiscard]] bool focused() const { return focused_; }
  void LoseFocus() { focused_ = false; }

 private:
  std::optional<DrawnPicture> picture_;
  int draws_ = 0;
  int clears_ = 0;
  bool autoRedraw_ = false;
  int borderStyle_ = 1;
  bool focused_ = false;
};

class HeadlessFileList : public FileList {
 public:
  HeadlessFileList(BrowserState& state, EventRouter& events, FaultPlan& faults, std::vector<ContextMenuEntry> menu)
      : state_(state), events_(events), faults_(faults), menu_(std::move(menu)) {}
  [[nodiscard]] std::u16string Path() const override { return state_.fileFolder(); }
  void SetPath(const std::u16string& folder) override;
  [[nodiscard]] std::u16string FileName() const override { return state_.SelectedFileName(); }
  [[nodiscard]] int ListIndex() const override { return state_.selectedFile(); }
  [[nodiscard]] int ListCount() const override { return static_cast<int>(state_.files().size()); }
  [[nodiscard]] std::u16string List(int index) const override;
  void SetSelected(int index, bool selected) override;
  void RestorePreviousSelection() override { state_.RestorePreviousFile(); }
  void Refresh() override;

  [[nodiscard]] const std::vector<std::u16string>& entries() const { return state_.files(); }
  // The user clicking the entry of that name, selected or not, with or
  // without Ctrl: it is selected and Click raised. False when it is not
  // listed. A click on empty space below the entries changes nothing.
  bool Click(const std::u16string& name);
  // The user choosing the entry of that caption in the menu of the list's
  // entry of that name, which stays unselected; false when it is not listed
  // or the menu has no such entry.
  bool ChooseContextMenuEntry(const std::u16string& name, std::u16string_view caption);

 private:
  // The position of the entry of that name, -1 when it is not listed.
  [[nodiscard]] int PositionOf(const std::u16string& name) const;

  BrowserState& state_;
  EventRouter& events_;
  FaultPlan& faults_;
  std::vector<ContextMenuEntry> menu_;
};

class HeadlessDirList : public DirList {
 public:
  HeadlessDirList(BrowserState& state, EventRouter& events, FaultPlan& faults)
      : state_(state), events_(events), faults_(faults) {}
  [[nodiscard]] std::u16string Path() const override { return state_.folder(); }
  void SetPath(const std::u16string& pathOrDrive) override;
  void SetEnabled(bool enabled) override { enabled_ = enabled; }

  // The user opening a folder (double click or Enter): a failure shows in a
  // warning box, as on the real window.
  void Open(const std::u16string& folder);
  [[nodiscard]] bool enabled() const { return enabled_; }
  [[nodiscard]] std::vector<FolderEntry> entries() const { return state_.FolderEntries(); }

 private:
  BrowserState& state_;
  EventRouter& events_;
  FaultPlan& faults_;
  bool enabled_ = true;
};

class HeadlessDriveList : public DriveList {
 public:
  HeadlessDriveList(BrowserState& state, EventRouter& events) : state_(state), events_(events) {}
  [[nodiscard]] std::u16string Drive() const override { return state_.DriveText(); }
  void SetDrive(const std::u16string& driveOrPath) override;

 private:
  BrowserState& state_;
  EventRouter& events_;
};

// The settings the dialog had when it was shown.
struct SaveDialogShown {
  bool cancelError = false;
  int flags = 0;
  std::u16string title;
  std::u16string filter;
  std::u16string fileName;
};

class HeadlessSaveDialog : public SaveDialog {
 public:
  explicit HeadlessSaveDialog(FaultPlan& faults) : faults_(faults) {}
  void SetCancelError(bool cancelError) override { settings_.cancelError = cancelError; }
  void SetFlags(int flags) override { settings_.flags = flags; }
  void SetDialogTitle(const std::u16string& title) override { settings_.title = title; }
  void SetFilter(const std::u16string& filter) override { settings_.filter = filter; }
  [[nodiscard]] std::u16string FileName() const override { return settings_.fileName; }
  void SetFileName(const std::u16string& fileName) override { settings_.fileName = fileName; }
  // Takes the next scripted answer; with none left the user cancels.
  void ShowSave() override;

  // The user will choose this full path at the next ShowSave.
  void AnswerWith(const std::u16string& path) { answers_.push_back(path); }
  // The user will cancel the next ShowSave.
  void AnswerCancel() { answers_.push_back(std::nullopt); }
  [[nodiscard]] const std::vector<SaveDialogShown>& shown() const { return shown_; }
  void Forget() { shown_.clear(); }

 private:
  FaultPlan& faults_;
  SaveDialogShown settings_;
  std::deque<std::optional<std::u16string>> answers_;
  std::vector<SaveDialogShown> shown_;
};

class HeadlessApplication : public Application {
 public:
  HeadlessApplication(std::u16string path, char16_t decimalSeparator)
      : path_(std::move(path)), decimalSeparator_(decimalSeparator) {}
  [[nodiscard]] std::u16string Path() const override { return path_; }
  [[nodiscard]] int Major() const override;
  [[nodiscard]] int Minor() const override;
  [[nodiscard]] int Revision() const override;
  [[nodiscard]] char16_t DecimalSeparator() const override { return decimalSeparator_; }

 private:
  std::u16string path_;
  char16_t decimalSeparator_;
};

class HeadlessClipboard : public Clipboard {
 public:
  explicit HeadlessClipboard(FaultPlan& faults) : faults_(faults) {}
  // As on the desktop, the text is kept with LF line breaks, however it was
  // set, and read with CR LF.
  [[nodiscard]] std::u16string GetText(int format) override;
  // Each of these replaces the clipboard's content.
  void SetText(const std::u16string& text) override;
  // A picture copied by another program, as a PNG file.
  void SetPicture(std::string png);
  // Something that is neither text nor a picture.
  void SetNoText();

  // The text as another program pastes it; "" for none.
  [[nodiscard]] std::u16string DesktopText() const { return text_.value_or(u""); }
  [[nodiscard]] bool HasPicture() override { return !picture_.empty(); }
  [[nodiscard]] std::string GetPicture() override { return picture_; }

 private:
  FaultPlan& faults_;
  std::optional<std::u16string> text_;
  std::string picture_;
};

struct MessageShown {
  std::u16string prompt;
  int style = 0;
};

class HeadlessMessageBoxes : public MessageBoxes {
 public:
  void MsgBox(const std::u16string& prompt, int style) override { shown_.push_back({prompt, style}); }
  [[nodiscard]] const std::vector<MessageShown>& shown() const { return shown_; }
  void Forget() { shown_.clear(); }

 private:
  std::vector<MessageShown> shown_;
};

// Pending window events: what a test posts runs at the next DoEvents.
class HeadlessEventPump : public EventPump {
 public:
  void DoEvents() override;
  void Post(std::function<void()> event) { pending_.push_back(std::move(event)); }
  [[nodiscard]] int passes() const { return passes_; }

 private:
  std::deque<std::function<void()>> pending_;
  int passes_ = 0;
};

// The picture library without a display: reads the file through the file
// system and decodes it as PNG with libpng, as the real one does, and gives the same verdict on every file
// (anything else, anything truncated or corrupt, and pictures over 128 MiB
// are refused). It records draws in the headless picture box. Each step can
// be made to fail for tests.
class HeadlessPictureLibrary : public PictureLibrary {
 public:
  enum class Step { kStartup, kLoad, kDimensions, kGraphics, kDraw };

  explicit HeadlessPictureLibrary(FileSystem& files) : files_(files) {}

  PictureStatus Startup() override;
  void Shutdown() override;
  PictureStatus LoadImageFromFile(const std::u16string& path, std::unique_ptr<Image>& image) override;
  PictureStatus GetImageDimension(const Image& image, float& width, float& height) override;
  PictureStatus CreateFromHDC(DeviceContext& hdc, std::unique_ptr<Graphics>& graphics) override;
  PictureStatus DrawImageRect(Graphics& graphics, const Image& image, float x, float y, float width,
                              float height) override;

  void FailAt(std::optional<Step> step) { failing_ = step; }
  // Started and not yet shut down; images and graphics alive.
  [[nodiscard]] int running() const { return running_; }
  [[nodiscard]] static int liveHandles();

 private:
  [[nodiscard]] bool Fails(Step step) const { return failing_ == step; }

  FileSystem& files_;
  std::optional<Step> failing_;
  int running_ = 0;
};

// "Ausschnitt wählen" without a display: answers with the frame the test
// chose (by default the first frame offered, as a user accepting the
// offer), or none for "Abbrechen". It keeps what it was shown and works out
// the Faces of the answer as the real dialog's preview does.
class HeadlessFramingDialog : public FramingDialog {
 public:
  // Given the first frame offered, the frame accepted, or none.
  using Answer = std::function<std::optional<framing::Frame>(framing::Frame first)>;

  [[nodiscard]] std::optional<framing::Frame> ChooseFrame(const PhotoView& picture, framing::Frame first,
                                                         const FaceOfFrame& faces) override;

  void AnswerWith(Answer answer) { answer_ = std::move(answer); }

  struct Offer {
    framing::PictureSize picture;
    framing::Frame first;
    FramedFace quick;  // of the frame answered, or of the first for none
    FramedFace exact;
  };
  [[nodiscard]] const std::vector<Offer>& offers() const { return offers_; }

 private:
  Answer answer_ = [](framing::Frame first) { return std::optional<framing::Frame>(first); };
  std::vector<Offer> offers_;
};

struct HeadlessOptions {
  std::vector<Volume> volumes = {{u"/", u"/dev/vda"}};
  std::u16string workingFolder = u"/";
  std::u16string programFolder;          // empty: the working folder
  char16_t decimalSeparator = u',';
};

class HeadlessPlatform : public Platform {
 public:
  // Declared first: the event router below shows escaping errors in it.
  HeadlessMessageBoxes Messages;
  // Before the controls and services that can be made to fail through it.
  FaultPlan Faults;
  // The disk, through the fault plan; before the lists, which read it.
  FaultyFileSystem Files;

 private:
  // Before the controls, which refer to them.
  BrowserState browser_;
  EventRouter router_;

 public:
  // The window on that disk, which outlives it.
  HeadlessPlatform(const WindowTable& table, FileSystem& disk, HeadlessOptions options = {});
  ~HeadlessPlatform() override;

  [[nodiscard]] Form& form() override { return form_; }
  void Start(FormEvents& handlers) override;

  HeadlessWindow frmBase64;
  HeadlessTextBox txt;
  HeadlessButton cmdLoad;
  HeadlessButton cmdSave;
  HeadlessButton cmdPaste;
  HeadlessButton cmdSavePic;
  HeadlessButton Command1;
  HeadlessLabel Label1;
  HeadlessPictureBox Picture1;
  HeadlessFileList lstFile;
  HeadlessDirList lstDir;
  HeadlessDriveList lstDrive;
  HeadlessSaveDialog CommonDialog1;
  HeadlessApplication App;
  HeadlessClipboard Clipboard;
  HeadlessEventPump Events;
  HeadlessPictureLibrary Pictures;
  HeadlessPictureReader PictureFiles;
  HeadlessFramingDialog Framing;

 private:
  Form form_;
};

}  // namespace velmora::headless
