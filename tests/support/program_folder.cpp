#include "support/program_folder.h"

#include <filesystem>

namespace testing_support {

void ScriptedClock::busyWait(int64_t millis) {
  VirtualClock::busyWait(millis);
  for (auto& [when, action] : events_) {
    if (action && ticks() >= when) {
      auto run = std::move(action);
      action = nullptr;
      run();
    }
  }
}

ProgramFolder::ProgramFolder() {
  for (const char* sub : {"BASES", "PROFILE", "TEMP"}) std::filesystem::create_directories(dir_.path() + "/" + sub);
  lib::Globals& g = lib::resetGlobals();
  g.PATH = dir_.path() + "/";
  g.DEF_RDD = "DBFCDX";
  g.EXT_MODULO = "CNF";
  auto clock = std::make_unique<ScriptedClock>();
  clock_ = clock.get();
  g.clock = std::move(clock);
  auto sink = std::make_unique<lib::RecordingSink>();
  messages_ = sink.get();
  g.messages = std::move(sink);
  g.windowsUser = [] { return std::string("tester"); };
  g.computerName = [] { return std::string("ESTACION1"); };
}

ProgramFolder::~ProgramFolder() {
  lib::resetGlobals();
}

void ProgramFolder::table(const std::string& relativePath, const std::vector<xbase::FieldSpec>& fields,
                          const std::vector<std::string>& tags) {
  std::vector<xbase::TagSpec> specs;
  for (const auto& t : tags) specs.push_back(xbase::TagSpec::parse(t));
  std::string path =
      relativePath.find('/') == std::string::npos ? bases(relativePath) : dir_.path() + "/" + relativePath;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  xbase::DbfTable::create(path, fields, specs);
}

}  // namespace testing_support
