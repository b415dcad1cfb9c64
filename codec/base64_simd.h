// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole groups of EncodeBase64 and DecodeBase64, converted with the widest
// vector instructions the CPU offers (chosen at the first call) and the
// table-driven code of base64_scalar.h for what the vectors do not take. The
// result is that of the table-driven code, character for character. The code
// tables must be built.

#include <cstddef>

namespace velmora::modBase64 {

// Converts `groups` groups of 3 byte string characters into 4 code
// characters each and moves both pointers past them.
void EncodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups);

// Converts `groups` groups of 4 code characters into 3 byte string characters
// each and moves both pointers past them.
void DecodeWholeGroups(const char16_t*& in, char16_t*& out, std::size_t groups);

}  // namespace velmora::modBase64
