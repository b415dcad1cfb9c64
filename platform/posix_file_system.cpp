#include "platform/posix_file_system.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

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

// Whether the entry exists and shows under the attribute mask.
bool MatchesAttributes(const std::string& fullPath, const std::string& name, int attributes) {
  struct stat info {};
  if (::stat(fullPath.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ELOOP) return false;
    RaiseFileError(errno, fullPath);
  }
  if (S_ISDIR(info.st_mode) && !(attributes & kAttrFolder)) return false;
  if (name.starts_with('.') && !(attributes & kAttrHidden)) return false;
  const bool readOnly = ::access(fullPath.c_str(), W_OK) != 0;
  return !readOnly || (attributes & kAttrReadOnly);
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
    if (MatchesAttributes(JoinNative(folder, name), name, attributes)) return FromUtf8(name);
  }
  return {};
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.ends_with('/')) path.pop_back();
  return path;
}

}  // namespace

std::string NativePath(std::u16string_view path) {
  if (path.empty() || path.find(u'\0') != std::u16string_view::npos) throw Error(kErrBadFileName);
  return ToUtf8(path);
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
  return MatchesAttributes(native, name, attributes) ? FromUtf8(name) : u"";
}

void PosixFileSystem::Kill(const std::u16string& path) {
  const std::string native = NativePath(path);
  if (::unlink(native.c_str()) != 0) RaiseFileError(errno, native);
}

}  // namespace velmora
