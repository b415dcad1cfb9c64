// SPDX-License-Identifier: GPL-3.0-or-later
// Every call walks its path as the kernel does, name by name: it follows
// symbolic links, needs the permission to pass each folder, and stops with
// the errno value the kernel would give. The errno values then become error
// numbers through the same mapping as on the real disk.

#include "platform/headless/memory_file_system.h"

#include <cerrno>
#include <deque>
#include <map>
#include <stdexcept>
#include <utility>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace velmora::headless {
namespace {

enum class Kind { kFolder, kFile, kLink, kOther };

constexpr unsigned kReadBit = 0400;
constexpr unsigned kWriteBit = 0200;
constexpr unsigned kSearchBit = 0100;
constexpr unsigned kAnyWriteBit = 0222;
constexpr unsigned kFolderMode = 0755;
constexpr unsigned kNewFileMode = 0644;  // 0666 under the usual umask 022
constexpr unsigned kLinkMode = 0777;
constexpr unsigned kTemporaryFolderMode = 01777;
constexpr int kMostLinksFollowed = 40;  // as the kernel follows before ELOOP

// The path as the disk sees it: empty and NUL-holding paths are refused, and
// a name stands for its bytes, so that escaped bytes that form UTF-8 and
// other lone surrogates name what they name on the real disk.
std::u16string PathOf(std::u16string_view path) {
  if (path.empty() || path.find(u'\0') != std::u16string_view::npos) throw Error(kErrBadFileName);
  return FromNativeName(ToNativeName(path));
}

std::u16string BaseName(const std::u16string& path) { return path.substr(path.find_last_of(u'/') + 1); }

std::u16string WithoutTrailingSeparators(std::u16string path) {
  while (path.size() > 1 && path.ends_with(u'/')) path.pop_back();
  return path;
}

// The names to walk. A trailing "/" adds an empty name: what comes before it
// must be a folder, which need not be entered.
std::deque<std::u16string_view> Components(std::u16string_view path) {
  const std::vector<std::u16string_view> parts = PartsOf(path);
  std::deque<std::u16string_view> components(parts.begin(), parts.end());
  if (path.size() > 1 && path.ends_with(u'/')) components.emplace_back();
  return components;
}

bool HasWildcard(std::u16string_view name) { return name.find_first_of(u"*?") != std::u16string_view::npos; }

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// "*" matches any run of characters, "?" any one; letters match either case.
// On a mismatch the last "*" takes one character more.
bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
  constexpr std::size_t kNoStar = std::u16string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = kNoStar;
  std::size_t starMatchedUpTo = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      starMatchedUpTo = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++p;
      ++n;
    } else if (star != kNoStar) {
      p = star + 1;
      n = ++starMatchedUpTo;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// Six letters or digits, a different part for every serial number.
std::u16string UniquePart(std::size_t serial) {
  constexpr std::u16string_view kAlphabet = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::u16string part(6, u'0');
  for (char16_t& letter : part) {
    letter = kAlphabet[serial % kAlphabet.size()];
    serial /= kAlphabet.size();
  }
  return part;
}

}  // namespace

struct MemoryFileSystem::Node {
  Kind kind;
  unsigned mode;
  std::string bytes{};                                        // a file's
  std::u16string target{};                                    // a link's
  std::map<std::u16string, std::unique_ptr<Node>> children{};  // a folder's
  bool notReady = false;

  // What the entry is, once links have been followed.
  [[nodiscard]] EntryType Type() const {
    switch (kind) {
      case Kind::kFolder: return EntryType::kFolder;
      case Kind::kFile: return EntryType::kFile;
      case Kind::kOther: return EntryType::kOther;
      case Kind::kLink: break;
    }
    return EntryType::kNone;
  }
};

// Where a walk ended: the folder that holds, or would hold, the last name,
// and the entry when there is one; or the errno value of the failure on the
// way there.
struct MemoryFileSystem::Lookup {
  int error = 0;
  Node* folder = nullptr;  // none for "/" and for a path ending in "." or ".."
  std::u16string name{};
  Node* node = nullptr;
};

MemoryFileSystem::MemoryFileSystem(User user)
    : user_(user), root_(std::make_unique<Node>(Node{.kind = Kind::kFolder, .mode = kFolderMode})),
      temporaryFolder_(u"/tmp") {
  Put(temporaryFolder_, Node{.kind = Kind::kFolder, .mode = kTemporaryFolderMode});
}

MemoryFileSystem::~MemoryFileSystem() = default;

// Without Checks::kUser, permissions and volumes are ignored (for looking at
// the disk from a test). A relative path starts at "/".
MemoryFileSystem::Lookup MemoryFileSystem::Walk(std::u16string_view path, LastLink lastLink, Checks checks) const {
  const bool checked = checks == Checks::kUser;
  if (checked && root_->notReady) return {.error = ENXIO};
  std::vector<Node*> trail{root_.get()};  // the folders from "/" to the one being walked
  std::deque<std::u16string_view> rest = Components(path);
  int linksFollowed = 0;
  while (!rest.empty()) {
    Node& folder = *trail.back();
    const std::u16string name(rest.front());
    rest.pop_front();
    if (name.empty()) continue;
    if (checked && !Allows(folder, kSearchBit)) return {.error = EACCES};
    const bool last = rest.empty();
    if (name == u"." || name == u"..") {
      if (name == u".." && trail.size() > 1) trail.pop_back();
      continue;
    }
    const auto child = folder.children.find(name);
    if (child == folder.children.end()) return last ? Lookup{.folder = &folder, .name = name} : Lookup{.error = ENOENT};
    Node& node = *child->second;
    if (checked && node.notReady) return {.error = ENXIO};
    if (node.kind == Kind::kLink && (!last || lastLink == LastLink::kFollowed)) {
      if (++linksFollowed > kMostLinksFollowed) return {.error = ELOOP};
      const std::deque<std::u16string_view> target = Components(node.target);
      rest.insert(rest.begin(), target.begin(), target.end());
      if (node.target.starts_with(u'/')) trail.resize(1);
      continue;
    }
    if (last) return {.folder = &folder, .name = name, .node = &node};
    if (node.kind != Kind::kFolder) return {.error = ENOTDIR};
    trail.push_back(&node);
  }
  return {.node = trail.back()};
}

MemoryFileSystem::Lookup MemoryFileSystem::Reach(const std::u16string& path, LastLink lastLink) const {
  Lookup found = Walk(path, lastLink, Checks::kUser);
  if (found.error != 0) Raise(found.error, path);
  return found;
}

MemoryFileSystem::Node& MemoryFileSystem::Existing(const std::u16string& path, LastLink lastLink) const {
  const Lookup found = Reach(path, lastLink);
  if (!found.node) Raise(ENOENT, path);
  return *found.node;
}

// The folder as opendir finds it, or why it cannot.
MemoryFileSystem::Lookup MemoryFileSystem::OpenFolder(const std::u16string& path) const {
  Lookup found = Walk(path, LastLink::kFollowed, Checks::kUser);
  if (found.error == 0) {
    if (!found.node) found.error = ENOENT;
    else if (found.node->kind != Kind::kFolder) found.error = ENOTDIR;
    else if (!Allows(*found.node, kReadBit)) found.error = EACCES;
  }
  return found;
}

MemoryFileSystem::Node* MemoryFileSystem::LookAt(std::u16string_view path, LastLink lastLink) const {
  return Walk(PathOf(path), lastLink, Checks::kNone).node;
}

MemoryFileSystem::Node& MemoryFileSystem::SetUpEntry(std::u16string_view path) const {
  Node* node = LookAt(path, LastLink::kFollowed);
  if (!node) throw std::invalid_argument("no entry at " + ToUtf8(path));
  return *node;
}

bool MemoryFileSystem::Allows(const Node& node, unsigned ownerBit) const {
  return user_ == User::kRoot || (node.mode & ownerBit) != 0;
}

// One the user may not write, and for root one without any write bit.
bool MemoryFileSystem::IsReadOnly(const Node& node) const {
  return (node.mode & (user_ == User::kRoot ? kAnyWriteBit : kWriteBit)) == 0;
}

// Creating, deleting and renaming an entry need the right to write its folder.
void MemoryFileSystem::MayChangeIn(const Lookup& found, const std::u16string& path) const {
  if (found.folder && !Allows(*found.folder, kWriteBit)) Raise(EACCES, path);
}

// A missing entry whose folder is missing too raises 76 rather than 53.
void MemoryFileSystem::Raise(int errnoValue, const std::u16string& path) const {
  const Node* folder = Walk(FolderAbove(path), LastLink::kFollowed, Checks::kUser).node;
  if (errnoValue == ENOENT && !(folder && folder->kind == Kind::kFolder)) throw Error(kErrPathNotFound);
  RaiseFromErrno(errnoValue);
}

void MemoryFileSystem::Create(const Lookup& found, const std::string& bytes) {
  found.folder->children[found.name] =
      std::make_unique<Node>(Node{.kind = Kind::kFile, .mode = kNewFileMode, .bytes = bytes});
}

std::int64_t MemoryFileSystem::FileLen(const std::u16string& path) {
  const Node& node = Existing(PathOf(path), LastLink::kFollowed);
  if (node.kind == Kind::kFolder) throw Error(kErrPathFileAccess);
  return static_cast<std::int64_t>(node.bytes.size());
}

std::u16string MemoryFileSystem::Dir(const std::u16string& path, int attributes) {
  const std::u16string searched = WithoutTrailingSeparators(PathOf(path));
  const std::u16string name = BaseName(searched);
  if (HasWildcard(name)) return FirstMatchInFolder(FolderAbove(searched), name, attributes);
  if (searched == u"/") return (attributes & kAttrFolder) ? u"/" : u"";
  return Shows(searched, name, attributes) ? name : u"";
}

// Whether the entry exists and shows under the attribute mask.
bool MemoryFileSystem::Shows(const std::u16string& path, std::u16string_view name, int attributes) const {
  const Lookup found = Walk(path, LastLink::kFollowed, Checks::kUser);
  if (found.error == ENOENT || found.error == ENOTDIR || found.error == ELOOP) return false;
  if (found.error != 0) Raise(found.error, path);
  if (!found.node) return false;
  if (found.node->kind == Kind::kFolder && !(attributes & kAttrFolder)) return false;
  if (name.starts_with(u'.') && !(attributes & kAttrHidden)) return false;
  return !IsReadOnly(*found.node) || (attributes & kAttrReadOnly);
}

std::u16string MemoryFileSystem::FirstMatchInFolder(const std::u16string& folder, std::u16string_view pattern,
                                                    int attributes) const {
  const Lookup found = OpenFolder(folder);
  if (found.error == ENOENT || found.error == ENOTDIR) return {};
  if (found.error != 0) Raise(found.error, folder);
  for (const auto& [name, child] : found.node->children) {
    if (MatchesPattern(pattern, name) && Shows(JoinPath(folder, name), name, attributes)) return name;
  }
  return {};
}

std::vector<FolderItem> MemoryFileSystem::ListFolder(const std::u16string& folder) {
  const std::u16string listed = PathOf(folder);
  const Lookup found = OpenFolder(listed);
  if (found.error == ENOENT) throw Error(kErrPathNotFound);
  if (found.error != 0) RaiseFromErrno(found.error);
  // The folder tells the type of what it holds; only a link needs a walk.
  std::vector<FolderItem> items;
  for (const auto& [name, child] : found.node->children) {
    items.push_back({name, child->kind == Kind::kLink ? TypeAt(JoinPath(listed, name)) : child->Type()});
  }
  return items;
}

EntryType MemoryFileSystem::TypeOf(const std::u16string& path) { return TypeAt(PathOf(path)); }

EntryType MemoryFileSystem::TypeAt(const std::u16string& path) const {
  const Node* node = Walk(path, LastLink::kFollowed, Checks::kUser).node;
  return node ? node->Type() : EntryType::kNone;
}

// A trailing "/" does not follow the last link; it only says a folder is meant.
void MemoryFileSystem::Kill(const std::u16string& path) {
  const std::u16string killed = PathOf(path);
  const std::u16string entry = WithoutTrailingSeparators(killed);
  const Lookup found = Reach(entry, LastLink::kKept);
  if (!found.node) Raise(ENOENT, killed);
  if (entry != killed) RaiseFromErrno(found.node->kind == Kind::kFolder ? EISDIR : ENOTDIR);
  MayChangeIn(found, killed);
  if (found.node->kind == Kind::kFolder) RaiseFromErrno(EISDIR);
  found.folder->children.erase(found.name);
}

std::string MemoryFileSystem::ReadFile(const std::u16string& path) {
  const std::u16string read = PathOf(path);
  const Node& node = Existing(read, LastLink::kFollowed);
  if (!Allows(node, kReadBit)) Raise(EACCES, read);
  if (node.kind != Kind::kFile) throw Error(kErrPathFileAccess);
  return node.bytes;
}

// The path a write lands on: links followed one by one, as far as they lead,
// so that the link itself stays.
std::u16string MemoryFileSystem::WithLinksResolved(std::u16string path) const {
  for (int followed = 0;; ++followed) {
    const Lookup found = Walk(path, LastLink::kKept, Checks::kUser);
    if (!found.node || found.node->kind != Kind::kLink) return path;
    if (followed == kMostLinksFollowed) RaiseFromErrno(ELOOP);
    const std::u16string& target = found.node->target;
    path = target.starts_with(u'/') ? target : JoinPath(FolderAbove(path), target);
  }
}

// The new bytes take the old file's place in one step, which cannot fail
// halfway. A FIFO or device swallows them.
void MemoryFileSystem::ReplaceFile(const std::u16string& path, const std::string& bytes) {
  const std::u16string target = WithLinksResolved(PathOf(path));
  const Lookup found = Reach(target, LastLink::kFollowed);
  if (!found.node) {
    MayChangeIn(found, target);
    return Create(found, bytes);
  }
  Node& node = *found.node;
  if (node.kind == Kind::kFolder) throw Error(kErrPathFileAccess);
  if (IsReadOnly(node)) throw Error(kErrPermissionDenied);
  if (node.kind == Kind::kFile) {
    MayChangeIn(found, target);
    node.bytes = bytes;
  }
}

void MemoryFileSystem::WriteNewFile(const std::u16string& path, const std::string& bytes) {
  const std::u16string created = PathOf(path);
  const std::u16string entry = WithoutTrailingSeparators(created);
  const Lookup found = Reach(entry, LastLink::kKept);
  if (entry != created && found.folder) RaiseFromErrno(EISDIR);  // a name and "/" ask for a folder
  if (found.node) Raise(EEXIST, created);
  MayChangeIn(found, created);
  Create(found, bytes);
}

std::u16string MemoryFileSystem::WriteTemporaryFile(const std::string& bytes) {
  for (;;) {
    const std::u16string path =
        JoinPath(temporaryFolder_, u"velmora-" + UniquePart(temporaryFilesMade_++) + u".png");
    const Lookup found = Reach(path, LastLink::kKept);
    if (found.node) continue;  // taken: the next name, as mkstemp tries another
    MayChangeIn(found, path);
    Create(found, bytes);
    return path;
  }
}

void MemoryFileSystem::AddFolder(const std::u16string& path, unsigned mode) {
  Put(PathOf(path), Node{.kind = Kind::kFolder, .mode = mode});
}

void MemoryFileSystem::AddFile(const std::u16string& path, std::string bytes, unsigned mode) {
  Put(PathOf(path), Node{.kind = Kind::kFile, .mode = mode, .bytes = std::move(bytes)});
}

void MemoryFileSystem::AddLink(const std::u16string& path, const std::u16string& target) {
  Put(PathOf(path), Node{.kind = Kind::kLink, .mode = kLinkMode, .target = PathOf(target)});
}

void MemoryFileSystem::AddOther(const std::u16string& path) {
  Put(PathOf(path), Node{.kind = Kind::kOther, .mode = kNewFileMode});
}

void MemoryFileSystem::Remove(const std::u16string& path) {
  const Lookup found = Walk(PathOf(path), LastLink::kKept, Checks::kNone);
  if (found.node && found.folder) found.folder->children.erase(found.name);
}

void MemoryFileSystem::SetMode(const std::u16string& path, unsigned mode) { SetUpEntry(path).mode = mode; }

void MemoryFileSystem::SetNotReady(const std::u16string& mountPoint, bool notReady) {
  SetUpEntry(mountPoint).notReady = notReady;
}

void MemoryFileSystem::SetTemporaryFolder(const std::u16string& folder) { temporaryFolder_ = PathOf(folder); }

MemoryFileSystem::Node& MemoryFileSystem::Put(const std::u16string& path, Node node) {
  const std::u16string name = BaseName(path);
  if (!path.starts_with(u'/') || name.empty() || name == u"." || name == u"..") {
    throw std::invalid_argument("no entry can be put at " + ToUtf8(path));
  }
  Node& folder = FolderForSetUp(FolderAbove(path));
  return *(folder.children[name] = std::make_unique<Node>(std::move(node)));
}

// The folder, made with its missing parents where it is missing.
MemoryFileSystem::Node& MemoryFileSystem::FolderForSetUp(const std::u16string& path) {
  const Lookup found = Walk(path, LastLink::kFollowed, Checks::kNone);
  if (found.node && found.node->kind == Kind::kFolder) return *found.node;
  if (found.node || (found.error != 0 && found.error != ENOENT)) {
    throw std::invalid_argument("not a folder: " + ToUtf8(path));
  }
  return Put(path, Node{.kind = Kind::kFolder, .mode = kFolderMode});
}

std::optional<std::string> MemoryFileSystem::Bytes(const std::u16string& path) const {
  const Node* node = LookAt(path, LastLink::kFollowed);
  if (!node || node->kind != Kind::kFile) return std::nullopt;
  return node->bytes;
}

bool MemoryFileSystem::Exists(const std::u16string& path) const { return LookAt(path, LastLink::kKept) != nullptr; }

std::optional<unsigned> MemoryFileSystem::Mode(const std::u16string& path) const {
  const Node* node = LookAt(path, LastLink::kFollowed);
  if (!node) return std::nullopt;
  return node->mode;
}

bool MemoryFileSystem::IsLink(const std::u16string& path) const {
  const Node* node = LookAt(path, LastLink::kKept);
  return node && node->kind == Kind::kLink;
}

std::vector<std::u16string> MemoryFileSystem::Names(const std::u16string& folder) const {
  std::vector<std::u16string> names;
  if (const Node* node = LookAt(folder, LastLink::kFollowed)) {
    for (const auto& [name, child] : node->children) names.push_back(name);
  }
  return names;
}

}  // namespace velmora::headless
