// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paths as the window logic holds them: absolute, "/"-separated, with the
// bytes of names that are not UTF-8 kept (see FromNativeName). Pure text work,
// no file system.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The names between the separators, empty ones left out.
[[nodiscard]] std::vector<std::u16string_view> PartsOf(std::u16string_view path);

// Whether a path is the folder itself or lies below it; "/homework" does not
// lie on "/home".
[[nodiscard]] bool LiesOn(std::u16string_view path, std::u16string_view folder);

// An absolute folder without "." or ".." parts and without trailing "/"
// (except "/" itself); relative paths are taken from the working folder.
[[nodiscard]] std::u16string NormalizeFolder(std::u16string_view path, std::u16string_view workingFolder);

// The folder above; "/" stays "/".
[[nodiscard]] std::u16string FolderAbove(std::u16string_view folder);

// Joins a folder and a name with exactly one separator.
[[nodiscard]] std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// What the user chose in a dialog that offered `proposed` as the user sees it
// (ShownName). Where the choice still reads as the proposal, or as a name in
// the proposal's folder, the proposal's own bytes stand for what was shown.
[[nodiscard]] std::u16string KeepingProposedBytes(std::u16string_view proposed, std::u16string_view chosen);

}  // namespace velmora
