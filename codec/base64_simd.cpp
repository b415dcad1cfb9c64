// SPDX-License-Identifier: GPL-3.0-or-later
// EncodeWholeGroups and DecodeWholeGroups, compiled by Highway once per x86
// instruction set (foreach_target.h includes this file again for each one);
// the first call picks the best one the CPU has.
//
// The vector code takes a vector of characters at a time: 16-bit characters
// narrow to bytes, Base64 proper works on the bytes with the byte-shuffle
// method of Muła and Lemire ("Faster Base64 Encoding and Decoding Using AVX2
// Instructions", 2018), and bytes widen back to 16-bit characters. The code
// page is the identity except at bytes 0x80-0x9F, whose 32 characters come
// from 32-entry vector tables in both directions. A block of code text holding
// a character outside the alphabet goes through the table-driven code of
// base64_scalar.h, as do the groups too few to fill a vector.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "codec/base64_simd.cpp"
#include <hwy/foreach_target.h>  // before highway.h
#include <hwy/highway.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/base64_scalar.h"
#include "codec/base64_simd.h"
#include "codec/code_page.h"

HWY_BEFORE_NAMESPACE();
namespace velmora::modBase64 {
namespace HWY_NAMESPACE {

#if HWY_ARCH_X86 && HWY_TARGET != HWY_SCALAR && HWY_TARGET != HWY_EMU128

namespace {

namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<std::uint8_t>;
using D16 = hn::Repartition<std::uint16_t, D8>;
using DI16 = hn::Repartition<std::int16_t, D8>;
using D32 = hn::Repartition<std::uint32_t, D8>;
using DI8 = hn::Repartition<std::int8_t, D8>;
using Half8 = hn::Half<D8>;
using V8 = hn::Vec<D8>;
using M8 = hn::Mask<D8>;
using WordOrder = decltype(hn::SetTableIndices(D32(), static_cast<const std::uint32_t*>(nullptr)));

constexpr std::size_t kBytes = hn::MaxLanes(D8());  // bytes in a vector
constexpr std::size_t kWords = kBytes / 4;          // 32-bit lanes in a vector
constexpr std::size_t kGroups = kBytes / 4;         // groups in a step: kBytes code characters
constexpr std::size_t kStepBytes = 3 * kGroups;     // bytes in a step

using Table16 = std::array<std::uint8_t, 16>;
using Table32 = std::array<std::uint8_t, 32>;

// halves[index / 16][index & 15] per byte, given index & 15 and whether
// index >= 16.
V8 Lookup32(const V8 (&halves)[2], V8 low4, M8 upperHalf) {
  return hn::IfThenElse(upperHalf, hn::TableLookupBytes(halves[1], low4), hn::TableLookupBytes(halves[0], low4));
}

V8 Lookup32(const Table32& table, V8 low4, M8 upperHalf) {
  const D8 d8;
  const V8 halves[2] = {hn::LoadDup128(d8, table.data()), hn::LoadDup128(d8, table.data() + 16)};
  return Lookup32(halves, low4, upperHalf);
}

// Signed comparison: as signed bytes, 0x80-0x9F are those below 0xA0.
M8 Below(V8 bytes, V8 limit) {
  const D8 d8;
  const DI8 di8;
  return hn::RebindMask(d8, hn::Lt(hn::BitCast(di8, bytes), hn::BitCast(di8, limit)));
}

M8 InBand80To9F(V8 bytes) { return Below(bytes, hn::Set(D8(), 0xA0)); }

// ---- Encoding: characters to bytes

// Each character gets a slot among the 32 characters of bytes 0x80-0x9F:
// (low byte ^ high byte) & 15, XOR an offset chosen by the low byte's upper
// nibble. A search found offsets that give those 32 characters 32 different
// slots (checked below). Any other character lands on some slot as well;
// comparing it with the slot's own character turns it away.
constexpr Table16 kSlotOffsets = {23, 29, 7, 3, 29, 31, 15, 4, 13, 27, 30, 17, 30, 17, 18, 30};

constexpr unsigned SlotOf(char16_t c) {
  const unsigned low = c & 0xFFu;
  const unsigned high = c >> 8;
  return ((low ^ high) & 15u) ^ kSlotOffsets[low >> 4];
}

// Per slot: the low and high byte of its character, and the character's byte.
struct BandSlots {
  Table32 low{};
  Table32 high{};
  Table32 byte{};
  bool distinct = true;
};

constexpr BandSlots MakeBandSlots() {
  BandSlots slots;
  std::array<bool, 32> taken{};
  for (unsigned i = 0; i < kAnsiCodePage80To9F.size(); ++i) {
    const char16_t c = kAnsiCodePage80To9F[i];
    const unsigned slot = SlotOf(c);
    slots.distinct = slots.distinct && !taken[slot];
    taken[slot] = true;
    slots.low[slot] = static_cast<std::uint8_t>(c & 0xFFu);
    slots.high[slot] = static_cast<std::uint8_t>(c >> 8);
    slots.byte[slot] = static_cast<std::uint8_t>(0x80u + i);
  }
  return slots;
}

constexpr BandSlots kBandSlots = MakeBandSlots();
static_assert(kBandSlots.distinct, "each character of bytes 0x80-0x9F has a slot of its own");

// The bytes of kBytes characters, 0 for a character that no byte gives.
V8 BytesOf(const char16_t* in) {
  const D8 d8;
  const D16 d16;
  const auto* units = reinterpret_cast<const std::uint16_t*>(in);
  const V8 first = hn::BitCast(d8, hn::LoadU(d16, units));
  const V8 second = hn::BitCast(d8, hn::LoadU(d16, units + hn::Lanes(d16)));
  const V8 low = hn::ConcatEven(d8, second, first);
  const V8 high = hn::ConcatOdd(d8, second, first);

  const V8 offsets = hn::TableLookupBytes(hn::LoadDup128(d8, kSlotOffsets.data()), hn::ShiftRight<4>(low));
  const V8 slot = hn::Xor(hn::And(hn::Xor(low, high), hn::Set(d8, 15)), offsets);
  const V8 slotLow4 = hn::And(slot, hn::Set(d8, 15));
  const M8 slotUpper = hn::TestBit(slot, hn::Set(d8, 16));
  const M8 isSlotChar = hn::And(hn::Eq(Lookup32(kBandSlots.low, slotLow4, slotUpper), low),
                                hn::Eq(Lookup32(kBandSlots.high, slotLow4, slotUpper), high));
  const M8 isOwnByte = hn::AndNot(InBand80To9F(low), hn::Eq(high, hn::Zero(d8)));
  return hn::IfThenElse(isSlotChar, Lookup32(kBandSlots.byte, slotLow4, slotUpper), hn::IfThenElseZero(isOwnByte, low));
}

// A 6-bit value's code character is value + kCodeOffsets[range], where the
// range is 13 for 0-25 and value - 51 (at least 0) for the rest.
constexpr Table16 kCodeOffsets = {71, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 237, 240, 65, 0, 0};

constexpr bool CodeOffsetsGiveTheAlphabet() {
  for (unsigned value = 0; value < 64; ++value) {
    const unsigned range = value < 26 ? 13 : (value > 51 ? value - 51 : 0);
    if (((value + kCodeOffsets[range]) & 0xFFu) != kAlphabet[value]) return false;
  }
  return true;
}
static_assert(CodeOffsetsGiveTheAlphabet());

// Per 32-bit lane holding the bytes b1 b0 b2 b1 of a group: its four 6-bit
// values, one per byte, the first lowest.
V8 SixBitValues(V8 shuffled) {
  const D8 d8;
  const D16 d16;
  const D32 d32;
  const auto words = hn::BitCast(d32, shuffled);
  const auto firstAndThird = hn::MulHigh(hn::BitCast(d16, hn::And(words, hn::Set(d32, 0x0FC0FC00u))),
                                         hn::BitCast(d16, hn::Set(d32, 0x04000040u)));
  const auto secondAndFourth = hn::Mul(hn::BitCast(d16, hn::And(words, hn::Set(d32, 0x003F03F0u))),
                                       hn::BitCast(d16, hn::Set(d32, 0x01000010u)));
  return hn::BitCast(d8, hn::Or(firstAndThird, secondAndFourth));
}

V8 CodeCharacters(V8 values) {
  const D8 d8;
  const DI8 di8;
  const M8 below26 = hn::RebindMask(d8, hn::Lt(hn::BitCast(di8, values), hn::Set(di8, 26)));
  const V8 range = hn::IfThenElse(below26, hn::Set(d8, 13), hn::SaturatedSub(values, hn::Set(d8, 51)));
  return hn::Add(values, hn::TableLookupBytes(hn::LoadDup128(d8, kCodeOffsets.data()), range));
}

// Lane order that gives each 128-bit block 12 bytes: 32-bit words 3k..3k+2
// of the loaded vector in block k.
constexpr std::array<std::uint32_t, kWords> MakeSpreadOrder() {
  std::array<std::uint32_t, kWords> order{};
  for (std::size_t lane = 0; lane < kWords; ++lane) order[lane] = static_cast<std::uint32_t>(lane - lane / 4);
  return order;
}
constexpr std::array<std::uint32_t, kWords> kSpreadOrder = MakeSpreadOrder();

// The bytes b1 b0 b2 b1 of each of a block's four groups.
constexpr Table16 kGroupShuffle = {1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10};

// The kBytes code characters of the kStepBytes bytes at `bytes` (which must
// be readable for kBytes).
void EncodeStep(const std::uint8_t* bytes, char16_t* out, WordOrder spread) {
  const D8 d8;
  const D16 d16;
  const D32 d32;
  const Half8 half;
  const V8 blocks = hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(d32, hn::LoadU(d8, bytes)), spread));
  const V8 code = CodeCharacters(SixBitValues(hn::TableLookupBytes(blocks, hn::LoadDup128(d8, kGroupShuffle.data()))));
  auto* units = reinterpret_cast<std::uint16_t*>(out);
  hn::StoreU(hn::PromoteTo(d16, hn::LowerHalf(half, code)), d16, units);
  hn::StoreU(hn::PromoteTo(d16, hn::UpperHalf(half, code)), d16, units + hn::Lanes(d16));
}

// Steps per chunk: the characters are narrowed a chunk at a time into a
// buffer, from which the steps load their overlapping 12-byte blocks.
constexpr std::size_t kChunkSteps = 64;

// Narrows `count` >= kBytes characters into `bytes`, a vector at a time, the
// last vector overlapping the one before unless they fit exactly.
void NarrowChunk(const char16_t* in, std::size_t count, std::uint8_t* bytes) {
  const D8 d8;
  for (std::size_t i = 0; i < count; i += kBytes) {
    const std::size_t at = std::min(i, count - kBytes);
    hn::StoreU(BytesOf(in + at), d8, bytes + at);
  }
}

// ---- Decoding: code characters to bytes

// A byte is an alphabet character exactly when the classes of its two
// nibbles share no bit. Its 6-bit value is then the byte plus the offset its
// high nibble chooses, the one before it for "/".
constexpr Table16 kLowNibbleClasses = {0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                       0x11, 0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A};
constexpr Table16 kHighNibbleClasses = {0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08,
                                        0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10};
constexpr Table16 kValueOffsets = {0, 16, 19, 4, 191, 191, 185, 185, 0, 0, 0, 0, 0, 0, 0, 0};

constexpr bool NibbleTablesMatchTheAlphabet() {
  for (unsigned byte = 0; byte < 256; ++byte) {
    const bool inAlphabet = (kLowNibbleClasses[byte & 15] & kHighNibbleClasses[byte >> 4]) == 0;
    const std::size_t value = kAlphabet.find(static_cast<char16_t>(byte));
    if (inAlphabet != (value != kAlphabet.npos)) return false;
    const unsigned offset = kValueOffsets[(byte >> 4) - (byte == '/' ? 1 : 0)];
    if (inAlphabet && ((byte + offset) & 0xFFu) != value) return false;
  }
  return true;
}
static_assert(NibbleTablesMatchTheAlphabet());

// The three bytes of each group first byte first, in each block's bytes 0-11.
constexpr Table16 kGroupBytes = {2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 3, 7, 11, 15};

// Lane order that packs the 12 bytes of every block together and lays them
// out so that the characters come in order when each block's lower and upper
// half is interleaved with the high bytes: block k's lower half takes packed
// words 2k and 2k + 1, its upper half words kWords / 2 + 2k and + 1.
constexpr std::array<std::uint32_t, kWords> MakePackOrder() {
  constexpr std::size_t kPackedWords = 3 * kWords / 4;
  std::array<std::uint32_t, kWords> order{};
  for (std::size_t lane = 0; lane < kWords; ++lane) {
    const std::size_t block = lane / 4;
    const std::size_t inBlock = lane % 4;
    const std::size_t word = inBlock < 2 ? 2 * block + inBlock : kWords / 2 + 2 * block + inBlock - 2;
    order[lane] = word < kPackedWords ? static_cast<std::uint32_t>(word / 3 * 4 + word % 3) : 0u;
  }
  return order;
}
constexpr std::array<std::uint32_t, kWords> kPackOrder = MakePackOrder();

// The characters of bytes 0x80-0x9F, split into low and high bytes.
constexpr Table32 BandCharacterBytes(unsigned shift) {
  Table32 bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(kAnsiCodePage80To9F[i] >> shift);
  return bytes;
}
constexpr Table32 kBandLowBytes = BandCharacterBytes(0);
constexpr Table32 kBandHighBytes = BandCharacterBytes(8);

// The decoding loop's constants, made once per loop. GCC would otherwise
// build each broadcast constant again inside the loop (a scalar move and a
// broadcast); hiding their values makes it keep them in registers.
struct DecodeConstants {
  V8 low4Mask, lowNibbleClasses, highNibbleClasses, slash, valueOffsets, groupBytes;
  hn::Vec<D16> sixBits;
  V8 bit4, bandLimit, bandLowBytes[2], bandHighBytes[2];
  WordOrder pack;
};

template <class V>
V Opaque(V v) {
  asm("" : "+v"(v.raw));
  return v;
}

DecodeConstants MakeDecodeConstants() {
  const D8 d8;
  const auto dup = [&](const std::uint8_t* table) { return Opaque(hn::LoadDup128(d8, table)); };
  return {.low4Mask = Opaque(hn::Set(d8, 15)),
          .lowNibbleClasses = dup(kLowNibbleClasses.data()),
          .highNibbleClasses = dup(kHighNibbleClasses.data()),
          .slash = Opaque(hn::Set(d8, '/')),
          .valueOffsets = dup(kValueOffsets.data()),
          .groupBytes = dup(kGroupBytes.data()),
          .sixBits = Opaque(hn::Set(D16(), 0x3F)),
          .bit4 = Opaque(hn::Set(d8, 16)),
          .bandLimit = Opaque(hn::Set(d8, 0xA0)),
          .bandLowBytes = {dup(kBandLowBytes.data()), dup(kBandLowBytes.data() + 16)},
          .bandHighBytes = {dup(kBandHighBytes.data()), dup(kBandHighBytes.data() + 16)},
          .pack = hn::SetTableIndices(D32(), kPackOrder.data())};
}

// kBytes code characters as bytes; a character above 0xFF becomes 0 or 0xFF,
// neither of them in the alphabet.
V8 CodeBytesOf(const char16_t* in) {
  const D8 d8;
  const DI16 di16;
  const Half8 half;
  const auto* units = reinterpret_cast<const std::int16_t*>(in);
  return hn::Combine(d8, hn::DemoteTo(half, hn::LoadU(di16, units + hn::Lanes(di16))),
                     hn::DemoteTo(half, hn::LoadU(di16, units)));
}

bool AllInAlphabet(V8 text, V8 highNibbles, const DecodeConstants& c) {
  const D8 d8;
  const V8 lowClasses = hn::TableLookupBytes(c.lowNibbleClasses, hn::And(text, c.low4Mask));
  const V8 highClasses = hn::TableLookupBytes(c.highNibbleClasses, highNibbles);
  return hn::AllTrue(d8, hn::Eq(hn::And(lowClasses, highClasses), hn::Zero(d8)));
}

V8 ValuesOf(V8 text, V8 highNibbles, const DecodeConstants& c) {
  const D8 d8;
  const V8 offsetIndex = hn::Add(highNibbles, hn::VecFromMask(d8, hn::Eq(text, c.slash)));
  return hn::Add(text, hn::TableLookupBytes(c.valueOffsets, offsetIndex));
}

// Per 32-bit lane of four 6-bit values, the first lowest: the group's 24 bits,
// first value highest, in the lane's low three bytes.
V8 GroupBits(V8 values, const DecodeConstants& c) {
  const D8 d8;
  const D16 d16;
  const D32 d32;
  const auto pairs = hn::BitCast(d16, values);
  const auto twelveBits = hn::Or(hn::ShiftLeft<6>(hn::And(pairs, c.sixBits)), hn::ShiftRight<8>(pairs));
  const auto quads = hn::BitCast(d32, twelveBits);
  return hn::BitCast(d8, hn::Or(hn::ShiftLeft<12>(quads), hn::ShiftRight<16>(quads)));
}

// Writes kBytes characters: those of the 3/4 kBytes bytes in `bytes`, in
// pack order, then scratch.
void WriteCharacters(V8 bytes, char16_t* out, const DecodeConstants& c) {
  const D8 d8;
  const D16 d16;
  const V8 low4 = hn::And(bytes, c.low4Mask);
  const M8 upperHalf = hn::TestBit(bytes, c.bit4);
  const M8 inBand = Below(bytes, c.bandLimit);
  const V8 low = hn::IfThenElse(inBand, Lookup32(c.bandLowBytes, low4, upperHalf), bytes);
  const V8 high = hn::IfThenElseZero(inBand, Lookup32(c.bandHighBytes, low4, upperHalf));
  auto* units = reinterpret_cast<std::uint16_t*>(out);
  hn::StoreU(hn::BitCast(d16, hn::InterleaveLower(d8, low, high)), d16, units);
  hn::StoreU(hn::BitCast(d16, hn::InterleaveUpper(d8, low, high)), d16, units + hn::Lanes(d16));
}

// Decodes the kBytes code characters at `in` unless one of them lies outside
// the alphabet: writes kBytes characters at `out`, the first 3/4 of them
// theirs. Tells whether it did.
HWY_INLINE bool DecodeStep(const char16_t* in, char16_t* out, const DecodeConstants& c) {
  const D8 d8;
  const D32 d32;
  const V8 text = CodeBytesOf(in);
  // The 8-bit shift done as a 16-bit one, with the mask kept in a register.
  const V8 highNibbles = hn::And(hn::BitCast(d8, hn::ShiftRight<4>(hn::BitCast(D16(), text))), c.low4Mask);
  if (!AllInAlphabet(text, highNibbles, c)) [[unlikely]] return false;
  const V8 values = ValuesOf(text, highNibbles, c);
  const V8 groupBytes = hn::TableLookupBytes(GroupBits(values, c), c.groupBytes);
  WriteCharacters(hn::BitCast(d8, hn::TableLookupLanes(hn::BitCast(d32, groupBytes), c.pack)), out, c);
  return true;
}

// Decodes steps until one holds a character outside the alphabet, at most
// `steps` of them; returns how many it decoded. No call in this loop, so
// that the compiler keeps its constants in registers.
HWY_INLINE std::size_t DecodeValidSteps(const char16_t*& in, char16_t*& out, std::size_t steps) {
  const DecodeConstants constants = MakeDecodeConstants();
  const char16_t* from = in;
  char16_t* to = out;
  std::size_t done = 0;
  for (; done < steps && DecodeStep(from, to, constants); ++done, from += kBytes, to += kStepBytes) {
  }
  in = from;
  out = to;
  return done;
}

// Decodes `steps` steps, those holding a character outside the alphabet with
// the table-driven code.
void DecodeSteps(const char16_t*& in, char16_t*& out, std::size_t steps) {
  while ((steps -= DecodeValidSteps(in, out, steps)) > 0) {
    DecodeGroupsScalar(in, out, kGroups);
    --steps;
  }
}

}  // namespace

void EncodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  const D8 d8;
  // A chunk of one step would be shorter than the vector that narrows it.
  std::size_t steps = groups / kGroups;
  if (steps == 1) steps = 0;

  const WordOrder spread = hn::SetTableIndices(D32(), kSpreadOrder.data());
  // A step loads a quarter vector beyond its bytes.
  std::array<std::uint8_t, kChunkSteps * kStepBytes + kBytes> bytes;
  const char16_t* from = in;
  char16_t* to = out;
  for (std::size_t left = steps; left > 0;) {
    std::size_t chunk = std::min(kChunkSteps, left);
    if (left - chunk == 1) --chunk;
    const std::size_t chunkBytes = chunk * kStepBytes;
    NarrowChunk(from, chunkBytes, bytes.data());
    hn::StoreU(hn::Zero(d8), d8, bytes.data() + chunkBytes);
    for (std::size_t step = 0; step < chunk; ++step) {
      EncodeStep(bytes.data() + step * kStepBytes, to + step * kBytes, spread);
    }
    from += chunkBytes;
    to += chunk * kBytes;
    left -= chunk;
  }
  in = from;
  out = to;
  EncodeGroupsScalar(in, out, groups - steps * kGroups);
}

void DecodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  // A step writes a quarter vector beyond its own characters: while that
  // falls inside the whole groups, straight into `out`.
  const std::size_t directSteps = 3 * groups >= kBytes ? (3 * groups - kBytes) / kStepBytes + 1 : 0;
  DecodeSteps(in, out, directSteps);
  groups -= directSteps * kGroups;
  if (groups >= kGroups) {
    std::array<char16_t, kBytes> last;
    char16_t* lastOut = last.data();
    DecodeSteps(in, lastOut, 1);
    out = std::copy_n(last.data(), kStepBytes, out);
    groups -= kGroups;
  }
  DecodeGroupsScalar(in, out, groups);
}

#else  // no vector code for this target: the table-driven code does it all

void EncodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  EncodeGroupsScalar(in, out, groups);
}

void DecodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  DecodeGroupsScalar(in, out, groups);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace velmora::modBase64
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velmora::modBase64 {

HWY_EXPORT(EncodeWholeGroups);
HWY_EXPORT(DecodeWholeGroups);

void EncodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  HWY_DYNAMIC_DISPATCH(EncodeWholeGroups)(in, out, groups);
}

void DecodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups) {
  HWY_DYNAMIC_DISPATCH(DecodeWholeGroups)(in, out, groups);
}

}  // namespace velmora::modBase64
#endif
