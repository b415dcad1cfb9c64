// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/services.h"
#include "platform/text.h"
#include "platform/traps.h"

namespace velmora {
namespace {

TEST(Error, CarriesNumberAndGermanDescription) {
  const Error error(kErrPathNotFound);
  EXPECT_EQ(error.number(), 76);
  EXPECT_EQ(error.description(), u"Pfad nicht gefunden");
  EXPECT_STREQ(error.what(), "Pfad nicht gefunden");
  EXPECT_EQ(DescriptionOf(kErrDeviceIo), u"Fehler beim Geräte-E/A");
}

TEST(Error, MapsErrnoToTheProgramsNumbers) {
  EXPECT_EQ(ErrorNumberFromErrno(ENOENT), kErrFileNotFound);
  EXPECT_EQ(ErrorNumberFromErrno(ENOSPC), kErrDiskFull);
  EXPECT_EQ(ErrorNumberFromErrno(EDQUOT), kErrDiskFull);
  EXPECT_EQ(ErrorNumberFromErrno(EROFS), kErrPermissionDenied);
  EXPECT_EQ(ErrorNumberFromErrno(EACCES), kErrPermissionDenied);
  EXPECT_EQ(ErrorNumberFromErrno(EIO), kErrDeviceIo);
  EXPECT_EQ(ErrorNumberFromErrno(ENAMETOOLONG), kErrBadFileName);
  EXPECT_EQ(ErrorNumberFromErrno(ELOOP), kErrPathFileAccess);
}

class RecordedMessages : public MessageBoxes {
 public:
  void MsgBox(const std::u16string& prompt, int /*style*/) override { shown.push_back(prompt); }
  std::vector<std::u16string> shown;
};

TEST(RunShowingErrors, ShowsEveryEscapingFailureInGerman) {
  RecordedMessages messages;
  RunShowingErrors(messages, [] { throw Error(kErrDiskFull); });
  RunShowingErrors(messages, [] { throw std::bad_alloc(); });
  RunShowingErrors(messages, [] { throw std::runtime_error("libimagequant error 101"); });
  RunShowingErrors(messages, [] {});
  EXPECT_EQ(messages.shown, (std::vector<std::u16string>{u"Datenträger voll", u"Nicht genügend Speicher",
                                                         u"Anwendungs- oder objektdefinierter Fehler"}));
}

TEST(Utf8, RoundTripsAllPlanesAndReplacesLoneSurrogates) {
  const std::u16string text = u"Größe \u20AC \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  const std::u16string loneSurrogate = {u'a', 0xD800, u'b'};
  EXPECT_EQ(ToUtf8(loneSurrogate), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD");  // overlong NUL
}

TEST(NativeNames, EveryByteSequenceRoundTripsAndShowsUndecodableBytesAsReplacement) {
  struct Case {
    std::string bytes;
    std::u16string logic;
    std::u16string shown;
  };
  const Case cases[] = {
      {"plain.png", u"plain.png", u"plain.png"},
      {"Gr\xC3\xB6\xC3\x9F" "e \xF0\x9F\x98\x80", u"Größe \U0001F600", u"Größe \U0001F600"},
      {"bad\xFF.png", u"bad\xDCFF.png", u"bad\uFFFD.png"},
      {"real\xEF\xBF\xBD", u"real\uFFFD", u"real\uFFFD"},
      {"cut\xC3", u"cut\xDCC3", u"cut\uFFFD"},
      {"\xC3(", u"\xDCC3(", u"\uFFFD("},
      {"\xC0\x80", u"\xDCC0\xDC80", u"\uFFFD\uFFFD"},        // overlong NUL
      {"\xED\xB2\x80", u"\xDCED\xDCB2\xDC80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(FromNativeName(c.bytes), c.logic);
    EXPECT_EQ(ToNativeName(c.logic), c.bytes);
    EXPECT_EQ(ShownName(c.logic), c.shown);
  }
  EXPECT_EQ(ToNativeName(std::u16string{u'a', 0xD800}), "a\xEF\xBF\xBD");  // no byte of its own
}

}  // namespace
}  // namespace velmora
