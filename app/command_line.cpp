// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include "face/face_header.h"
#include "platform/paths.h"
#include "platform/qt/qt_string.h"
#include "platform/text.h"

namespace velmora {
namespace {

// The arguments as Qt's strings, with the bytes of names that are not UTF-8
// kept (FromNativeName), so that a file argument leads to exactly its file.
QStringList ArgumentList(std::span<char* const> arguments) {
  QStringList list;
  for (const char* argument : arguments) list << ToQString(FromNativeName(argument));
  return list;
}

Reply UsageError(const QString& why) {
  return {std::string(kProgramName) + ": " + why.toStdString() + "\nHilfe: " + kProgramName + " --help\n",
          kStatusBadUsage};
}

// The line Qt's own version option prints.
std::string VersionText() {
  return (QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n').toStdString();
}

// velmora's own options; Qt's parser adds --help, --help-all and --version.
struct Options {
  QCommandLineOption header{QStringLiteral("header"),
                            QStringLiteral("Gibt „Face: “ und den Code der Datei auf einer Zeile aus, ohne Fenster.")};
  QCommandLineOption fold{
      QStringLiteral("fold"),
      QStringLiteral("Faltet den Header in Zeilen von höchstens %1 Zeichen (mit --header).").arg(face::kLongestFoldedLine)};
  QCommandLineOption fit{QStringLiteral("fit"),
                         QStringLiteral("Passt ein zu großes Bild erst an, wie „Als Face anpassen“, ohne eine Datei "
                                        "zu schreiben (mit --header); liest auch JPEG, WebP, BMP und GIF.")};
  QCommandLineOption crop{QStringLiteral("crop"),
                          QStringLiteral("Nimmt nur das Quadrat ab LINKS,OBEN mit der Seite GRÖSSE, in Bildpixeln des "
                                         "aufrecht gedrehten Bildes (mit --fit); es darf über den Rand reichen, dort "
                                         "wird das Face durchsichtig."),
                          QStringLiteral("LINKS,OBEN,GRÖSSE")};
};

// "LEFT,TOP,SIZE" in whole pixels, the size at least 1.
std::optional<CropSquare> CropSquareOf(const QString& value) {
  const QStringList parts = value.split(u',');
  if (parts.size() != 3) return std::nullopt;
  int numbers[3] = {};
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    numbers[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
  }
  if (numbers[2] < 1) return std::nullopt;
  return CropSquare{numbers[0], numbers[1], numbers[2]};
}

void Describe(QCommandLineParser& parser, const Options& options) {
  parser.setApplicationDescription(QStringLiteral(
      "Macht aus einem kleinen PNG-Bild seinen Face-Code, wie ihn der Header „Face:“\n"
      "von Mail- und News-Nachrichten trägt. Ohne Option öffnet sich das Fenster,\n"
      "mit einer Datei gleich auf diesem Bild."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOptions({options.header, options.fold, options.fit, options.crop});
  parser.addPositionalArgument(
      QStringLiteral("datei"),
      QStringLiteral("Das Bild. Ohne --header öffnet das Fenster seinen Ordner, wählt es und zeigt seinen Code."),
      QStringLiteral("[datei]"));
}

}  // namespace

std::optional<WindowRequest> WindowRequestOf(std::span<char* const> arguments) {
  WindowRequest request;
  bool optionsEnded = false;
  // The program's own name first; a subspan rather than views::drop, which
  // clang 14 cannot build over libstdc++ 12.
  for (const std::string_view argument : arguments.subspan(1)) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && argument.size() > 1 && argument.starts_with('-')) {
      return std::nullopt;
    } else if (request.picture) {
      return std::nullopt;
    } else {
      request.picture = std::string(argument);
    }
  }
  return request;
}

std::variant<HeaderRequest, Reply> ParseCommandLine(std::span<char* const> arguments) {
  QCommandLineParser parser;
  const Options options;
  Describe(parser, options);
  if (!parser.parse(ArgumentList(arguments))) return UsageError(parser.errorText());
  // --help-all would add Qt's own options; velmora takes none of them.
  if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
    return Reply{parser.helpText().toStdString()};
  }
  if (parser.isSet(QStringLiteral("version"))) return Reply{VersionText()};
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) return UsageError(QStringLiteral("Nur eine Datei angeben."));
  // A command line without any option opens the window and never comes here.
  if (!parser.isSet(options.header)) {
    return UsageError(QStringLiteral("--fold, --fit und --crop gelten nur zusammen mit --header."));
  }
  if (files.isEmpty()) return UsageError(QStringLiteral("--header braucht eine Bilddatei."));
  HeaderRequest request{FromQString(files.front()), parser.isSet(options.fold), parser.isSet(options.fit), {}};
  if (parser.isSet(options.crop)) {
    if (!request.fitted) return UsageError(QStringLiteral("--crop gilt nur zusammen mit --fit."));
    request.crop = CropSquareOf(parser.value(options.crop));
    if (!request.crop) {
      return UsageError(QStringLiteral("--crop erwartet LINKS,OBEN,GRÖSSE in ganzen Bildpixeln, etwa --crop 100,0,600."));
    }
  }
  return request;
}

void OpenPicture(FormEvents& window, std::string_view picture, std::u16string_view workingFolder) {
  // Resolves "." and ".." in a file's path as in a folder's.
  window.Form_DropFile(NormalizeFolder(FromNativeName(picture), workingFolder));
}

}  // namespace velmora
