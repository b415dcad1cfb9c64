// SPDX-License-Identifier: GPL-3.0-or-later
// Which command lines open the window, and a picture named on the command
// line opened in it.

#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "tests/window/window_fixture.h"

namespace velmora::test {
namespace {

std::optional<WindowRequest> WindowRequestFor(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  return WindowRequestOf(argv);
}

TEST(CommandLineTest, OnlyACommandLineWithoutOptionsAndAtMostOneFileOpensTheWindow) {
  const struct {
    std::vector<std::string> arguments;
    bool window;
    std::optional<std::string> picture;
  } cases[] = {
      {{"velmora"}, true, std::nullopt},
      {{"velmora", "smile.png"}, true, "smile.png"},
      {{"velmora", "--", "-smile.png"}, true, "-smile.png"},
      {{"velmora", "smile.png", "--"}, true, "smile.png"},
      {{"velmora", "-"}, true, "-"},
      {{"velmora", "a.png", "b.png"}, false, std::nullopt},
      {{"velmora", "--header", "smile.png"}, false, std::nullopt},
      {{"velmora", "smile.png", "-h"}, false, std::nullopt},
      {{"velmora", "-platform", "offscreen"}, false, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<WindowRequest> request = WindowRequestFor(c.arguments);
    ASSERT_EQ(request.has_value(), c.window) << c.arguments.back();
    if (request) {
      EXPECT_EQ(request->picture, c.picture) << c.arguments.back();
    }
  }
}

using OpenPictureTest = WindowTest;

TEST_F(OpenPictureTest, PictureIsOpenedAsADropOpensIt) {
  pictures.MakeFolder("sub");
  const std::string png = MakePng(16, 16);
  pictures.Write("sub/inner.png", png);
  pictures.Write("sub/gr\xFC\xDF.png", png);
  const std::u16string folder = pictures.Path("sub");
  const struct {
    std::string argument;
    std::u16string name;
  } cases[] = {
      {pictures.path() + "/sub/inner.png", u"inner.png"},
      {"sub/inner.png", u"inner.png"},
      {"../pictures/./sub//inner.png", u"inner.png"},
      {"sub/gr\xFC\xDF.png", FromNativeName("gr\xFC\xDF.png")},
  };
  for (const auto& c : cases) {
    platform.lstDir.SetPath(u"/");
    OpenPicture(window, c.argument, pictures.Path());
    EXPECT_EQ(platform.lstDir.Path(), folder) << c.argument;
    EXPECT_EQ(platform.lstFile.FileName(), c.name) << c.argument;
    EXPECT_EQ(platform.txt.Text(), FaceCode(png)) << c.argument;
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(OpenPictureTest, MissingPictureIsReportedAsADroppedOneIs) {
  OpenPicture(window, "gone.png", pictures.Path());
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"Datei nicht gefunden"});
  EXPECT_EQ(platform.txt.Text(), u"");
}

}  // namespace
}  // namespace velmora::test
