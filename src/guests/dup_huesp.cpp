#include "guests/dup_huesp.h"

#include <array>
#include <map>

#include "guests/guest_duplicates.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace guests {

namespace {

using lib::Value;

}  // namespace

DUP_HUESP::DUP_HUESP(const std::string& negocio)
    : LIST_SCREEN("DUP_HUESP", negocio,
                  {"TMP_DUPH",
                   "TMP_DUPH",
                   0,
                   {{"Motivo", "MOTIVO", std::string(60, 'X')},
                    {"Huésped", "NOMBRE1", std::string(40, 'X')},
                    {"Cédula", "CEDULA1", std::string(14, 'X')},
                    {"email", "EMAIL1", std::string(24, 'X')},
                    {"Posible duplicado", "NOMBRE2", std::string(40, 'X')},
                    {"Cédula ", "CEDULA2", std::string(14, 'X')},
                    {"email ", "EMAIL2", std::string(24, 'X')}},
                   true}) {}

// The pairs into the working table.
void DUP_HUESP::AbrirBases() {
  TABLA = USE("TMP_DUPH.DBF", "TMP_DUPH");
  const int cursor = WAIT_CURSOR();
  std::vector<GuestKeys> keys;
  std::map<uint32_t, std::array<std::string, 3>> shown;
  lib::EACH_RECORD("H_HUES", "H_HUES9", lib::businessKey(NEGOCIO), [&](const lib::WDBTable& h) {
    keys.push_back({h.RecNo(), h.S("NOMBRE"), h.S("APELLIDO1"), h.S("CEDULA"), h.S("EMAIL"), h.D("F_NACE")});
    shown[h.RecNo()] = {lib::trim(h.S("NOMBRE_C")), lib::trim(h.S("CEDULA")), lib::trim(h.S("EMAIL"))};
  });
  for (const DuplicatePair& p : BUSCA_DUPLICADOS(keys)) {
    const auto &a = shown[p.first], &b = shown[p.second];
    lib::ADD(*TABLA, [&] {
      TABLA->FieldPut("MOTIVO", Value::chars(p.reason));
      TABLA->FieldPut("NOMBRE1", Value::chars(a[0]));
      TABLA->FieldPut("CEDULA1", Value::chars(a[1]));
      TABLA->FieldPut("EMAIL1", Value::chars(a[2]));
      TABLA->FieldPut("NOMBRE2", Value::chars(b[0]));
      TABLA->FieldPut("CEDULA2", Value::chars(b[1]));
      TABLA->FieldPut("EMAIL2", Value::chars(b[2]));
      TABLA->FieldPut("REC1", Value::num(p.first));
      TABLA->FieldPut("REC2", Value::num(p.second));
    });
  }
  TABLA->GoTop();
  SET_CURSOR(cursor);
}

// The whole working table: it holds this business unit's pairs only.
void DUP_HUESP::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "TMP_DUPH"}}, 1, "");
}

void DUP_HUESP::INIT() {
  LIST_SCREEN::INIT();
  if (!window()) return;
  if (OB && OB->nMaxRec == 0) screens::notice("No se encontraron huéspedes posiblemente duplicados.");
}

}  // namespace guests
