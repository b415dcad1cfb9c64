// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/error.h"
#include "platform/text.h"

namespace velmora {
namespace {

std::string BaseName(const std::string& nativePath) {
  const auto slash = nativePath.find_last_of('/');
  return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

bool FolderExists(const std::string& nativePath) {
  struct stat info {};
  return ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Read-only as Windows means it, for every user: one the user may not write,
// and for root, whom permission bits do not stop, one without any write bit.
bool IsReadOnly(const std::string& nativePath, const struct stat& info) {
  constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
  return ::access(nativePath.c_str(), W_OK) != 0 || (::geteuid() == 0 && (info.st_mode & kAnyWriteBit) == 0);
}

// Whether the entry exists and shows under the attribute mask.
bool MatchesAttributes(const std::string& fullPath, const std::string& name, int attributes) {
  struct stat info {};
  if (::stat(fullPath.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) return false;
    RaiseFileError(errno, fullPath);
  }
  if (S_ISDIR(info.st_mode) && !(attributes & kAttrFolder)) return false;
  if (name.starts_with('.') && !(attributes & kAttrHidden)) return false;
  return !IsReadOnly(fullPath, info) || (attributes & kAttrReadOnly);
}

std::string JoinNative(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

std::u16string FirstMatchInFolder(const std::string& folder, const std::string& pattern, int attributes) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    RaiseFileError(errno, folder);
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
    if (MatchesAttributes(JoinNative(folder, name), name, attributes)) return FromNativeName(name);
  }
  return {};
}

EntryType TypeOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::kFile;
  return S_ISDIR(mode) ? EntryType::kFolder : EntryType::kOther;
}

EntryType TypeOfNative(const std::string& nativePath) {
  struct stat info {};
  return ::stat(nativePath.c_str(), &info) == 0 ? TypeOfMode(info.st_mode) : EntryType::kNone;
}

// The folder's entry type without a stat where the folder tells it; links
// are followed.
EntryType TypeOfEntry(const std::string& folder, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG: return EntryType::kFile;
    case DT_DIR: return EntryType::kFolder;
    case DT_LNK:
    case DT_UNKNOWN: return TypeOfNative(JoinNative(folder, entry.d_name));
    default: return EntryType::kOther;
  }
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.ends_with('/')) path.pop_back();
  return path;
}

constexpr mode_t kNewFileMode = 0666;
constexpr char kTemporaryFolderFallback[] = "/tmp";
constexpr char kTemporaryPrefix[] = "velmora-XXXXXX";
constexpr char kTemporarySuffix[] = ".png";

// Closes the descriptor when it goes out of scope unless closed first.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  [[nodiscard]] int get() const { return fd_; }
  // Closes now and reports the failure of a close, which may be the first
  // sign that delayed writes did not reach the disk.
  [[nodiscard]] int CloseReportingErrno() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// 0 on success, else the errno of the failing write.
int WriteAll(int fd, const std::string& bytes) {
  const char* next = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

constexpr int kMostLinksFollowed = 40;  // as the kernel follows before ELOOP

// The path a write should land on: a symbolic link is followed, link by link,
// to the file it names, which need not exist yet, so that replacing the file
// keeps the link.
std::string ResolveLinks(std::string path) {
  for (int followed = 0;; ++followed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    if (followed == kMostLinksFollowed) RaiseFromErrno(ELOOP);
    std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) RaiseFileError(errno, path);
    target.resize(static_cast<std::size_t>(length));
    path = target.starts_with('/') ? target : JoinNative(ParentFolder(path), target);
  }
}

void WriteInPlace(const std::string& target, const std::string& bytes) {
  FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, target);
  if (const int error = WriteAll(file.get(), bytes)) RaiseFromErrno(error);
  if (const int error = file.CloseReportingErrno()) RaiseFromErrno(error);
}

// Writes the bytes into a new sibling of the target and returns 0, or the
// errno of the failure.
int FillTemporarySibling(int fd, const std::string& bytes, const struct stat* existing) {
  if (existing) {
    if (::fchmod(fd, existing->st_mode & 07777) != 0) return errno;
    // Keeping the owner works only for root; anyone else owns the new file.
    (void)!::fchown(fd, existing->st_uid, existing->st_gid);
  } else if (::fchmod(fd, kNewFileMode & ~CurrentUmask()) != 0) {
    return errno;
  }
  if (const int error = WriteAll(fd, bytes)) return error;
  return ::fsync(fd) == 0 ? 0 : errno;
}

void ReplaceAtomically(const std::string& target, const std::string& bytes, const struct stat* existing) {
  const std::string folder = ParentFolder(target);
  const std::string name = BaseName(target);
  std::string temporary = JoinNative(folder, "." + name + ".XXXXXX");
  std::vector<char> templateBuffer(temporary.begin(), temporary.end());
  templateBuffer.push_back('\0');

  FileDescriptor file(::mkostemp(templateBuffer.data(), O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, target);
  temporary = templateBuffer.data();

  int error = FillTemporarySibling(file.get(), bytes, existing);
  if (const int closeError = file.CloseReportingErrno(); error == 0) error = closeError;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    RaiseFromErrno(error);
  }
}

std::string TemporaryFolder() {
  const char* configured = std::getenv("TMPDIR");
  return configured != nullptr && *configured != '\0' ? configured : kTemporaryFolderFallback;
}

}  // namespace

std::string NativePath(std::u16string_view path) {
  if (path.empty() || path.find(u'\0') != std::u16string_view::npos) throw Error(kErrBadFileName);
  return ToNativeName(path);
}

std::string ParentFolder(const std::string& nativePath) {
  const auto slash = nativePath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : nativePath.substr(0, slash);
}

void RaiseFileError(int errnoValue, const std::string& nativePath) {
  if (errnoValue == ENOENT && !FolderExists(ParentFolder(nativePath))) throw Error(kErrPathNotFound);
  RaiseFromErrno(errnoValue);
}

std::int64_t PosixFileSystem::FileLen(const std::u16string& path) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) RaiseFileError(errno, native);
  if (S_ISDIR(info.st_mode)) throw Error(kErrPathFileAccess);
  return static_cast<std::int64_t>(info.st_size);
}

std::u16string PosixFileSystem::Dir(const std::u16string& path, int attributes) {
  const std::string native = WithoutTrailingSeparators(NativePath(path));
  const std::string name = BaseName(native);
  if (HasWildcard(name)) return FirstMatchInFolder(ParentFolder(native), name, attributes);
  if (native == "/") return (attributes & kAttrFolder) ? u"/" : u"";
  return MatchesAttributes(native, name, attributes) ? FromNativeName(name) : u"";
}

std::vector<FolderItem> PosixFileSystem::ListFolder(const std::u16string& folder) {
  const std::string native = NativePath(folder);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native.c_str()), ::closedir);
  if (!dir) {
    if (errno == ENOENT) throw Error(kErrPathNotFound);
    RaiseFileError(errno, native);
  }
  std::vector<FolderItem> items;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    items.push_back({FromNativeName(name), TypeOfEntry(native, *entry)});
  }
  return items;
}

EntryType PosixFileSystem::TypeOf(const std::u16string& path) { return TypeOfNative(NativePath(path)); }

void PosixFileSystem::Kill(const std::u16string& path) {
  const std::string native = NativePath(path);
  if (::unlink(native.c_str()) != 0) RaiseFileError(errno, native);
}

std::string PosixFileSystem::ReadFile(const std::u16string& path) {
  const std::string native = NativePath(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  FileDescriptor file(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, native);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) RaiseFromErrno(errno);
  if (!S_ISREG(info.st_mode)) throw Error(kErrPathFileAccess);

  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) RaiseFromErrno(errno);
    if (got == 0) break;  // the file shrank since it was measured
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

void PosixFileSystem::ReplaceFile(const std::u16string& path, const std::string& bytes) {
  const std::string target = ResolveLinks(NativePath(path));
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    if (errno != ENOENT) RaiseFileError(errno, target);
    ReplaceAtomically(target, bytes, nullptr);
  } else if (S_ISDIR(info.st_mode)) {
    throw Error(kErrPathFileAccess);
  } else if (IsReadOnly(target, info)) {
    // The rename would replace it all the same; a read-only file is kept.
    throw Error(kErrPermissionDenied);
  } else if (S_ISREG(info.st_mode)) {
    ReplaceAtomically(target, bytes, &info);
  } else {
    WriteInPlace(target, bytes);
  }
}

void PosixFileSystem::WriteNewFile(const std::u16string& path, const std::string& bytes) {
  const std::string native = NativePath(path);
  FileDescriptor file(::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
  if (file.get() < 0) RaiseFileError(errno, native);
  int error = WriteAll(file.get(), bytes);
  if (error == 0 && ::fsync(file.get()) != 0) error = errno;
  if (const int closeError = file.CloseReportingErrno(); error == 0) error = closeError;
  if (error != 0) {
    ::unlink(native.c_str());
    RaiseFromErrno(error);
  }
}

std::u16string PosixFileSystem::WriteTemporaryFile(const std::string& bytes) {
  std::string name = JoinNative(TemporaryFolder(), std::string(kTemporaryPrefix) + kTemporarySuffix);
  FileDescriptor file(::mkostemps(name.data(), sizeof kTemporarySuffix - 1, O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, name);
  int error = WriteAll(file.get(), bytes);
  if (const int closeError = file.CloseReportingErrno(); error == 0) error = closeError;
  if (error != 0) {
    ::unlink(name.c_str());
    RaiseFromErrno(error);
  }
  return FromNativeName(name);
}

}  // namespace velmora
