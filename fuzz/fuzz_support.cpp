#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmora::fuzz {

namespace fs = std::filesystem;

void Require(bool holds, std::string_view invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(invariant.size()), invariant.data());
  std::abort();
}

ScratchFolder::ScratchFolder(std::string_view purpose) {
  std::string pattern = (fs::temp_directory_path() / ("velmora-fuzz-" + std::string(purpose) + "-XXXXXX")).string();
  Require(::mkdtemp(pattern.data()) != nullptr, "a scratch folder can be created");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScratchFolder::Native(std::string_view name) const { return path_ + "/" + std::string(name); }

void ScratchFolder::Write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(Native(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Require(out.good(), "a scratch file can be written");
}

bool ScratchFolder::IsEmpty() const { return fs::is_empty(path_); }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Require(in.is_open(), "a named file can be read");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace velmora::fuzz
