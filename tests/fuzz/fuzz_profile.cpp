// Treats arbitrary bytes as a profile file: reads what is there, then writes, replaces and
// deletes keys and sections. Every change must read back as made and leave every other key
// as it was; nothing may crash or hang.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "lib/profile_file.cpp"  // self-contained: the fuzz build links xbase only

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "profile invariant broken: %s\n", what);
  std::abort();
}

struct Entry {
  std::string section, key, value;
};

// Values never hold a line feed, so this default tells a missing key apart.
const std::string kMissing = "\n";

// A few sections and keys: every call reads the file again.
std::vector<Entry> snapshot(const lib::ProfileFile& ini) {
  std::vector<Entry> entries;
  const std::vector<std::string> sections = ini.sections();
  for (size_t i = 0; i < sections.size() && i < 4; ++i) {
    const std::vector<std::string> keys = ini.keys(sections[i]);
    for (size_t j = 0; j < keys.size() && j < 4; ++j) {
      std::string value = ini.getString(sections[i], keys[j], kMissing);
      check(value != kMissing, "a listed key is found");
      (void)ini.getInt(sections[i], keys[j], -1);
      entries.push_back({sections[i], keys[j], std::move(value)});
    }
  }
  return entries;
}

bool same(std::string_view a, std::string_view b) {
  return lib::foldCase(a) == lib::foldCase(b);
}

// Every entry but the ones the change was meant to touch still reads the same.
void checkOthers(const lib::ProfileFile& ini, const std::vector<Entry>& before, std::string_view section,
                 const std::string* key) {
  for (const Entry& e : before) {
    if (same(e.section, section) && (!key || same(e.key, *key))) continue;
    check(ini.getString(e.section, e.key, kMissing) == e.value, "an untouched key keeps its value");
  }
}

std::string upperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Sets the key and checks the change; `mustSucceed` for names any profile can hold.
void writeAndCheck(lib::ProfileFile& ini, const std::string& section, const std::string& key, const std::string& value,
                   bool mustSucceed) {
  const std::vector<Entry> before = snapshot(ini);
  const bool written = ini.writeString(section, key, value);
  if (mustSucceed) check(written, "a plain key can be written");
  if (!written) return;
  check(ini.getString(section, key, kMissing) == value, "a written value reads back");
  check(ini.getString(upperAscii(section), upperAscii(key), kMissing) == value, "names ignore case");
  checkOthers(ini, before, section, &key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::workDir() + "/SALTMERE.INI";
  fuzz::writeInput(path, data, size);
  lib::ProfileFile ini(path);
  const std::vector<Entry> original = snapshot(ini);
  if (size > lib::kMaxProfileBytes) return 0;  // only its first MiB is read; never rewritten

  // A fixed section and key, new or already there, then replaced.
  writeAndCheck(ini, "Fuzz", "Clave", "valor uno", true);
  writeAndCheck(ini, "FUZZ", "clave", "2", true);
  check(ini.getInt("fuzz", "CLAVE", -1) == 2, "a written number reads back");

  // Names taken from the file: an existing key replaced, a new key in an existing section.
  if (!original.empty()) {
    const Entry& first = original.front();
    const bool plainKey = first.key.front() != '[' && first.key.front() != ';';
    const bool writable = plainKey && !lib::breaksLine(first.section) && !lib::breaksLine(first.key);
    writeAndCheck(ini, first.section, first.key, "reemplazado", writable);
    writeAndCheck(ini, upperAscii(first.section), "NuevaClave", "nueva", !lib::breaksLine(first.section));

    const std::vector<Entry> before = snapshot(ini);
    check(ini.deleteKey(first.section, first.key), "a key can be deleted");
    check(ini.getString(first.section, first.key, kMissing) == kMissing, "a deleted key is gone");
    checkOthers(ini, before, first.section, &first.key);
  }

  // Whole sections deleted: the one we wrote and the file's first.
  for (const std::string& section :
       {std::string("fuzz"), original.empty() ? std::string() : original.front().section}) {
    const std::vector<Entry> before = snapshot(ini);
    check(ini.deleteSection(section), "a section can be deleted");
    for (const std::string& name : ini.sections()) check(!same(name, section), "a deleted section is gone");
    checkOthers(ini, before, section, nullptr);
  }
  return 0;
}
