#pragma once
// The window logic on the headless platform, in a folder of its own, with
// its own temporary folder so that no temporary file can go unnoticed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "codec/base64.h"
#include "codec/code_page.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "preview/number_text.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder.h"
#include "window/control_table.h"
#include "window/frm_base64.h"

namespace velmora::test {

inline std::u16string U16(std::string_view text) { return FromUtf8(text); }

// A length as the size report writes it.
inline std::u16string LengthText(std::size_t length) { return DecimalText(static_cast<std::int64_t>(length)); }

// The Face code of a file's bytes.
inline std::u16string FaceCode(const std::string& bytes) {
  return modBase64::EncodeBase64(BytesToByteString({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : savedTmpdir_(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : ""),
        tmpdirSet_(::setenv("TMPDIR", temporaries.path().c_str(), 1) == 0),
        platform(FrmBase64Table(), Options(pictures)),
        window(platform.form()) {
    platform.Start(window);
  }

  ~WindowTest() override {
    if (savedTmpdir_.empty()) {
      ::unsetenv("TMPDIR");
    } else {
      ::setenv("TMPDIR", savedTmpdir_.c_str(), 1);
    }
  }

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

  TempFolder temporaries;  // the system's temporary folder for this test
  TempFolder pictures;     // the folder the window shows

 private:
  static headless::HeadlessOptions Options(const TempFolder& shown) {
    headless::HeadlessOptions options;
    options.volumes = {{u"/", u"/dev/test"}};
    options.workingFolder = FromUtf8(shown.path());
    options.programFolder = FromUtf8(shown.path());
    return options;
  }

  std::string savedTmpdir_;
  bool tmpdirSet_;

 protected:
  headless::HeadlessPlatform platform;
  FrmBase64 window;
};

}  // namespace velmora::test
