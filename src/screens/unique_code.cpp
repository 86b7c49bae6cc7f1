#include "screens/unique_code.h"

#include "lib/text.h"
#include "lib/wdbtable.h"

namespace screens {

bool CODIGO_DEFINIDO(lib::WDBTable& t, const std::string& negocio, const std::string& code, uint32_t editing) {
  bool found = false;
  if (t.Seek(t.KeyPart("NEGOCIO", negocio) + t.KeyPart("CODIGO", code))) {
    if (editing && t.RecNo() == editing) t.Skip();
    found = !t.Eof() && lib::trim(t.S("NEGOCIO")) == lib::trim(negocio) && lib::trim(t.S("CODIGO")) == lib::trim(code);
  }
  if (editing) t.GoTo(editing);
  return found;
}

}  // namespace screens
