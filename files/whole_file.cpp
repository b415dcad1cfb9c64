#include "files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/code_page.h"
#include "platform/error.h"
#include "platform/posix_file_system.h"
#include "platform/text.h"

namespace velmora {
namespace {

constexpr int kExistenceMask = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder;
constexpr mode_t kNewFileMode = 0666;

// Closes the descriptor when it goes out of scope unless released first.
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

// The path a write should land on: a symbolic link is followed to the file it
// names, so replacing the file keeps the link.
std::string ResolveLinks(const std::string& nativePath) {
  struct stat info {};
  if (::lstat(nativePath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return nativePath;
  char resolved[PATH_MAX];
  return ::realpath(nativePath.c_str(), resolved) ? std::string(resolved) : nativePath;
}

void WriteInPlace(const std::string& target, const std::string& bytes) {
  FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, target);
  if (const int error = WriteAll(file.get(), bytes)) RaiseFromErrno(error);
  if (const int error = file.CloseReportingErrno()) RaiseFromErrno(error);
}

// Writes the bytes into a new sibling of the target and returns 0, or removes
// the sibling again and returns the errno of the failure.
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
  const std::string name = target.substr(target.find_last_of('/') + 1);
  std::string temporary = (folder == "/" ? "/" : folder + "/") + "." + name + ".XXXXXX";
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
  return configured != nullptr && *configured != '\0' ? configured : "/tmp";
}

}  // namespace

std::u16string ReadWholeFile(const std::u16string& path) {
  const std::string native = NativePath(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  FileDescriptor file(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, native);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) RaiseFromErrno(errno);
  if (!S_ISREG(info.st_mode)) throw Error(kErrPathFileAccess);

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) RaiseFromErrno(errno);
    if (got == 0) break;  // the file shrank since it was measured
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return BytesToByteString(bytes);
}

void WriteWholeFile(const std::u16string& path, const std::u16string& data) {
  const std::string target = ResolveLinks(NativePath(path));
  const std::string bytes = ByteStringToBytes(data);
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    if (errno != ENOENT) RaiseFileError(errno, target);
    ReplaceAtomically(target, bytes, nullptr);
  } else if (S_ISDIR(info.st_mode)) {
    throw Error(kErrPathFileAccess);
  } else if (S_ISREG(info.st_mode)) {
    ReplaceAtomically(target, bytes, &info);
  } else {
    WriteInPlace(target, bytes);
  }
}

std::u16string WriteTemporaryPicture(const std::u16string& data) {
  constexpr char kSuffix[] = ".png";
  const std::string folder = TemporaryFolder();
  std::string name = (folder.ends_with('/') ? folder : folder + "/") + "velmora-XXXXXX" + kSuffix;
  FileDescriptor file(::mkostemps(name.data(), sizeof kSuffix - 1, O_CLOEXEC));
  if (file.get() < 0) RaiseFileError(errno, name);
  int error = WriteAll(file.get(), ByteStringToBytes(data));
  if (const int closeError = file.CloseReportingErrno(); error == 0) error = closeError;
  if (error != 0) {
    ::unlink(name.c_str());
    RaiseFromErrno(error);
  }
  return FromUtf8(name);
}

bool FileExists(FileSystem& fileSystem, const std::u16string& path) noexcept {
  try {
    return !fileSystem.Dir(path, kExistenceMask).empty();
  } catch (...) {
    return false;
  }
}

}  // namespace velmora
