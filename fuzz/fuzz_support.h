#pragma once
// What the fuzz targets share: a broken invariant that stops the run, and a
// private folder that lives as long as the process.

#include <string>
#include <string_view>

namespace velmora::fuzz {

// Aborts with the invariant's name on stderr unless `holds`; libFuzzer and
// the replay program both report an abort as a failure.
void Require(bool holds, std::string_view invariant);

// A fresh folder under the system's temporary folder, removed with its
// content when the object ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view purpose);
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  [[nodiscard]] const std::string& path() const { return path_; }
  // The native path of a name inside the folder.
  [[nodiscard]] std::string Native(std::string_view name) const;
  // Creates or replaces a file with exactly these bytes.
  void Write(std::string_view name, std::string_view bytes) const;
  [[nodiscard]] bool IsEmpty() const;

 private:
  std::string path_;
};

// The bytes of a file; a file that cannot be opened breaks an invariant.
[[nodiscard]] std::string ReadFileBytes(const std::string& path);

}  // namespace velmora::fuzz
