// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window logic on the headless platform, on a disk in memory: the shown
// folder holds only what the test puts there, and the temporary folder is
// checked empty at the end, so that no temporary file can go unnoticed.

#include <gtest/gtest.h>

#include <string>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "platform/bytes.h"
#include "platform/headless/headless_platform.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "preview/number_text.h"
#include "tests/support/memory_folder.h"
#include "tests/support/png_maker.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::test {

inline std::u16string U16(std::string_view text) { return FromUtf8(text); }

// A length as the size report writes it.
inline std::u16string LengthText(std::size_t length) { return DecimalText(length); }

// The Face code of a file's bytes.
inline std::u16string FaceCode(const std::string& bytes) {
  return modBase64::EncodeBase64(BytesToByteString(BytesOf(bytes)));
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : platform(FrmBase64Table(), disk, Options(pictures)), window(platform.form()) { platform.Start(window); }

  void TearDown() override { EXPECT_EQ(temporaries.ListNames(), "") << "a temporary file was left behind"; }

  // A picture file in the shown folder, listed at once.
  void AddFile(const std::string& name, const std::string& bytes) {
    pictures.Write(name, bytes);
    platform.lstFile.Refresh();
  }

  void ClickFile(const std::string& name) { ASSERT_TRUE(platform.lstFile.Click(U16(name))) << name; }

  [[nodiscard]] std::vector<std::u16string> Messages() const {
    std::vector<std::u16string> prompts;
    for (const auto& shown : platform.Messages.shown()) prompts.push_back(shown.prompt);
    return prompts;
  }

  headless::MemoryFileSystem disk;
  MemoryFolder temporaries{disk, "/tmp"};                // the disk's temporary folder
  MemoryFolder pictures{disk, "/home/anna/pictures"};  // the folder the window shows

 private:
  static headless::HeadlessOptions Options(const MemoryFolder& shown) {
    headless::HeadlessOptions options;
    options.volumes = {{u"/", u"/dev/test"}};
    options.workingFolder = shown.Path();
    options.programFolder = shown.Path();
    return options;
  }

 protected:
  headless::HeadlessPlatform platform;
  FrmBase64 window;
};

}  // namespace velmora::test
