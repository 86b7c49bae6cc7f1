#include "win/dialog_log.h"

#include <strings.h>

#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"

namespace win {

namespace {

bool startsWith(const std::string& name, const char* prefix, bool ignoreCase) {
  size_t n = std::strlen(prefix);
  if (name.size() < n) return false;
  return ignoreCase ? strncasecmp(name.c_str(), prefix, n) == 0 : name.compare(0, n, prefix) == 0;
}

}  // namespace

bool dialogIsLogged(const std::string& name) {
  if (startsWith(name, "XLOGINUSR", false) || startsWith(name, "CHECK_DB", false)) return false;
  for (const char* p : {"OBSEARCH", "WAIT", "PSETGEN", "WHILE_PRINT", "VER_ARTI", "PREVIEW800"})
    if (startsWith(name, p, true)) return false;
  return true;
}

void LOG_DIALOG_OPEN(const std::string& dialogName) {
  lib::Globals& g = lib::G();
  // A folder without the log table (a new or partial installation) logs nothing.
  if (!dialogIsLogged(dialogName) || !lib::IS_FILE(nullptr, "LOG_DIAG")) return;
  auto t = lib::USE(nullptr, "LOG_DIAG", "LOG_DIA2");
  auto fill = [&] {
    t->FieldPut("NEGOCIO", lib::Value::chars(g.XU_COMP));
    t->FieldPut("ID_DIAG", lib::Value::num(g.XID_MENU));
    t->FieldPut("USUARIO", lib::Value::chars(g.XUSER_ABREVIA));
    t->FieldPut("INFO_USER", lib::Value::chars(lib::INFO_TEXT()));
    t->FieldPut("DIALOGO", lib::Value::chars(dialogName));
    t->FieldPut("FECHA", lib::Value::date(lib::XDATE()));
    t->FieldPut("HORA", lib::Value::chars(lib::XTIME()));
    t->FieldPut("MODULO", lib::Value::chars(g.EXT_MODULO));
  };
  t->GoTop();
  int32_t today = lib::XDATE();
  if (!t->Eof() && t->D("FECHA") != 0 && today - t->D("FECHA") > 240 && t->RLock()) {
    lib::SELECT(t->Area);
    fill();
    lib::UNLOCK_FOR_MODIFY(t.get());
  } else {
    lib::ADD(*t, fill);
  }
  lib::KILLTABLA(t);
  g.XID_MENU = 0;
}

}  // namespace win
