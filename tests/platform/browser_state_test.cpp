// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser_state.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/error.h"
#include "platform/headless/memory_file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/support/raised_error.h"

namespace velmora {
namespace {

using test::RaisedError;

// The paths below the folder of the tree.
class Tree {
 public:
  explicit Tree(headless::MemoryFileSystem& disk) : disk_(disk) {}
  [[nodiscard]] std::u16string Path(std::string_view name) const { return JoinPath(kTop, FromUtf8(name)); }
  void Write(std::string_view name, std::string_view bytes) const { disk_.AddFile(Path(name), std::string(bytes)); }

 private:
  static constexpr std::u16string_view kTop = u"/srv/tree";
  headless::MemoryFileSystem& disk_;
};

// A tree with the root and two volumes mounted on "a" and "a/b" of a folder.
class BrowserStateTest : public ::testing::Test {
 protected:
  BrowserStateTest() {
    disk.AddFolder(temp.Path("a/b/deep"));
    disk.AddFolder(temp.Path("a/other"));
    volumes = {{u"/", u"/dev/vda"}, {temp.Path("a"), u"/dev/sda1"}, {temp.Path("a/b"), u"/dev/sdb1"}};
  }

  headless::MemoryFileSystem disk;
  Tree temp{disk};
  std::vector<Volume> volumes;
};

TEST_F(BrowserStateTest, SelectsTheDriveWithTheLongestMountPoint) {
  BrowserState state(disk, volumes, temp.Path("a/b/deep/.."));
  EXPECT_EQ(state.selectedDrive(), 2u);
  EXPECT_EQ(state.folder(), temp.Path("a/b"));
  EXPECT_EQ(state.fileFolder(), temp.Path("a/b"));
  EXPECT_EQ(state.DriveText(), temp.Path("a/b [sdb1]"));

  EXPECT_TRUE(state.SelectDrive(temp.Path("a/other")));
  EXPECT_EQ(state.selectedDrive(), 1u);
  EXPECT_FALSE(state.SelectDrive(temp.Path("a")));
  EXPECT_TRUE(state.SelectDrive(temp.Path("ab")));  // "/tmp/x/ab" is not on "/tmp/x/a"
  EXPECT_EQ(state.selectedDrive(), 0u);
  EXPECT_TRUE(state.SelectDrive(DriveTextOf(volumes[2])));
  EXPECT_EQ(state.folder(), temp.Path("a/b"));
}

TEST_F(BrowserStateTest, DriveTextShowsTheFolderLastShownOnThatDrive) {
  BrowserState state(disk, volumes, temp.Path("a/b/deep"));
  EXPECT_TRUE(state.ShowFolder(DriveTextOf(volumes[1])));
  EXPECT_EQ(state.folder(), temp.Path("a"));
  EXPECT_TRUE(state.ShowFolder(temp.Path("a/other")));
  EXPECT_TRUE(state.ShowFolder(DriveTextOf(volumes[2])));
  EXPECT_EQ(state.folder(), temp.Path("a/b/deep"));
  EXPECT_TRUE(state.ShowFolder(DriveTextOf(volumes[1])));
  EXPECT_EQ(state.folder(), temp.Path("a/other"));
  EXPECT_FALSE(state.ShowFolder(temp.Path("a/other/")));
  EXPECT_EQ(state.fileFolder(), temp.Path("a/b/deep"));
}

TEST_F(BrowserStateTest, RaisesForDrivesAndFoldersThatCannotBeOpened) {
  volumes.push_back({temp.Path("unplugged"), u"/dev/sdc1"});
  BrowserState state(disk, volumes, temp.Path("a"));
  temp.Write("a/note.txt", "x");
  EXPECT_EQ(RaisedError([&] { state.ShowFolder(DriveTextOf(volumes[3])); }), kErrDeviceUnavailable);
  EXPECT_EQ(RaisedError([&] { state.ShowFolder(temp.Path("a/missing")); }), kErrPathNotFound);
  EXPECT_EQ(RaisedError([&] { state.ShowFolder(temp.Path("missing/deeper")); }), kErrPathNotFound);
  EXPECT_EQ(RaisedError([&] { state.ShowFolder(temp.Path("a/note.txt")); }), kErrPathNotFound);
  EXPECT_EQ(RaisedError([&] { state.ShowFiles(temp.Path("a/missing")); }), kErrPathNotFound);
  EXPECT_EQ(state.folder(), temp.Path("a"));
}

TEST_F(BrowserStateTest, ListsVisiblePngFilesCaseInsensitively) {
  for (const char* name :
       {"b.png", "A.PNG", "c.Png", "ab.png", "AB.png", "aB.png", "Ab.png", ".hidden.png", "notes.txt", "png"}) {
    temp.Write(std::string("a/other/") + name, "x");
  }
  disk.AddFolder(temp.Path("a/other/folder.png"));
  disk.AddLink(temp.Path("a/other/link.png"), u"b.png");
  disk.AddLink(temp.Path("a/other/broken.png"), u"gone.png");
  disk.AddOther(temp.Path("a/other/pipe.png"));

  BrowserState state(disk, volumes, temp.Path("a/other"));
  EXPECT_EQ(state.files(), (std::vector<std::u16string>{u"A.PNG", u"AB.png", u"Ab.png", u"aB.png", u"ab.png", u"b.png",
                                                        u"c.Png", u"link.png"}));
  EXPECT_EQ(state.selectedFile(), -1);
  EXPECT_EQ(state.SelectedFileName(), u"");
}

TEST_F(BrowserStateTest, RefreshKeepsTheSelectedNameWhileItExists) {
  temp.Write("a/b.png", "x");
  temp.Write("a/c.png", "x");
  BrowserState state(disk, volumes, temp.Path("a/b/.."));
  state.SelectFile(1);
  EXPECT_EQ(state.SelectedFileName(), u"c.png");

  temp.Write("a/a.png", "x");
  state.RefreshFiles();
  EXPECT_EQ(state.selectedFile(), 2);
  EXPECT_EQ(state.SelectedFileName(), u"c.png");

  disk.Remove(temp.Path("a/c.png"));
  state.RefreshFiles();
  EXPECT_EQ(state.files(), (std::vector<std::u16string>{u"a.png", u"b.png"}));
  EXPECT_EQ(state.selectedFile(), -1);

  state.SelectFile(2);
  EXPECT_EQ(state.selectedFile(), -1);
  state.SelectFile(0);
  state.SelectFile(-1);
  EXPECT_EQ(state.SelectedFileName(), u"");
}

TEST_F(BrowserStateTest, FolderEntriesShowAncestorsThenSortedSubfolders) {
  disk.AddFolder(temp.Path("a/b/Zed"));
  disk.AddFolder(temp.Path("a/b/.hidden"));
  disk.AddLink(temp.Path("a/b/linked"), temp.Path("a/other"));
  temp.Write("a/b/file.png", "x");
  BrowserState state(disk, volumes, temp.Path("a/b"));

  const std::vector<FolderEntry> entries = state.FolderEntries();
  ASSERT_GE(entries.size(), 5u);
  const std::size_t ancestors = entries.size() - 3;  // deep, linked, Zed
  EXPECT_EQ(entries[0].label, u"/");
  EXPECT_EQ(entries[0].path, u"/");
  for (std::size_t i = 0; i < ancestors; ++i) {
    EXPECT_EQ(entries[i].depth, static_cast<int>(i));
    EXPECT_EQ(entries[i].isCurrent, i + 1 == ancestors) << i;
  }
  EXPECT_EQ(entries[ancestors - 1].label, u"b");
  EXPECT_EQ(entries[ancestors - 1].path, temp.Path("a/b"));
  EXPECT_EQ(entries[ancestors - 2].path, temp.Path("a"));

  const int subfolderDepth = static_cast<int>(ancestors);
  const std::u16string_view names[] = {u"deep", u"linked", u"Zed"};
  for (std::size_t i = 0; i < 3; ++i) {
    const FolderEntry& entry = entries[ancestors + i];
    EXPECT_EQ(entry.label, names[i]);
    EXPECT_EQ(entry.path, temp.Path("a/b/" + ToUtf8(names[i])));
    EXPECT_EQ(entry.depth, subfolderDepth);
    EXPECT_FALSE(entry.isCurrent);
  }
}

}  // namespace
}  // namespace velmora
