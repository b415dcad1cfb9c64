#include "files/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "platform/posix_file_system.h"
#include "platform/text.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/raised_error.h"
#include "tests/support/temp_folder.h"

namespace velmora {
namespace {

using test::Exists;
using test::FileSizeLimit;
using test::RaisedError;
using test::ReadBytes;
using test::TempFolder;

std::string AllByteValues() {
  std::string bytes(256, '\0');
  for (int b = 0; b < 256; ++b) bytes[static_cast<std::size_t>(b)] = static_cast<char>(b);
  return bytes;
}

TEST(ReadWholeFile, GivesOneCharacterPerByteAndWritesBackTheSameBytes) {
  TempFolder folder;
  folder.Write("all.bin", AllByteValues());
  const std::u16string text = ReadWholeFile(folder.Path("all.bin"));
  EXPECT_EQ(text.size(), 256u);
  WriteWholeFile(folder.Path("copy.bin"), text);
  EXPECT_EQ(ReadBytes(folder.Native("copy.bin")), AllByteValues());
}

TEST(ReadWholeFile, EmptyFileGivesEmptyString) {
  TempFolder folder;
  folder.Write("empty.png", "");
  EXPECT_EQ(ReadWholeFile(folder.Path("empty.png")), u"");
}

TEST(ReadWholeFile, MissingFileRaises53AndCreatesNothing) {
  TempFolder folder;
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(folder.Path("missing.png")); }), kErrFileNotFound);
  EXPECT_FALSE(Exists(folder.Native("missing.png")));
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(folder.Path("no/such.png")); }), kErrPathNotFound);
}

TEST(ReadWholeFile, RefusesFoldersAndFifosWithoutBlocking) {
  TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.Native("pipe.png").c_str(), 0600), 0);
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(folder.Path("pipe.png")); }), kErrPathFileAccess);
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(FromUtf8(folder.path())); }), kErrPathFileAccess);
}

TEST(WriteWholeFile, ReplacesTheWholeFileWithoutLineEnd) {
  TempFolder folder;
  folder.Write("code.txt", "a much longer old content");
  WriteWholeFile(folder.Path("code.txt"), u"YWJj");
  EXPECT_EQ(ReadBytes(folder.Native("code.txt")), "YWJj");
  EXPECT_EQ(folder.ListNames(), "code.txt");
}

TEST(WriteWholeFile, KeepsPermissionsOfTheFileItReplaces) {
  TempFolder folder;
  const std::string target = folder.Write("code.txt", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  WriteWholeFile(folder.Path("code.txt"), u"new");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteWholeFile, WritesThroughASymbolicLink) {
  TempFolder folder;
  folder.Write("real.txt", "old");
  ASSERT_EQ(::symlink(folder.Native("real.txt").c_str(), folder.Native("link.txt").c_str()), 0);
  WriteWholeFile(folder.Path("link.txt"), u"new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Native("link.txt")));
  EXPECT_EQ(ReadBytes(folder.Native("real.txt")), "new");
}

TEST(WriteWholeFile, FailingPartWayLeavesTheOldFileAndNoStrayFile) {
  TempFolder folder;
  const std::string old(100, 'o');
  folder.Write("face.png", old);
  int number = 0;
  {
    FileSizeLimit limit(50);
    number = RaisedError([&] { WriteWholeFile(folder.Path("face.png"), std::u16string(1000, u'n')); });
  }
  EXPECT_EQ(number, kErrDiskFull);
  EXPECT_EQ(ReadBytes(folder.Native("face.png")), old);
  EXPECT_EQ(folder.ListNames(), "face.png");
}

TEST(WriteWholeFile, FullDeviceRaises61AndStaysADevice) {
  EXPECT_EQ(RaisedError([] { WriteWholeFile(u"/dev/full", u"YWJj"); }), kErrDiskFull);
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(WriteWholeFile, MissingFolderRaises76AndFolderRaises75) {
  TempFolder folder;
  EXPECT_EQ(RaisedError([&] { WriteWholeFile(folder.Path("no/face.txt"), u"x"); }), kErrPathNotFound);
  EXPECT_EQ(RaisedError([&] { WriteWholeFile(FromUtf8(folder.path()), u"x"); }), kErrPathFileAccess);
  EXPECT_EQ(folder.ListNames(), "");
}

TEST(FileExists, FindsFilesHiddenFilesFoldersAndWildcardMatches) {
  TempFolder folder;
  PosixFileSystem fileSystem;
  folder.Write("smile.png", "x");
  folder.Write(".hidden", "x");
  std::filesystem::create_directory(folder.Native("sub"));

  EXPECT_TRUE(FileExists(fileSystem, folder.Path("smile.png")));
  EXPECT_TRUE(FileExists(fileSystem, folder.Path(".hidden")));
  EXPECT_TRUE(FileExists(fileSystem, folder.Path("sub")));
  EXPECT_TRUE(FileExists(fileSystem, folder.Path("*.PNG")));
  EXPECT_TRUE(FileExists(fileSystem, folder.Path("sm?le.png")));

  EXPECT_FALSE(FileExists(fileSystem, folder.Path("missing.png")));
  EXPECT_FALSE(FileExists(fileSystem, folder.Path("missing/smile.png")));
  EXPECT_FALSE(FileExists(fileSystem, folder.Path("*.txt")));
  EXPECT_FALSE(FileExists(fileSystem, u""));
  EXPECT_FALSE(FileExists(fileSystem, std::u16string(u"a\0b", 3)));
}

}  // namespace
}  // namespace velmora
