#include "codec/base64.h"

#include <string_view>

#include "codec/code_page.h"
#include "platform/output_string.h"

namespace velmora::modBase64 {

std::array<std::uint16_t, 64> IndexToChar{};
std::array<std::uint16_t, 256> CharToIndex{};
std::array<std::uint16_t, 256> ByteToChar{};
std::array<std::uint16_t, 16384> CharToByte{};
bool TablesReady = false;

namespace {

constexpr std::u16string_view kAlphabet =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char16_t kPad = u'=';

// User text may hold any 16-bit character; one beyond a table's range counts
// like a character inside it that the table does not hold, so no lookup ever
// leaves a table. The range test is the same for every character and is
// predicted perfectly for the program's own texts.
inline unsigned ByteOf(char16_t c) { return c < CharToByte.size() ? CharToByte[c] : 0u; }
inline unsigned ValueOf(char16_t c) { return c < CharToIndex.size() ? CharToIndex[c] : 0u; }
inline char16_t CharOf(unsigned index) { return static_cast<char16_t>(IndexToChar[index]); }
inline char16_t ByteChar(unsigned byte) { return static_cast<char16_t>(ByteToChar[byte]); }

}  // namespace

void InitCodeTables() {
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    IndexToChar[i] = kAlphabet[i];
    CharToIndex[kAlphabet[i]] = static_cast<std::uint16_t>(i);
  }
  // Rising byte order: should two bytes give one character, the higher wins.
  for (std::size_t b = 0; b < ByteToChar.size(); ++b) {
    const char16_t c = kAnsiCodePage[b];
    ByteToChar[b] = c;
    CharToByte[c] = static_cast<std::uint16_t>(b);
  }
  TablesReady = true;
}

std::u16string EncodeBase64(const std::u16string& bytes) {
  const std::size_t n = bytes.size();
  if (n == 0) return {};
  std::u16string out = MakeOutputString(4 * ((n + 2) / 3));
  if (!TablesReady) InitCodeTables();

  const char16_t* in = bytes.data();
  const char16_t* const groupsEnd = in + (n / 3) * 3;
  char16_t* o = out.data();
  for (; in != groupsEnd; in += 3, o += 4) {
    const unsigned a = ByteOf(in[0]);
    const unsigned b = ByteOf(in[1]);
    const unsigned c = ByteOf(in[2]);
    o[0] = CharOf(a >> 2);
    o[1] = CharOf(((a & 3) << 4) | (b >> 4));
    o[2] = CharOf(((b & 15) << 2) | (c >> 6));
    o[3] = CharOf(c & 63);
  }

  switch (n % 3) {
    case 1: {
      const unsigned a = ByteOf(in[0]);
      o[0] = CharOf(a >> 2);
      o[1] = CharOf((a & 3) << 4);
      o[2] = kPad;
      o[3] = kPad;
      break;
    }
    case 2: {
      const unsigned a = ByteOf(in[0]);
      const unsigned b = ByteOf(in[1]);
      o[0] = CharOf(a >> 2);
      o[1] = CharOf(((a & 3) << 4) | (b >> 4));
      o[2] = CharOf((b & 15) << 2);
      o[3] = kPad;
      break;
    }
    default:
      break;
  }
  return out;
}

std::u16string DecodeBase64(const std::u16string& text) {
  std::size_t n = text.size();
  if (n == 0) return {};
  // At most two "=" are padding; any further ones count as ordinary characters.
  if (text[n - 1] == kPad) --n;
  if (n >= 1 && text[n - 1] == kPad) --n;

  std::u16string out = MakeOutputString((3 * n) / 4);
  if (!TablesReady) InitCodeTables();

  const char16_t* in = text.data();
  const char16_t* const groupsEnd = in + (n / 4) * 4;
  char16_t* o = out.data();
  for (; in != groupsEnd; in += 4, o += 3) {
    const unsigned a = ValueOf(in[0]);
    const unsigned b = ValueOf(in[1]);
    const unsigned c = ValueOf(in[2]);
    const unsigned d = ValueOf(in[3]);
    o[0] = ByteChar((a << 2) | (b >> 4));
    o[1] = ByteChar(((b & 15) << 4) | (c >> 2));
    o[2] = ByteChar(((c & 3) << 6) | d);
  }

  // A lone last character carries no whole byte and is dropped.
  const std::size_t left = n % 4;
  if (left >= 2) {
    const unsigned a = ValueOf(in[0]);
    const unsigned b = ValueOf(in[1]);
    o[0] = ByteChar((a << 2) | (b >> 4));
    if (left == 3) o[1] = ByteChar(((b & 15) << 4) | (ValueOf(in[2]) >> 2));
  }
  return out;
}

}  // namespace velmora::modBase64
