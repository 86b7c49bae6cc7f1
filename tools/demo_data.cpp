#include "tools/demo_data.h"

namespace initdb {

void addDemoData(const std::string& home, const std::string& password) {
  addBusiness(home, "02", "Hotel de Playa");
  addUser(home, "02", 1, "ADMIN", "Administrador del Sistema", "ADM", password, true);
  auto series = openTable(home, "SERIALES");
  for (const std::string business : {"01", "02"}) {
    series->append();
    series->putString("NEGOCIO", business);
    series->putString("CODIGO", "FA");
    series->putString("DESCRIP", "Facturas");
    series->putString("PREFIJO", "FA-");
    series->putNumber("NUMERO", 0);
    series->putNumber("INDENT", 6);
    series->putNumber("JUSTIFICA", 0);
  }
}

}  // namespace initdb
