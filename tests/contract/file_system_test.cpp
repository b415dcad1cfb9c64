// SPDX-License-Identifier: GPL-3.0-or-later
// The file system keeps one contract on the real disk and in memory: every
// rule runs against PosixFileSystem in a temporary folder and against
// MemoryFileSystem holding the same entries, for the user the tests run as.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/headless/memory_file_system.h"
#include "platform/posix/posix_file_system.h"
#include "platform/text.h"
#include "tests/support/raised_error.h"
#include "tests/contract/test_disk.h"

namespace velmora::contract {
namespace {

using headless::MemoryFileSystem;
using test::RaisedError;

constexpr int kEverything = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder;
const std::string kPicture(725, 'a');
const std::string kBinary("\0\xff\r\n\x1a", 5);

// The folder part of a name relative to the test folder ("" at its top), and
// the name without it.
std::string FolderOf(std::string_view name) {
  const auto slash = name.find_last_of('/');
  return slash == std::string_view::npos ? "" : std::string(name.substr(0, slash));
}
std::string NameOf(std::string_view name) { return std::string(name.substr(name.find_last_of('/') + 1)); }

// Every test starts from this layout. The folders' modes are set last: a
// folder the user may not write or enter cannot be filled afterwards.
void LayOut(Disk& disk) {
  disk.AddFile("a.png", kPicture, 0644);
  disk.AddFile("empty.png", "", 0644);
  disk.AddFile("binary.bin", kBinary, 0644);
  disk.AddFile("private.png", "p", 0600);
  disk.AddFile("readonly.png", "r", 0444);
  disk.AddFile("writeonly.png", "w", 0200);
  disk.AddLink("link.png", "a.png");
  disk.AddLink("linkdir", "sub");
  disk.AddLink("dangling.png", "missing.png");
  disk.AddLink("loop", "loop");
  disk.AddOther("fifo");
  for (const char* folder : {"sub", "sealed", "locked", "masks", "masks/folder", "kinds", "kinds/folder", "tmp",
                             "chain"}) {
    disk.AddFolder(folder);
  }
  disk.AddFile("sub/inner.png", "i", 0644);
  disk.AddFile("sealed/kept.png", "k", 0644);
  disk.AddFile("locked/inner.png", "l", 0644);
  disk.AddFile("masks/Visible.png", "v", 0644);
  disk.AddFile("masks/.hidden.png", "h", 0644);
  disk.AddFile("masks/readonly.png", "r", 0444);
  disk.AddFile("masks/shared.png", "s", 0464);  // read-only for its owner, not for root
  disk.AddFile("kinds/file.png", "f", 0644);
  disk.AddFile("kinds/.hidden", "h", 0644);
  disk.AddFile("kinds/bad\xff.png", "bad", 0644);
  disk.AddLink("kinds/tofile", "file.png");
  disk.AddLink("kinds/tofolder", "folder");
  disk.AddLink("kinds/dangling", "nowhere");
  disk.AddOther("kinds/fifo");
  // chain/n reaches a.png through n links.
  disk.AddLink("chain/1", "../a.png");
  for (int n = 2; n <= 41; ++n) disk.AddLink("chain/" + std::to_string(n), std::to_string(n - 1));
  disk.SetMode("sealed", 0555);
  disk.SetMode("locked", 0000);
}

class FileSystemContract : public ::testing::TestWithParam<DiskMaker> {
 protected:
  FileSystemContract() { LayOut(*disk); }

  FileSystem& files() { return disk->files(); }
  [[nodiscard]] std::u16string Path(std::string_view name) const { return disk->Path(name); }

  std::unique_ptr<Disk> disk = GetParam()();
  const bool root = RunsAsRoot();
};

TEST_P(FileSystemContract, FileLenGivesTheSizeOrRaises) {
  struct Case {
    std::string_view name;
    std::int64_t size;
    int error;
  };
  const Case cases[] = {
      {"a.png", 725, 0},
      {"empty.png", 0, 0},
      {"link.png", 725, 0},
      {"fifo", 0, 0},
      {"missing.png", 0, kErrFileNotFound},
      {"dangling.png", 0, kErrFileNotFound},
      {"nofolder/a.png", 0, kErrPathNotFound},
      {"a.png/x", 0, kErrPathNotFound},
      {"sub", 0, kErrPathFileAccess},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int64_t size = 0;
    EXPECT_EQ(RaisedError([&] { size = files().FileLen(Path(c.name)); }), c.error);
    EXPECT_EQ(size, c.size);
  }
}

TEST_P(FileSystemContract, LinksAreFollowedFortyInAChainAndNoFurther) {
  struct Case {
    std::string_view name;
    int error;
  };
  const Case cases[] = {{"chain/40", 0}, {"chain/41", kErrPathFileAccess}, {"loop", kErrPathFileAccess}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RaisedError([&] { (void)files().FileLen(Path(c.name)); }), c.error);
    EXPECT_EQ(RaisedError([&] { (void)files().ReadFile(Path(c.name)); }), c.error);
    EXPECT_EQ(RaisedError([&] { files().ReplaceFile(Path(c.name), "new"); }), c.error);
    EXPECT_EQ(files().TypeOf(Path(c.name)), c.error == 0 ? EntryType::kFile : EntryType::kNone);
  }
}

TEST_P(FileSystemContract, DirFindsAnEntryOnlyUnderItsMask) {
  struct Case {
    std::string_view path;
    int attributes;
    std::u16string found;
    int error = 0;
  };
  const Case cases[] = {
      {"masks/Visible.png", 0, u"Visible.png"},
      {"masks/visible.png", kEverything, u""},  // without a wildcard the name must match exactly
      {"masks/.hidden.png", 0, u""},
      {"masks/.hidden.png", kAttrHidden, u".hidden.png"},
      {"masks/readonly.png", 0, u""},
      {"masks/readonly.png", kAttrReadOnly, u"readonly.png"},
      {"masks/shared.png", 0, root ? u"shared.png" : u""},
      {"masks/folder", 0, u""},
      {"masks/folder", kAttrFolder, u"folder"},
      {"masks/folder/", kAttrFolder, u"folder"},
      {"masks/VIS*.P?G", 0, u"Visible.png"},
      {"masks/.H*", 0, u""},
      {"masks/.H*", kAttrHidden, u".hidden.png"},
      {"masks/fold?r", kAttrFolder, u"folder"},
      {"masks/fold*", 0, u""},
      {"masks/*.txt", kEverything, u""},
      {"kinds/bad\xff*", 0, FromNativeName("bad\xff.png")},
      {"link.png", 0, u"link.png"},
      {"dangling.png", kEverything, u""},
      {"loop", kEverything, u""},
      {"nofolder/*", kEverything, u""},
      {"a.png/*", kEverything, u""},
      {"/", kAttrFolder, u"/"},
      {"/", 0, u""},
      {"locked/*", kEverything, root ? u"inner.png" : u"", root ? 0 : kErrPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.path << " with " << c.attributes);
    std::u16string found;
    EXPECT_EQ(RaisedError([&] { found = files().Dir(Path(c.path), c.attributes); }), c.error);
    EXPECT_EQ(found, c.found);
  }
}

TEST_P(FileSystemContract, ListFolderNamesEveryEntryWithItsType) {
  using Items = std::vector<std::pair<std::u16string, EntryType>>;
  struct Case {
    std::string_view folder;
    Items items;
  };
  const Case cases[] = {
      {"kinds",
       {{u".hidden", EntryType::kFile},
        {FromNativeName("bad\xff.png"), EntryType::kFile},
        {u"dangling", EntryType::kNone},
        {u"fifo", EntryType::kOther},
        {u"file.png", EntryType::kFile},
        {u"folder", EntryType::kFolder},
        {u"tofile", EntryType::kFile},
        {u"tofolder", EntryType::kFolder}}},
      {"linkdir", {{u"inner.png", EntryType::kFile}}},
      {"masks/folder", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    Items items;
    for (const FolderItem& item : files().ListFolder(Path(c.folder))) items.emplace_back(item.name, item.type);
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, c.items);
  }
}

TEST_P(FileSystemContract, ListFolderRaisesForWhatItCannotList) {
  struct Case {
    std::string_view folder;
    int error;
  };
  const Case cases[] = {
      {"missing", kErrPathNotFound},
      {"nofolder/sub", kErrPathNotFound},
      {"a.png", kErrPathNotFound},
      {"a.png/x", kErrPathNotFound},
      {"dangling.png", kErrPathNotFound},
      {"loop", kErrPathFileAccess},
      {"locked", root ? 0 : kErrPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(RaisedError([&] { (void)files().ListFolder(Path(c.folder)); }), c.error);
  }
}

TEST_P(FileSystemContract, TypeOfNamesWhatThePathLeadsTo) {
  struct Case {
    std::string_view path;
    EntryType type;
  };
  const Case cases[] = {
      {"a.png", EntryType::kFile},
      {"sub", EntryType::kFolder},
      {"sub/", EntryType::kFolder},
      {"/", EntryType::kFolder},
      {"link.png", EntryType::kFile},
      {"linkdir", EntryType::kFolder},
      {"linkdir/inner.png", EntryType::kFile},
      {"fifo", EntryType::kOther},
      {"dangling.png", EntryType::kNone},
      {"missing.png", EntryType::kNone},
      {"nofolder/x", EntryType::kNone},
      {"a.png/x", EntryType::kNone},
      {"a.png/", EntryType::kNone},
      {"locked/inner.png", root ? EntryType::kFile : EntryType::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files().TypeOf(Path(c.path)), c.type);
  }
}

TEST_P(FileSystemContract, KillDeletesTheEntryOrRaises) {
  struct Case {
    std::string_view name;
    int error;
    std::string_view kept = {};  // an entry that must stay
  };
  const Case cases[] = {
      {"link.png", 0, "a.png"},
      {"linkdir", 0, "sub/inner.png"},
      {"dangling.png", 0},
      {"empty.png", 0},
      {"readonly.png", 0},
      {"fifo", 0},
      {"missing.png", kErrFileNotFound},
      {"nofolder/a.png", kErrPathNotFound},
      {"a.png/x", kErrPathNotFound},
      {"sub", kErrPathFileAccess},
      {"sealed/kept.png", root ? 0 : kErrPermissionDenied},
      {"locked/inner.png", root ? 0 : kErrPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool existed = disk->Exists(c.name);
    EXPECT_EQ(RaisedError([&] { files().Kill(Path(c.name)); }), c.error);
    EXPECT_EQ(disk->Exists(c.name), existed && c.error != 0);
    EXPECT_TRUE(c.kept.empty() || disk->Exists(c.kept));
  }
}

TEST_P(FileSystemContract, ReadFileGivesTheExactBytesOrRaises) {
  struct Case {
    std::string_view name;
    std::string bytes;
    int error = 0;
  };
  const Case cases[] = {
      {"a.png", kPicture},
      {"empty.png", ""},
      {"binary.bin", kBinary},
      {"link.png", kPicture},
      {"linkdir/inner.png", "i"},
      {"kinds/bad\xff.png", "bad"},
      {"missing.png", "", kErrFileNotFound},
      {"dangling.png", "", kErrFileNotFound},
      {"nofolder/a.png", "", kErrPathNotFound},
      {"a.png/x", "", kErrPathNotFound},
      {"sub", "", kErrPathFileAccess},
      {"fifo", "", kErrPathFileAccess},
      {"writeonly.png", root ? "w" : "", root ? 0 : kErrPermissionDenied},
      {"locked/inner.png", root ? "l" : "", root ? 0 : kErrPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    EXPECT_EQ(RaisedError([&] { bytes = files().ReadFile(Path(c.name)); }), c.error);
    EXPECT_EQ(bytes, c.bytes);
  }
}

// The file that takes the bytes is the holder: the name itself, or the file a
// link leads to. On failure the holder is as it was; either way links stay
// links and no temporary file is left beside the holder.
TEST_P(FileSystemContract, ReplaceFileLeavesTheNewBytesOrTheOldFile) {
  struct Case {
    std::string_view name;
    std::string_view holder;
    int error;
    unsigned modeAfterwards;  // of the holder, on success
  };
  const Case cases[] = {
      {"new.png", "new.png", 0, 0644},
      {"private.png", "private.png", 0, 0600},
      {"readonly.png", "readonly.png", kErrPermissionDenied, 0},
      {"masks/shared.png", "masks/shared.png", root ? 0 : kErrPermissionDenied, 0464},
      {"link.png", "a.png", 0, 0644},
      {"linkdir/inner.png", "sub/inner.png", 0, 0644},
      {"dangling.png", "missing.png", 0, 0644},
      {"sub", "sub", kErrPathFileAccess, 0},
      {"nofolder/new.png", "nofolder/new.png", kErrPathNotFound, 0},
      {"a.png/x", "a.png/x", kErrPathNotFound, 0},
      {"sealed/kept.png", "sealed/kept.png", root ? 0 : kErrPermissionDenied, 0644},
      {"sealed/new.png", "sealed/new.png", root ? 0 : kErrPermissionDenied, 0644},
  };
  const std::string bytes = "new bytes";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = FolderOf(c.holder);
    std::set<std::string> names = disk->Names(folder);
    const std::optional<std::string> bytesBefore = disk->Bytes(c.holder);
    const std::optional<unsigned> modeBefore = disk->Mode(c.holder);
    const bool wasLink = disk->IsLink(c.name);

    EXPECT_EQ(RaisedError([&] { files().ReplaceFile(Path(c.name), bytes); }), c.error);
    EXPECT_EQ(disk->Bytes(c.holder), c.error == 0 ? bytes : bytesBefore);
    EXPECT_EQ(disk->Mode(c.holder), c.error == 0 ? c.modeAfterwards : modeBefore);
    EXPECT_EQ(disk->IsLink(c.name), wasLink);
    if (c.error == 0) names.insert(NameOf(c.holder));
    EXPECT_EQ(disk->Names(folder), names);
  }
}

TEST_P(FileSystemContract, WriteNewFileCreatesOnlyUnderAFreeName) {
  struct Case {
    std::string_view name;
    int error;
  };
  const Case cases[] = {
      {"fresh.png", 0},
      {"kinds/bad\xff-new.png", 0},
      {"a.png", kErrFileAlreadyExists},
      {"dangling.png", kErrFileAlreadyExists},
      {"sub", kErrFileAlreadyExists},
      {"fifo", kErrFileAlreadyExists},
      {"sealed/kept.png", kErrFileAlreadyExists},
      {"nofolder/x.png", kErrPathNotFound},
      {"a.png/x", kErrPathNotFound},
      {"sealed/new.png", root ? 0 : kErrPermissionDenied},
  };
  const std::string bytes = "new bytes";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = FolderOf(c.name);
    std::set<std::string> names = disk->Names(folder);
    const std::optional<std::string> bytesBefore = disk->Bytes(c.name);

    EXPECT_EQ(RaisedError([&] { files().WriteNewFile(Path(c.name), bytes); }), c.error);
    EXPECT_EQ(disk->Bytes(c.name), c.error == 0 ? bytes : bytesBefore);
    if (c.error == 0) {
      EXPECT_EQ(disk->Mode(c.name), 0644u);
      names.insert(NameOf(c.name));
    }
    EXPECT_EQ(disk->Names(folder), names);  // a dangling link's target is not created either
  }
}

TEST_P(FileSystemContract, WriteTemporaryFileCreatesFreshFilesInTheTemporaryFolder) {
  struct Case {
    std::string_view folder;
    int error;
  };
  const Case cases[] = {
      {"tmp", 0},
      {"nofolder", kErrPathNotFound},
      {"a.png", kErrPathNotFound},
      {"sealed", root ? 0 : kErrPermissionDenied},
  };
  const std::regex freshName("velmora-[A-Za-z0-9]{6}\\.png");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    disk->SetTemporaryFolder(c.folder);
    const std::set<std::string> namesBefore = disk->Names(c.folder);
    std::vector<std::u16string> paths;

    EXPECT_EQ(RaisedError([&] {
                for (const std::string_view bytes : {"one", "two"}) {
                  paths.push_back(files().WriteTemporaryFile(std::string(bytes)));
                  EXPECT_EQ(disk->Bytes(ToNativeName(paths.back())), bytes);
                }
              }),
              c.error);
    std::set<std::string> names = namesBefore;
    for (const std::u16string& path : paths) {
      const std::string native = ToNativeName(path);
      EXPECT_EQ(FolderOf(native), disk->Native(c.folder));
      EXPECT_TRUE(std::regex_match(NameOf(native), freshName)) << native;
      names.insert(NameOf(native));
    }
    EXPECT_EQ(names.size(), namesBefore.size() + paths.size());  // a name of its own for every file
    EXPECT_EQ(disk->Names(c.folder), names);
  }
}

TEST_P(FileSystemContract, EveryCallRaises52ForAnInvalidPath) {
  const std::pair<const char*, std::function<void(const std::u16string&)>> calls[] = {
      {"FileLen", [&](const std::u16string& path) { (void)files().FileLen(path); }},
      {"Dir", [&](const std::u16string& path) { (void)files().Dir(path, kEverything); }},
      {"ListFolder", [&](const std::u16string& path) { (void)files().ListFolder(path); }},
      {"TypeOf", [&](const std::u16string& path) { (void)files().TypeOf(path); }},
      {"Kill", [&](const std::u16string& path) { files().Kill(path); }},
      {"ReadFile", [&](const std::u16string& path) { (void)files().ReadFile(path); }},
      {"ReplaceFile", [&](const std::u16string& path) { files().ReplaceFile(path, "x"); }},
      {"WriteNewFile", [&](const std::u16string& path) { files().WriteNewFile(path, "x"); }},
  };
  const std::u16string invalidPaths[] = {u"", Path("a") + u'\0' + u".png"};
  for (const auto& call : calls) {
    for (const std::u16string& path : invalidPaths) {
      SCOPED_TRACE(testing::Message() << call.first << " on a path of " << path.size() << " characters");
      EXPECT_EQ(RaisedError([&] { call.second(path); }), kErrBadFileName);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Posix, FileSystemContract, ::testing::Values(&MakePosixDisk));
INSTANTIATE_TEST_SUITE_P(Memory, FileSystemContract, ::testing::Values(&MakeMemoryDisk));

// Volumes that are not ready exist only in memory: a dead device is not
// something a test can make on the real disk.
TEST(MemoryFileSystemVolumes, EveryCallAtOrBelowANotReadyMountPointRaises71) {
  MemoryFileSystem files;
  files.AddFile(u"/mnt/card/a.png", "a");
  files.AddFolder(u"/mnt/card/sub");
  files.AddLink(u"/home/card", u"/mnt/card");
  files.SetTemporaryFolder(u"/mnt/card/sub");
  files.SetNotReady(u"/mnt/card", true);
  const std::pair<const char*, std::function<void()>> calls[] = {
      {"FileLen", [&] { (void)files.FileLen(u"/mnt/card/a.png"); }},
      {"Dir on the mount point", [&] { (void)files.Dir(u"/mnt/card", kEverything); }},
      {"Dir with a wildcard", [&] { (void)files.Dir(u"/mnt/card/*", kEverything); }},
      {"ListFolder", [&] { (void)files.ListFolder(u"/mnt/card"); }},
      {"ListFolder below", [&] { (void)files.ListFolder(u"/mnt/card/sub"); }},
      {"Kill", [&] { files.Kill(u"/mnt/card/a.png"); }},
      {"ReadFile", [&] { (void)files.ReadFile(u"/mnt/card/a.png"); }},
      {"ReadFile through a link", [&] { (void)files.ReadFile(u"/home/card/a.png"); }},
      {"ReplaceFile", [&] { files.ReplaceFile(u"/mnt/card/a.png", "b"); }},
      {"WriteNewFile", [&] { files.WriteNewFile(u"/mnt/card/b.png", "b"); }},
      {"WriteTemporaryFile", [&] { (void)files.WriteTemporaryFile("b"); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    EXPECT_EQ(RaisedError(call), kErrDeviceUnavailable);
  }
  EXPECT_EQ(files.TypeOf(u"/mnt/card/a.png"), EntryType::kNone);
  EXPECT_EQ(files.TypeOf(u"/mnt"), EntryType::kFolder);
  EXPECT_EQ(files.Names(u"/mnt/card"), (std::vector<std::u16string>{u"a.png", u"sub"}));

  files.SetNotReady(u"/mnt/card", false);
  EXPECT_EQ(files.ReadFile(u"/home/card/a.png"), "a");
}

TEST(MemoryFileSystemSetUp, RemoveTakesTheEntryWithEverythingBelowIt) {
  MemoryFileSystem files;
  files.AddFile(u"/work/sub/deep/a.png", "a");
  files.AddLink(u"/work/link", u"sub");
  files.Remove(u"/work/link");
  EXPECT_TRUE(files.Exists(u"/work/sub/deep/a.png"));
  files.Remove(u"/work/sub");
  files.Remove(u"/work/missing");
  EXPECT_FALSE(files.Exists(u"/work/sub/deep/a.png"));
  EXPECT_EQ(files.Names(u"/work"), std::vector<std::u16string>{});
}

}  // namespace
}  // namespace velmora::contract
