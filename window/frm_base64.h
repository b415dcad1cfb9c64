// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// frmBase64: the logic of the program's one window. Its handlers run on the
// platform's user-interface thread; all state lives in the controls, plus the
// flag PasteActive and the temporary pictures whose deletion failed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/form.h"

namespace velmora {

class FrmBase64 final : public FormEvents {
 public:
  explicit FrmBase64(Form& form) : f_(form) {}
  FrmBase64(const FrmBase64&) = delete;
  FrmBase64& operator=(const FrmBase64&) = delete;
  // Tries once more to delete the temporary pictures that could not be
  // deleted before. The platform must outlive the window logic.
  ~FrmBase64() override;

  // Start-up and the window as a whole.
  void Form_Load() override;
  void Command1_Click() override;
  void txt_GotFocus() override;

  // File browser and encoding a picture file.
  void cmdLoad_Click() override;
  void lstFile_Click() override;
  void lstDir_Change() override;
  void lstDrive_Change() override;

  // Code text, paste and live decoding.
  void txt_Change() override;
  void cmdPaste_Click() override;

  // Saving the code and the picture.
  void cmdSave_Click() override;
  void cmdSavePic_Click() override;

  // Face files made from listed pictures, and picture files dropped onto
  // the window.
  void lstFile_FitIntoFace(int index) override;
  void Form_DropFile(const std::u16string& path) override;

  // The header line and the readers' limits.
  void txt_CopyHeader() override;
  void txt_CopyFoldedHeader() override;
  bool txt_CopyHeaderAvailable() override;
  ToolTip Label1_ToolTip() override;

  // X-Face headers of a listed picture and of the box's code, and the Face
  // of an X-Face on the clipboard.
  void lstFile_CopyXFaceHeader(int index) override;
  void txt_CopyXFaceHeader() override;
  void txt_PasteXFace() override;

  // A Face fitted from the clipboard's picture.
  void txt_PasteClipboardPicture() override;
  bool txt_ClipboardPictureAvailable() override;

  // Faces of a square the user frames on a photo ("Ausschnitt wählen").
  void lstFile_FrameIntoFace(int index) override;
  void txt_FrameClipboardPicture() override;

 private:
  // The chosen file's full path, rebuilt from the file list.
  [[nodiscard]] std::u16string ChosenFilePath() const;
  void ShowChosenFile(const std::u16string& path, const std::u16string& bytes);
  void RefuseChosenFile(std::int64_t length);
  // Empties the label, the preview and the code while the label is red.
  void ClearWarningState();

  // One of the three cleaning steps: reads the box, writes the result back.
  void ApplyCleaningStep(std::size_t step);
  // Writes the text into the box and cleans and previews it as a paste of
  // it from the clipboard does.
  void PasteText(const std::u16string& text);
  void DecodeLive();
  void AcceptPaste();
  void RejectPaste();
  // Decodes the box's code into a new temporary picture file and returns its
  // path; "" after telling the user why it could not be written.
  [[nodiscard]] std::u16string WriteDecodedCode();
  void PreviewTemporaryPicture(const std::u16string& picture);
  // Deletes the picture ("" for none) and those left from earlier decodings;
  // one that cannot be deleted now is tried again next time. Never raises.
  void DeleteTemporaryPicture(const std::u16string& picture);
  // True once the picture is gone: deleted now, or found missing.
  [[nodiscard]] bool TemporaryPictureGone(const std::u16string& picture);
  void ShowWarning(const std::u16string& text);
  // The clipboard's text; none after telling the user why it could not be
  // read.
  [[nodiscard]] std::optional<std::u16string> ClipboardText();
  // Puts the X-Face header of the PNG file on the clipboard; a warning
  // instead when the file gives none.
  void CopyXFaceHeaderOf(const std::string& pngFile);
  // The tooltip with the black-and-white picture that the PNG file's X-Face
  // header shows, and a line about it; as it was for a file that is no
  // picture.
  [[nodiscard]] static ToolTip WithXFacePreview(ToolTip toolTip, const std::string& pngFile);
  // The bytes of the file list's entry at that position; none for no entry,
  // or after telling the user why the file could not be read.
  [[nodiscard]] std::optional<std::string> ReadListedFile(int index);
  // The Face fitted from a PNG file, the hourglass shown meanwhile; none
  // after telling the user why there is none.
  [[nodiscard]] std::optional<std::string> FittedFace(const std::string& picture);
  // Sets up the Save dialog, shows it and returns the name chosen; raises
  // 32755 when the user cancels.
  [[nodiscard]] std::u16string AskSaveName(const std::u16string& title, const std::u16string& filter,
                                           const std::u16string& proposedName);
  void ShowSaveError(const Error& error);

  // The Face of the square the user frames on the picture file, of any
  // common format; none when the user cancels, or after telling why there
  // is none.
  [[nodiscard]] std::optional<std::string> FramedFace(const std::string& picture);
  // A picture file that is no PNG, dropped or named on the command line: its
  // framed Face goes into the code box.
  void FrameDroppedPicture(const std::u16string& path);

  // Writes the Face beside the file list's entry at that position, as
  // WriteFaceFile does, then selects and encodes it; a warning when it cannot
  // be written.
  void WriteAndSelectFace(int index, const std::string& face);
  // The clipboard's picture; none after telling the user there is none.
  [[nodiscard]] std::optional<std::string> ClipboardPicture();
  // Puts the Face's code into the box, as a paste of it does.
  void PasteFace(const std::string& face);

  // Writes the Face into a new file next to the picture, under the first
  // free name of "-face", "-face-2", ... and returns that name.
  [[nodiscard]] std::u16string WriteFaceFile(const std::u16string& pictureName, const std::string& face);
  // Selects the file list's entry of that name and encodes it as a click on
  // it does; a warning when it is not listed.
  void EncodeListedFile(const std::u16string& name);

  // Shows the warning unless this user action has shown it already: one
  // paste or keystroke decodes again in every nested run, and a temporary
  // folder that cannot be written fails each of them alike.
  void ShowWarningOncePerAction(const std::u16string& text);

  // Marks the handler runs of one user action, nested ones included; the
  // warnings shown in it are forgotten when the outermost run ends.
  class UserAction {
   public:
    explicit UserAction(FrmBase64& window) : window_(window) { ++window_.actionDepth_; }
    UserAction(const UserAction&) = delete;
    UserAction& operator=(const UserAction&) = delete;
    ~UserAction() {
      if (--window_.actionDepth_ == 0) window_.warningsOfAction_.clear();
    }

   private:
    FrmBase64& window_;
  };

  Form& f_;
  bool PasteActive = false;
  std::vector<std::u16string> undeletedPictures_;
  int actionDepth_ = 0;
  std::vector<std::u16string> warningsOfAction_;
};

}  // namespace velmora
