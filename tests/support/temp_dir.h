// A private folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Copies a file; returns false when the source cannot be read.
bool copyFile(const std::string& from, const std::string& to);
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
// Runs a shell command and returns its exit status, with its standard output in `out`.
int runCommand(const std::string& command, std::string* out = nullptr);

}  // namespace testing_support
