// SPDX-License-Identifier: GPL-3.0-or-later
// Replays stored fuzz inputs without libFuzzer, for ctest: every file named
// on the command line, and every file in every folder named there, goes once
// to the target's LLVMFuzzerTestOneInput. A broken invariant or a crash ends
// the program abnormally; a named path that does not exist is an error too,
// so that a misspelt folder cannot pass as "nothing to replay".

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

constexpr int kUsageError = 2;

// Placeholders such as ".gitkeep" hold an otherwise empty folder in git;
// they are no inputs.
bool IsInput(const fs::directory_entry& entry) {
  return entry.is_regular_file() && !entry.path().filename().string().starts_with('.');
}

// The files a command-line argument names, sorted; false when it names nothing.
bool CollectInputs(const fs::path& argument, std::vector<fs::path>& inputs) {
  if (fs::is_regular_file(argument)) {
    inputs.push_back(argument);
    return true;
  }
  if (!fs::is_directory(argument)) return false;
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(argument)) {
    if (IsInput(entry)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  inputs.insert(inputs.end(), found.begin(), found.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!CollectInputs(argv[i], inputs)) {
      std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
      return kUsageError;
    }
  }
  for (const auto& input : inputs) {
    std::fprintf(stderr, "replaying %s\n", input.c_str());
    const std::string bytes = velmora::fuzz::ReadFileBytes(input);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
  return 0;
}
