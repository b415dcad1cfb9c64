// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"

#include <cerrno>
#include <utility>

#include "platform/text.h"

namespace velmora {

Error::Error(int number) : Error(number, DescriptionOf(number)) {}

Error::Error(int number, std::u16string description)
    : number_(number), description_(std::move(description)), what_(ToUtf8(description_)) {}

std::u16string DescriptionOf(int number) {
  switch (number) {
    case kErrOutOfMemory: return u"Nicht genügend Speicher";
    case kErrBadFileName: return u"Dateiname oder -nummer falsch";
    case kErrFileNotFound: return u"Datei nicht gefunden";
    case kErrDeviceIo: return u"Fehler beim Geräte-E/A";
    case kErrFileAlreadyExists: return u"Datei existiert bereits";
    case kErrDiskFull: return u"Datenträger voll";
    case kErrPermissionDenied: return u"Zugriff verweigert";
    case kErrDeviceUnavailable: return u"Datenträger nicht bereit";
    case kErrPathFileAccess: return u"Fehler beim Zugriff auf Pfad/Datei";
    case kErrPathNotFound: return u"Pfad nicht gefunden";
    case kErrCancel: return u"Abbrechen gewählt";
    default: return u"Anwendungs- oder objektdefinierter Fehler";
  }
}

int ErrorNumberFromErrno(int errnoValue) noexcept {
  switch (errnoValue) {
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return kErrBadFileName;
    case EIO: return kErrDeviceIo;
    case EEXIST: return kErrFileAlreadyExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kErrDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY: return kErrPermissionDenied;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case ESTALE: return kErrDeviceUnavailable;
    default: return kErrPathFileAccess;
  }
}

void RaiseFromErrno(int errnoValue) { throw Error(ErrorNumberFromErrno(errnoValue)); }

}  // namespace velmora
