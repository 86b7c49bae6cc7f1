// Any bytes as a resource script: parsing ends in templates or in std::runtime_error with
// "FILE:LINE: ", never in a crash, a hang or another exception. Whatever parses must be sane:
// names upper case and found without regard to case, coordinates in range, and the same
// script read a second time into the same set refused as a duplicate.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "win/resource_script.cpp"  // self-contained: the fuzz build links xbase only

namespace win {
const char* embeddedDialogText() {
  return "#@file WAIT.rc\n"
         "WAIT DIALOGEX 0, 0, 230, 80\nCAPTION \"Procesando...\"\nBEGIN\n"
         "  PUSHBUTTON \"Cancelar\", 2, 90, 59, 50, 14\nEND\n"
         "#@file STRINGS.rc\nSTRINGTABLE BEGIN 1 \"uno\" END\n";
}
}  // namespace win

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "resource invariant broken: %s\n", what);
  std::abort();
}

bool inRange(int v, bool size) {
  return v >= (size ? 0 : -32767) && v <= 32767;
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool builtInReady = [] {
    const win::ResourceSet& b = win::ResourceSet::builtIn();
    check(b.dialog("wait") && b.dialog("WAIT")->source == "WAIT.rc", "built-in dialog");
    check(b.string(1) == "uno", "built-in string");
    return true;
  }();
  (void)builtInReady;

  const std::string text(reinterpret_cast<const char*>(data), size);
  win::ResourceSet set;
  try {
    set.parse(text, "F.rc");
  } catch (const std::runtime_error& e) {
    check(std::string(e.what()).rfind("F.rc:", 0) == 0, "messages start with the file name");
    check(set.dialogNames().empty(), "a failed script adds nothing");
    return 0;
  }

  bool any = false;
  for (const std::string& name : set.dialogNames()) {
    any = true;
    const win::DialogTemplate* d = set.dialog(lower(name));
    check(d && d->name == name, "dialogs are found without regard to case");
    check(!name.empty() && win::upper(name) == name, "names are upper case");
    check(inRange(d->x, false) && inRange(d->y, false) && inRange(d->cx, true) && inRange(d->cy, true),
          "dialog in range");
    check(d->controls.size() <= 4096, "bounded controls");
    for (const win::ControlTemplate& c : d->controls) {
      check(inRange(c.x, false) && inRange(c.y, false) && inRange(c.cx, true) && inRange(c.cy, true),
            "control in range");
      check(c.id >= -32768 && c.id <= 65535, "id in range");
      check(d->control(c.id) != nullptr, "controls are found by id");
    }
  }
  for (int id = 0; id < 64 && !any; ++id) any = set.string(id).has_value();

  // A second reading repeats every name: refused whenever the first one defined anything.
  try {
    set.parse(text, "G.rc");
    check(!any, "a repeated dialog or string is refused");
  } catch (const std::runtime_error& e) {
    check(std::string(e.what()).rfind("G.rc:", 0) == 0, "messages start with the file name");
  }
  return 0;
}
