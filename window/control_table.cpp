// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/control_table.h"

#include <array>

namespace velmora {
namespace {

using K = ControlKind;

constexpr bool kShown = true;
constexpr bool kHidden = false;
constexpr bool kEnabled = true;
constexpr bool kDisabled = false;

// name, kind, caption, left, top, width, height, tab index, visible, enabled, text colour,
// accessible name, accessible description
constexpr std::array<ControlEntry, 14> kControls = {{
    {"lstDrive", K::kDriveList, u"", 60, 80, 2025, 315, 0, kShown, kEnabled, kDefaultColor,
     u"Laufwerk", u"Liste der Laufwerke"},
    {"cmdLoad", K::kCommandButton, u"Datei laden", 60, 60, 1995, 315, 4, kHidden, kEnabled, kDefaultColor,
     u"Datei laden", u"Wandelt die gewählte PNG-Datei in Face-Code um"},
    {"cmdSave", K::kCommandButton, u"Text in Datei speichern", 2160, 60, 2175, 315, 5, kShown, kDisabled, kDefaultColor,
     u"Text in Datei speichern", u"Speichert den Face-Code in einer Textdatei"},
    {"cmdPaste", K::kCommandButton, u"Text aus Zwischenablage", 4440, 60, 2535, 315, 10, kShown, kEnabled,
     kDefaultColor, u"Text aus Zwischenablage", u"Fügt einen Face-Code aus der Zwischenablage ein und zeigt sein Bild"},
    {"lstDir", K::kFolderList, u"", 60, 480, 1995, 4140, 1, kShown, kEnabled, kDefaultColor,
     u"Ordner", u"Ordner des Laufwerks; Doppelklick oder Eingabetaste öffnet einen Ordner"},
    {"txt", K::kTextBox, u"", 2160, 480, 4815, 4155, 3, kShown, kEnabled, kDefaultColor,
     u"Face-Code", u"Face-Code des Bildes; ein eingegebener oder eingefügter Code wird als Bild gezeigt"},
    {"lstFile", K::kFileList, u"*.png", 60, 4680, 5595, 3015, 2, kShown, kEnabled, kDefaultColor,
     u"PNG-Dateien", u"PNG-Dateien im geöffneten Ordner; die gewählte Datei wird sofort in Face-Code umgewandelt"},
    {"Frame2", K::kFrame, u"Vorschau", 5770, 4650, 1215, 1305, 8, kShown, kEnabled, kDefaultColor,
     u"Vorschau", u"Vorschau des Bildes und Angaben zu seiner Größe"},
    {"Frame1", K::kFrame, u"", 5985, 4860, 788, 878, 7, kShown, kEnabled, kDefaultColor,
     u"Bildrahmen", u"Rahmen um das Vorschaubild"},
    {"Picture1", K::kPictureBox, u"", 6015, 4980, 745, 745, 6, kShown, kEnabled, kDefaultColor,
     u"Vorschau", u"Das Bild des Face-Codes in Originalgröße"},
    // Read out as the report it shows, which a name of its own would hide.
    {"Label1", K::kLabel, u"", 5760, 6000, 1215, 975, 9, kShown, kEnabled, kColorRed,
     u"", u"Bildgröße und Codelänge"},
    {"cmdSavePic", K::kCommandButton, u"Speichern", 5760, 7020, 1215, 315, 11, kShown, kDisabled, kDefaultColor,
     u"Speichern", u"Speichert das Bild als PNG-Datei"},
    {"Command1", K::kCommandButton, u"Beenden", 5760, 7440, 1215, 255, 12, kShown, kEnabled, kDefaultColor,
     u"Beenden", u"Schließt Velmora"},
    // The Save dialog is the toolkit's own window, read out by its title.
    {"CommonDialog1", K::kSaveDialog, u"", 0, 0, 0, 0, kNoTabStop, kHidden, kEnabled, kDefaultColor, u"", u""},
}};

constexpr std::array<ContextMenuEntry, 9> kContextMenus = {{
    {"lstFile", u"Als Face anpassen", &FormEvents::lstFile_FitIntoFace},
    {"lstFile", u"Ausschnitt als Face …", &FormEvents::lstFile_FrameIntoFace},
    {"lstFile", u"Als X-Face-Header kopieren", &FormEvents::lstFile_CopyXFaceHeader},
    {"txt", u"Als Face-Header kopieren", &FormEvents::txt_CopyHeader, &FormEvents::txt_CopyHeaderAvailable},
    {"txt", u"Als gefalteten Face-Header kopieren", &FormEvents::txt_CopyFoldedHeader,
     &FormEvents::txt_CopyHeaderAvailable},
    {"txt", u"Als X-Face-Header kopieren", &FormEvents::txt_CopyXFaceHeader, &FormEvents::txt_CopyHeaderAvailable},
    {"txt", u"X-Face aus Zwischenablage einfügen", &FormEvents::txt_PasteXFace},
    {"txt", u"Bild aus Zwischenablage als Face", &FormEvents::txt_PasteClipboardPicture,
     &FormEvents::txt_ClipboardPictureAvailable},
    {"txt", u"Ausschnitt aus Zwischenablage als Face …", &FormEvents::txt_FrameClipboardPicture,
     &FormEvents::txt_ClipboardPictureAvailable},
}};

constexpr WindowTable kFrmBase64 = {u"Velmora", 7020, 7755, 15, kControls, kContextMenus};

}  // namespace

const WindowTable& FrmBase64Table() { return kFrmBase64; }

}  // namespace velmora
