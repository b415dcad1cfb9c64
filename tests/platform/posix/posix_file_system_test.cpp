#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/error.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/raised_error.h"
#include "tests/support/temp_folder.h"

namespace velmora {
namespace {

constexpr int kPlainAndReadOnly = kAttrReadOnly;
constexpr int kEverything = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder;

TEST(Dir, HiddenFilesAndFoldersShowOnlyUnderTheirMask) {
  test::TempFolder folder;
  PosixFileSystem fileSystem;
  folder.Write(".secret.png", "x");
  std::filesystem::create_directory(folder.Native("sub"));

  EXPECT_EQ(fileSystem.Dir(folder.Path(".secret.png"), kPlainAndReadOnly), u"");
  EXPECT_EQ(fileSystem.Dir(folder.Path(".secret.png"), kEverything), u".secret.png");
  EXPECT_EQ(fileSystem.Dir(folder.Path("sub"), kPlainAndReadOnly), u"");
  EXPECT_EQ(fileSystem.Dir(folder.Path("sub"), kEverything), u"sub");
  EXPECT_EQ(fileSystem.Dir(folder.Path("*"), kPlainAndReadOnly), u"");
}

TEST(Dir, RaisesForAnInvalidName) {
  PosixFileSystem fileSystem;
  try {
    (void)fileSystem.Dir(std::u16string(u"/tmp/a\0b", 8), kEverything);
    FAIL() << "no error raised";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), kErrBadFileName);
  }
}

TEST(FileLenAndKill, ReportSizesAndDeleteOrRaise) {
  test::TempFolder folder;
  PosixFileSystem fileSystem;
  folder.Write("a.png", std::string(725, 'a'));
  EXPECT_EQ(fileSystem.FileLen(folder.Path("a.png")), 725);
  fileSystem.Kill(folder.Path("a.png"));
  EXPECT_FALSE(test::Exists(folder.Native("a.png")));
  EXPECT_THROW(fileSystem.Kill(folder.Path("a.png")), Error);
  EXPECT_THROW((void)fileSystem.FileLen(folder.Path("a.png")), Error);
}

TEST(WriteNewFile, AFileThatCannotBeWrittenWholeIsNotLeftBehind) {
  test::TempFolder folder;
  PosixFileSystem fileSystem;
  {
    const test::FileSizeLimit limit(4);
    EXPECT_EQ(test::RaisedError([&] { fileSystem.WriteNewFile(folder.Path("big.png"), "more than four"); }),
              kErrDiskFull);
  }
  EXPECT_FALSE(test::Exists(folder.Native("big.png")));
}

}  // namespace
}  // namespace velmora
