// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small real PNG files made on the spot, and the stored test pictures.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::test {

// A valid PNG file of the given size: 1-bit grayscale, a checkerboard of
// 1-pixel squares, stored without compression. 64 x 64 takes 657 bytes.
[[nodiscard]] std::string MakePng(std::uint32_t width, std::uint32_t height);

// The PNG file grown to exactly that many bytes by a text chunk before its
// end; at least 20 bytes more than it has.
[[nodiscard]] std::string PaddedPng(const std::string& png, std::size_t fileBytes);

// A PNG file that declares the given size but holds only a few bytes of
// picture data: small on disk, enormous once decoded.
[[nodiscard]] std::string MakeDecompressionBomb(std::uint32_t width, std::uint32_t height);

// The bytes of a file of the PNG suite in tests/data/pngsuite.
[[nodiscard]] std::string PngSuiteFile(const std::string& name);
// The path of the PNG suite folder.
[[nodiscard]] std::string PngSuiteFolder();

}  // namespace velmora::test
