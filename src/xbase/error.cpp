#include "xbase/error.h"

namespace xbase {

namespace {
std::string composeWhat(const std::string& description, const std::string& fileName) {
  return fileName.empty() ? description : description + ": " + fileName;
}
}  // namespace

Error::Error(int genCode, int subCode, std::string description, std::string fileName, int osCode, std::string operation)
    : std::runtime_error(composeWhat(description, fileName)),
      genCode_(genCode),
      subCode_(subCode),
      osCode_(osCode),
      description_(std::move(description)),
      fileName_(std::move(fileName)),
      operation_(std::move(operation)) {}

void throwCorrupt(int subCode, const std::string& file, const std::string& what) {
  throw Error(EG_CORRUPTION, subCode, "archivo dañado (" + what + ")", file);
}

}  // namespace xbase
