// Shared by the fuzz targets: a private folder and writing the input as a file.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

inline const std::string& workDir() {
  // Never destroyed: the clean-up at exit still needs it.
  static const std::string* dir = [] {
    // Memory-backed when the machine has it: the targets write files on every run.
    std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    auto* d = new std::string((base / ("configura-fuzz-" + std::to_string(getpid()))).string());
    std::filesystem::create_directories(*d);
    std::atexit([] { std::filesystem::remove_all(workDir()); });
    return d;
  }();
  return *dir;
}

inline void writeInput(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

// The fixture table named by an environment variable, copied into the work folder.
inline std::string fixture(const char* variable, const std::string& name) {
  const char* from = std::getenv(variable);
  if (!from) {
    std::fprintf(stderr, "%s must name the fixture table\n", variable);
    std::abort();
  }
  std::string to = workDir() + "/" + name;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return to;
}

}  // namespace fuzz
