#include "platform/browser_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "platform/error.h"
#include "platform/text.h"
#include "tests/support/raised_error.h"
#include "tests/support/temp_folder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::RaisedError;

std::vector<std::u16string> DriveTexts(const std::vector<Volume>& volumes) {
  std::vector<std::u16string> texts;
  for (const Volume& volume : volumes) texts.push_back(DriveTextOf(volume));
  return texts;
}

TEST(ParseMountTable, KeepsRealVolumesRootFirstThenSortedOnce) {
  const std::string mounts =
      "rootfs / rootfs rw 0 0\n"
      "/dev/sda2 /home ext4 rw,relatime 0 0\n"
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "tmpfs /run/user/1000 tmpfs rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "/dev/loop3 /snap/core/123 squashfs ro 0 0\n"
      "/dev/sdb1 /media/USB\\040Stick vfat rw 0 0\n"
      "/dev/sdc1 /mnt/a\\011b\\134c ext4 rw 0 0\n"
      "overlay / overlay rw 0 0\n"
      "/dev/sda2 /home ext4 rw,relatime 0 0\n"
      "/dev/sda3 /boot ext4 rw 0 0\n";
  EXPECT_EQ(DriveTexts(ParseMountTable(mounts)),
            (std::vector<std::u16string>{u"/ [overlay]", u"/boot [sda3]", u"/home [sda2]", u"/media/USB Stick [sdb1]",
                                         u"/mnt/a\tb\\c [sdc1]", u"/tmp [tmpfs]"}));
}

TEST(ParseMountTable, FallsBackToTheRootWithoutDevice) {
  EXPECT_EQ(DriveTexts(ParseMountTable("")), std::vector<std::u16string>{u"/ []"});
  EXPECT_EQ(DriveTexts(ParseMountTable("proc /proc proc rw 0 0\n/dev/vdb /data xfs rw 0 0\n")),
            (std::vector<std::u16string>{u"/ []", u"/data [vdb]"}));
}

TEST(Paths, NormalizeAndJoin) {
  const struct {
    std::u16string_view path;
    std::u16string_view folder;
  } kCases[] = {{u"/", u"/"},        {u"//", u"/"},       {u"/a/./b//c/", u"/a/b/c"},
                {u"/a/b/..", u"/a"}, {u"/a/../..", u"/"}, {u"/a/../b/./", u"/b"}};
  for (const auto& c : kCases) EXPECT_EQ(NormalizeFolder(c.path), c.folder) << ToUtf8(c.path);

  const std::u16string working = FromUtf8(fs::current_path().string());
  EXPECT_EQ(NormalizeFolder(u"x/../y"), JoinPath(working, u"y"));
  EXPECT_EQ(NormalizeFolder(u""), NormalizeFolder(working));

  EXPECT_EQ(JoinPath(u"/", u"a.png"), u"/a.png");
  EXPECT_EQ(JoinPath(u"/home/anna", u"a.png"), u"/home/anna/a.png");
}

// A tree with the root and two volumes mounted on "a" and "a/b" of a temp folder.
class BrowserStateTest : public ::testing::Test {
 protected:
  BrowserStateTest() {
    fs::create_directories(temp.Native("a/b/deep"));
    fs::create_directories(temp.Native("a/other"));
    volumes = {{u"/", u"/dev/vda"}, {temp.Path("a"), u"/dev/sda1"}, {temp.Path("a/b"), u"/dev/sdb1"}};
  }

  test::TempFolder temp;
  std::vector<Volume> volumes;
};

TEST_F(BrowserStateTest, SelectsTheDriveWithTheLongestMountPoint) {
  BrowserState state(volumes, temp.Path("a/b/deep/.."));
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
  BrowserState state(volumes, temp.Path("a/b/deep"));
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
  BrowserState state(volumes, temp.Path("a"));
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
  fs::create_directory(temp.Native("a/other/folder.png"));
  fs::create_symlink("b.png", temp.Native("a/other/link.png"));
  fs::create_symlink("gone.png", temp.Native("a/other/broken.png"));
  ASSERT_EQ(::mkfifo(temp.Native("a/other/pipe.png").c_str(), 0600), 0);

  BrowserState state(volumes, temp.Path("a/other"));
  EXPECT_EQ(state.files(), (std::vector<std::u16string>{u"A.PNG", u"AB.png", u"Ab.png", u"aB.png", u"ab.png", u"b.png",
                                                        u"c.Png", u"link.png"}));
  EXPECT_EQ(state.selectedFile(), -1);
  EXPECT_EQ(state.SelectedFileName(), u"");
}

TEST_F(BrowserStateTest, RefreshKeepsTheSelectedNameWhileItExists) {
  temp.Write("a/b.png", "x");
  temp.Write("a/c.png", "x");
  BrowserState state(volumes, temp.Path("a/b/.."));
  state.SelectFile(1);
  EXPECT_EQ(state.SelectedFileName(), u"c.png");

  temp.Write("a/a.png", "x");
  state.RefreshFiles();
  EXPECT_EQ(state.selectedFile(), 2);
  EXPECT_EQ(state.SelectedFileName(), u"c.png");

  fs::remove(temp.Native("a/c.png"));
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
  fs::create_directory(temp.Native("a/b/Zed"));
  fs::create_directory(temp.Native("a/b/.hidden"));
  fs::create_directory_symlink(temp.Native("a/other"), temp.Native("a/b/linked"));
  temp.Write("a/b/file.png", "x");
  BrowserState state(volumes, temp.Path("a/b"));

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

TEST(KeepingProposedBytes, AChoiceThatReadsAsTheProposalKeepsItsBytes) {
  const std::u16string proposed = u"/pics\xDCFE/bad\xDCFF.txt";
  struct Case {
    std::u16string chosen;
    std::u16string kept;
  };
  const Case cases[] = {
      {u"/pics\uFFFD/bad\uFFFD.txt", proposed},
      {u"/pics\uFFFD/other.txt", u"/pics\xDCFE/other.txt"},
      {u"/elsewhere/bad\uFFFD.txt", u"/elsewhere/bad\uFFFD.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepingProposedBytes(proposed, c.chosen), c.kept) << ToUtf8(c.chosen);
  EXPECT_EQ(KeepingProposedBytes(u"Face-pic.png", u"/home/Face-pic.png"), u"/home/Face-pic.png");
}

}  // namespace
}  // namespace velmora
