#include "tools/demo_data.h"

#include "tools/demo_agencies.h"
#include "tools/demo_currencies.h"
#include "tools/demo_guests.h"
#include "tools/demo_cashier.h"
#include "tools/demo_frontcash.h"
#include "tools/demo_hotel.h"
#include "tools/demo_logs.h"
#include "tools/demo_parameters.h"
#include "tools/demo_rates.h"
#include "tools/demo_reservations.h"
#include "xbase/date.h"

namespace initdb {

namespace {

// The "Habitaciones" menu of the program, with the entries of its screens' "Editar" menus.
std::set<int> roomsMenu() {
  std::set<int> ids = {3087, 3091, 3095, 5112, 3099, 5572, 5577, 3103, 3107, 3554, 5920, 6175, 5935, 3893, 3068};
  for (int screen : {3087, 3091, 3095, 3099, 3103, 3107})
    for (int op = 1; op <= 3; ++op) ids.insert(screen + op);
  return ids;
}

void addProfile(const std::string& home, const std::string& business, int code, const std::string& name,
                const std::set<int>& granted) {
  auto profiles = openTable(home, "PERFILES");
  profiles->append();
  profiles->putString("NEGOCIO", business);
  profiles->putNumber("CODIGO", code);
  profiles->putString("DESCRIP", name);
  auto rights = openTable(home, "DET_PERF");
  for (int id = 2000; id <= 7000; ++id) {
    rights->append();
    rights->putString("NEGOCIO", business);
    rights->putNumber("CODIGO", code);
    rights->putNumber("ID", id);
    rights->putLogical("CHECK_ID", granted.count(id) > 0);
  }
}

}  // namespace

void addDemoData(const std::string& home, const std::string& password) {
  addBusiness(home, "02", "Hotel de Playa");
  addUser(home, "02", 1, "ADMIN", "Administrador del Sistema", "ADM", password, true);
  // Business 01: a front-office clerk holding the rooms profile, a locked user and a user
  // whose password has expired (30 days allowed, last changed long ago).
  addProfile(home, "01", 1, "Recepción - Habitaciones", roomsMenu());
  addUser(home, "01", 2, "RECEPCION", "Recepcionista de Turno", "REC", "RECEP", false, roomsMenu());
  addUser(home, "01", 3, "BLOQUEO", "Usuario Bloqueado", "BLQ", "BLOQUEO", false, {},
          [](xbase::DbfTable& u) { u.putNumber("BLOQUEADO", 1); });
  addUser(home, "01", 4, "VENCIDA", "Usuario con Clave Vencida", "VEN", "VENCIDA", false, {}, [](xbase::DbfTable& u) {
    u.putNumber("DIAS_CLAVE", 30);
    u.putDate("F_CLAVE", xbase::julianFromYmd(2020, 1, 1));
  });
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
  series.reset();
  // The parameters and their lists first; the hotel reuses what they hold and sets the
  // closing day and room count its year of reservations is built on.
  addParameterDemo(home);
  addCurrencyDemo(home);
  addCashierDemo(home);
  addHotelDemo(home);
  // The rates before the agencies' own data: the rate sub-types, promotions and agencies with
  // prices of their own are the rates' part of the agencies.
  addRatesDemo(home);
  addAgencyDemo(home);
  addGuestListDemo(home);
  addFrontCashDemo(home);
  addLogDemo(home);
  addReservationDemo(home);
}

}  // namespace initdb
