// SPDX-License-Identifier: GPL-3.0-or-later
// What only the real disk can show; every other rule of the file system is in
// the contract suite (tests/contract/file_system_test.cpp), on both disks.

#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/raised_error.h"
#include "tests/support/temp_folder.h"

namespace velmora {
namespace {

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
