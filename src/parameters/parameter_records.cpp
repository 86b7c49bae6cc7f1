#include "parameters/parameter_records.h"

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/form.h"

namespace parameters {

namespace {

bool ofHotelModule(const lib::WDBTable& t) {
  return lib::rtrim(t.S("MODULO")) == "09";
}

}  // namespace

bool CREA_PARAMETRO(lib::WDBTable& table, const std::string& negocio) {
  const std::string key = lib::businessKey(negocio);
  if (table.Seek(key)) return false;
  lib::ADD(table, [&] { table.FieldPut("NEGOCIO", lib::Value::chars(key)); });
  return true;
}

void LOAD_SERIALES(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio, bool allModules) {
  if (allModules)
    screens::LOAD_LISTA(dialog, ids, "SERIALES", "SERIAL4", negocio);
  else
    screens::LOAD_LISTA_IF(dialog, ids, "SERIALES", "SERIAL3", lib::businessKey(negocio) + "09", ofHotelModule);
}

void LOAD_LIGAS(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio) {
  screens::LOAD_LISTA_IF(dialog, ids, "LIGAS", "LIGA3", lib::businessKey(negocio) + "09", ofHotelModule);
}

}  // namespace parameters
