// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "codec/code_page.h"
#include "platform/bytes.h"
#include "platform/error.h"
#include "platform/posix/posix_file_system.h"
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
  PosixFileSystem files;
  TempFolder folder;
  folder.Write("all.bin", AllByteValues());
  const std::u16string text = ReadWholeFile(files, folder.Path("all.bin"));
  EXPECT_EQ(text.size(), 256u);
  WriteWholeFile(files, folder.Path("copy.bin"), text);
  EXPECT_EQ(ReadBytes(folder.Native("copy.bin")), AllByteValues());
}

TEST(ReadWholeFile, EmptyFileGivesEmptyString) {
  PosixFileSystem files;
  TempFolder folder;
  folder.Write("empty.png", "");
  EXPECT_EQ(ReadWholeFile(files, folder.Path("empty.png")), u"");
}

TEST(ReadWholeFile, MissingFileRaises53AndCreatesNothing) {
  PosixFileSystem files;
  TempFolder folder;
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(files, folder.Path("missing.png")); }), kErrFileNotFound);
  EXPECT_FALSE(Exists(folder.Native("missing.png")));
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(files, folder.Path("no/such.png")); }), kErrPathNotFound);
}

TEST(ReadWholeFile, RefusesFoldersAndFifosWithoutBlocking) {
  PosixFileSystem files;
  TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.Native("pipe.png").c_str(), 0600), 0);
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(files, folder.Path("pipe.png")); }), kErrPathFileAccess);
  EXPECT_EQ(RaisedError([&] { (void)ReadWholeFile(files, FromUtf8(folder.path())); }), kErrPathFileAccess);
}

TEST(WriteWholeFile, ReplacesTheWholeFileWithoutLineEnd) {
  PosixFileSystem files;
  TempFolder folder;
  folder.Write("code.txt", "a much longer old content");
  WriteWholeFile(files, folder.Path("code.txt"), u"YWJj");
  EXPECT_EQ(ReadBytes(folder.Native("code.txt")), "YWJj");
  EXPECT_EQ(folder.ListNames(), "code.txt");
}

TEST(WriteWholeFile, KeepsPermissionsOfTheFileItReplaces) {
  PosixFileSystem files;
  TempFolder folder;
  const std::string target = folder.Write("code.txt", "old");
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  WriteWholeFile(files, folder.Path("code.txt"), u"new");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteWholeFile, WritesThroughASymbolicLink) {
  PosixFileSystem files;
  TempFolder folder;
  folder.Write("real.txt", "old");
  ASSERT_EQ(::symlink(folder.Native("real.txt").c_str(), folder.Native("link.txt").c_str()), 0);
  WriteWholeFile(files, folder.Path("link.txt"), u"new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Native("link.txt")));
  EXPECT_EQ(ReadBytes(folder.Native("real.txt")), "new");
}

TEST(WriteWholeFile, FailingPartWayLeavesTheOldFileAndNoStrayFile) {
  PosixFileSystem files;
  TempFolder folder;
  const std::string old(100, 'o');
  folder.Write("face.png", old);
  int number = 0;
  {
    FileSizeLimit limit(50);
    number = RaisedError([&] { WriteWholeFile(files, folder.Path("face.png"), std::u16string(1000, u'n')); });
  }
  EXPECT_EQ(number, kErrDiskFull);
  EXPECT_EQ(ReadBytes(folder.Native("face.png")), old);
  EXPECT_EQ(folder.ListNames(), "face.png");
}

TEST(WriteWholeFile, FullDeviceRaises61AndStaysADevice) {
  PosixFileSystem files;
  EXPECT_EQ(RaisedError([&] { WriteWholeFile(files, u"/dev/full", u"YWJj"); }), kErrDiskFull);
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(WriteWholeFile, MissingFolderRaises76AndFolderRaises75) {
  PosixFileSystem files;
  TempFolder folder;
  EXPECT_EQ(RaisedError([&] { WriteWholeFile(files, folder.Path("no/face.txt"), u"x"); }), kErrPathNotFound);
  EXPECT_EQ(RaisedError([&] { WriteWholeFile(files, FromUtf8(folder.path()), u"x"); }), kErrPathFileAccess);
  EXPECT_EQ(folder.ListNames(), "");
}

// Points $TMPDIR at a folder for as long as it lives.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& folder) {
    if (const char* saved = std::getenv("TMPDIR")) saved_ = saved;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
  TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;
  ~TemporaryFolderSetting() { saved_ ? ::setenv("TMPDIR", saved_->c_str(), 1) : ::unsetenv("TMPDIR"); }

 private:
  std::optional<std::string> saved_;
};

TEST(WriteTemporaryPicture, MakesANewUniquelyNamedPngInTheTemporaryFolder) {
  PosixFileSystem files;
  TempFolder temporaries;
  TemporaryFolderSetting setting(temporaries.path());
  const std::string bytes = AllByteValues();
  const std::u16string text = BytesToByteString(BytesOf(bytes));

  const std::u16string first = WriteTemporaryPicture(files, text);
  const std::u16string second = WriteTemporaryPicture(files, text);

  EXPECT_NE(first, second);
  for (const std::u16string& path : {first, second}) {
    const std::string native = ToUtf8(path);
    EXPECT_TRUE(native.starts_with(temporaries.path() + "/velmora-")) << native;
    EXPECT_TRUE(native.ends_with(".png")) << native;
    EXPECT_EQ(ReadBytes(native), bytes);
  }
}

TEST(MayExist, FindsFilesHiddenFilesFoldersAndWildcardMatches) {
  TempFolder folder;
  PosixFileSystem fileSystem;
  folder.Write("smile.png", "x");
  folder.Write(".hidden", "x");
  std::filesystem::create_directory(folder.Native("sub"));

  EXPECT_TRUE(MayExist(fileSystem, folder.Path("smile.png")));
  EXPECT_TRUE(MayExist(fileSystem, folder.Path(".hidden")));
  EXPECT_TRUE(MayExist(fileSystem, folder.Path("sub")));
  EXPECT_TRUE(MayExist(fileSystem, folder.Path("*.PNG")));
  EXPECT_TRUE(MayExist(fileSystem, folder.Path("sm?le.png")));

  EXPECT_FALSE(MayExist(fileSystem, folder.Path("missing.png")));
  EXPECT_FALSE(MayExist(fileSystem, folder.Path("missing/smile.png")));
  EXPECT_FALSE(MayExist(fileSystem, folder.Path("*.txt")));
}

TEST(MayExist, AnswersYesWhenTheFileSystemCannotTell) {
  PosixFileSystem fileSystem;
  EXPECT_TRUE(MayExist(fileSystem, u""));
  EXPECT_TRUE(MayExist(fileSystem, std::u16string(u"a\0b", 3)));
}

}  // namespace
}  // namespace velmora
