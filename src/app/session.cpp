#include "app/session.h"

#include "app/temp_folder.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"

namespace app {

void LOG_OUT() {
  lib::Globals& g = lib::G();
  if (g.XREC_E_S == 0) return;
  auto t = lib::USE(nullptr, "LOG_E_S");
  t->GoTo(g.XREC_E_S);
  if (!t->Eof()) {
    lib::MODIFY(*t, [&] {
      t->FieldPut("FECHA_SAL", lib::Value::date(lib::XDATE()));
      t->FieldPut("HORA_SAL", lib::Value::chars(lib::XTIME()));
    });
  }
  lib::KILLTABLA(t);
}

void EXIT_SESSION() {
  LOG_OUT();
  BORRAR_TEMPS();
  lib::G().XDUMMYADSTABLE.reset();
}

void EXIT_LOGIN() {
  lib::G().XDUMMYADSTABLE.reset();
}

}  // namespace app
