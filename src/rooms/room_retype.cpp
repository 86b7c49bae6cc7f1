#include "rooms/room_retype.h"

#include <cstdio>
#include <vector>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rooms/availability.h"
#include "rooms/room_counters.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace rooms {

namespace {

using lib::Value;

struct Assignment {
  uint32_t recno;
  std::string reserva, linea, codigo;
  int32_t inicio, final;
  double nightly;  // P_ADULT_R + P_ADULT_E + P_NINHO_R + P_NINHO_E
  int estado;
  double adults, children, free;
};

std::string neg(const std::string& negocio) {
  return lib::businessKey(negocio);
}

std::string assignmentKey(const lib::WDBTable& t, const std::string& negocio, const Assignment& a) {
  return neg(negocio) + t.KeyPart("COD_RES", a.reserva) + t.KeyPart("COD_HAB", a.linea) + t.KeyPart("CODIGO", a.codigo);
}

std::vector<Assignment> assignmentsOf(const std::string& negocio, const std::string& room) {
  std::vector<Assignment> out;
  auto t = lib::USE(nullptr, "DET_RES2", "DET_RS28");
  const std::string key = neg(negocio) + lib::padded(room, kRoomWidth);
  t->SetScope(Value::chars(key), Value::chars(key));
  for (t->GoTop(); !t->Eof(); t->Skip())
    out.push_back({t->RecNo(), t->S("COD_RES"), t->S("COD_HAB"), t->S("CODIGO"), t->D("F_INICIO"), t->D("F_FINAL"),
                   t->N("P_ADULT_R") + t->N("P_ADULT_E") + t->N("P_NINHO_R") + t->N("P_NINHO_E"), int(t->N("ESTADO")),
                   t->N("N_ADULT"), t->N("N_NINHO"), t->N("N_GRATIS")});
  lib::KILLTABLA(t);
  return out;
}

// Whether the hotel counts nights under the reserved type's class (F_HOTEL3.TIPO_STAT = 1)
// rather than under the rate type's.
bool nightsByType(const std::string& negocio) {
  if (!lib::IS_FILE(nullptr, "F_HOTEL3")) return false;
  auto p = lib::USE(nullptr, "F_HOTEL3", "F_HOTEL3");
  bool byType = p->Seek(neg(negocio)) && p->N("TIPO_STAT") == 1;
  lib::KILLTABLA(p);
  return byType;
}

// The class a night counts under when the hotel counts nights by reserved type: the new
// type's; otherwise the night keeps its class (that of the rate type). Empty: keep.
std::string nightClass(const std::string& negocio, const std::string& newType) {
  return nightsByType(negocio) ? CLASE_DEL_TIPO(negocio, newType).value_or("") : "";
}

// A text field of the record found by `key` on `table`'s own tag; empty when there is none.
std::string lookUp(const std::string& table, const std::string& key, const std::string& field) {
  if (!lib::IS_FILE(nullptr, table)) return "";
  auto t = lib::USE(nullptr, table, table);
  std::string value = t->Seek(key) ? t->S(field) : "";
  lib::KILLTABLA(t);
  return value;
}

// The stay's sold nights from `desde` move from the line's old type to the new one in the
// availability rows, under the class each counts in, as the recalculations would count them
// afterwards. A stay no longer counted (ESTADO > 2) has nothing to move.
void moveSoldNights(const std::string& negocio, const Assignment& a, const std::string& oldType,
                    const std::string& newType, int32_t desde) {
  if (a.estado > 2 || lib::trim(oldType) == lib::trim(newType) || !lib::IS_FILE(nullptr, "STAT_TIP")) return;
  StayNights stay{a.inicio, a.final, a.adults, a.children, a.free, -1};
  const std::string header = neg(negocio) + lib::padded(a.reserva, 10);
  const std::string guarantee = lookUp("ENC_RES", header, "TIPO");
  if (!guarantee.empty() && lib::IS_FILE(nullptr, "E_T_RES")) {
    auto types = lib::USE(nullptr, "E_T_RES", "E_T_RES");
    if (types->Seek(neg(negocio) + lib::padded(guarantee, 2))) stay.category = int(types->N("C_STAT_TIP"));
    lib::KILLTABLA(types);
  }
  std::string oldClass, newClass;
  if (nightsByType(negocio)) {
    oldClass = CLASE_DEL_TIPO(negocio, oldType).value_or("");
    newClass = CLASE_DEL_TIPO(negocio, newType).value_or("");
  } else {
    oldClass = newClass =
        lookUp("ENC_RACK", neg(negocio) + lib::padded(lookUp("ENC_RES", header, "COD_RACK"), kCodeWidth), "CLASE");
  }
  auto s = lib::USE(nullptr, "STAT_TIP", "STAT_TIP");
  CAM_ESTADIA(*s, negocio, oldClass, oldType, stay, desde, -1);
  CAM_ESTADIA(*s, negocio, newClass, newType, stay, desde, +1);
  lib::KILLTABLA(s);
}

// The assignment's nightly rows, from arrival to departure inclusive: the new type and,
// when given, the new line.
void moveNights(const std::string& negocio, const Assignment& a, const std::string& newType,
                const std::string& newLine) {
  const std::string clase = nightClass(negocio, newType);
  auto nights = lib::USE(nullptr, "DET_RES9", "DET_RES9");
  for (int32_t d = a.inicio; d && d <= a.final; ++d) {
    const std::string key = neg(negocio) + xbase::dtos(d) + nights->KeyPart("COD_RES", a.reserva) +
                            nights->KeyPart("COD_HAB", a.linea) + nights->KeyPart("CODIGO", a.codigo);
    if (!nights->Seek(key)) continue;
    lib::MODIFY(*nights, [&] {
      nights->FieldPut("TIPO_ROM", Value::chars(newType));
      if (!clase.empty()) nights->FieldPut("CLASE", Value::chars(clase));
      if (!newLine.empty()) nights->FieldPut("COD_HAB", Value::chars(newLine));
    });
  }
  lib::KILLTABLA(nights);
}

// The assignment's rows of `table` take the new line code (the key being rewritten, the
// next row is taken first).
void moveRows(const std::string& table, const std::string& negocio, const Assignment& a, const std::string& newLine) {
  if (!lib::IS_FILE(nullptr, table)) return;
  auto t = lib::USE(nullptr, table, table);
  const std::string key = assignmentKey(*t, negocio, a);
  while (t->Seek(key)) {
    // Every row found still has the old line: each rewrite takes it out of the key sought.
    lib::MODIFY(*t, [&] { t->FieldPut("COD_HAB", Value::chars(newLine)); });
  }
  lib::KILLTABLA(t);
}

void splitLine(const std::string& negocio, const Assignment& a, lib::WDBTable& lines, const std::string& newCode,
               const std::string& newType) {
  const std::string newLine = NUEVA_LINEA(negocio, a.reserva);
  for (const char* table : kAssignmentTables) moveRows(table, negocio, a, newLine);
  moveNights(negocio, a, newType, newLine);
  const double amount = a.nightly * double(a.final - a.inicio);
  // The old line: one room less, and that room's share of the price.
  std::vector<Value> copy(size_t(lines.FCount()));
  lib::SELECT(lines.Area);
  lib::COPY_REC1(copy);
  lib::MODIFY(lines, [&] {
    lines.FieldPut("CANTIDAD", Value::num(lines.N("CANTIDAD") - 1));
    lines.FieldPut("PRECIO", Value::num(lines.N("PRECIO") - amount));
  });
  // The new one, a copy of the old for everything else.
  lib::ADD(lines, [&] {
    lib::COPY_REC2(copy);
    lines.FieldPut("COD_HAB", Value::chars(newLine));
    lines.FieldPut("TIPO_ROM", Value::chars(newType));
    lines.FieldPut("COD_RES", Value::chars(a.reserva));
    lines.FieldPut("CANTIDAD", Value::num(1));
    lines.FieldPut("PRECIO", Value::num(amount));
  });
  auto assignments = lib::USE(nullptr, "DET_RES2", "DET_RES2");
  assignments->GoTo(a.recno);
  lib::MODIFY(*assignments, [&] {
    assignments->FieldPut("COD_HAB", Value::chars(newLine));
    assignments->FieldPut("COD_ROOMS", Value::chars(newCode));
  });
  lib::KILLTABLA(assignments);
}

}  // namespace

const char* const kAssignmentTables[8] = {"ENC_FOL",  "DET_RES4", "DET_RES6", "DET_RES7",
                                          "DET_RES8", "DET_RS10", "DET_F_P2", "DET_F_PA"};

std::string NUEVA_LINEA(const std::string& negocio, const std::string& reserva) {
  auto lines = lib::USE(nullptr, "DET_RES1", "DET_RES1");
  const std::string key = neg(negocio) + lines->KeyPart("COD_RES", reserva);
  lines->SetScope(Value::chars(key), Value::chars(key));
  int highest = 0;
  for (lines->GoTop(); !lines->Eof(); lines->Skip())
    highest = std::max(highest, std::atoi(lines->S("COD_HAB").c_str()));
  lib::KILLTABLA(lines);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", highest + 1);
  return buf;
}

void CAMBIA_TIPO_ROOM(const std::string& negocio, const std::string& oldCode, const std::string& newCode,
                      const std::string& oldType, const std::string& newType, int32_t desde, win::WAIT* wait) {
  if (wait) wait->PUT_TEXT("", "Cambiando Tipo de Habitación en Reservaciones...");
  auto lines = lib::USE(nullptr, "DET_RES1", "DET_RES1");
  for (const Assignment& a : assignmentsOf(negocio, oldCode)) {
    if (!lines->Seek(neg(negocio) + lines->KeyPart("COD_RES", a.reserva) + lines->KeyPart("COD_HAB", a.linea)))
      continue;
    moveSoldNights(negocio, a, lines->S("TIPO_ROM"), newType, desde);
    if (lines->N("CANTIDAD") <= 1) {
      lib::MODIFY(*lines, [&] { lines->FieldPut("TIPO_ROM", Value::chars(newType)); });
      moveNights(negocio, a, newType, "");
    } else {
      splitLine(negocio, a, *lines, newCode, newType);
    }
  }
  lib::KILLTABLA(lines);
  SUMA_ROOM_DE_TIPO(negocio, oldType, desde, -1);
  SUMA_ROOM_DE_TIPO(negocio, newType, desde, +1);
  // Its blocked nights go with the room.
  SUMA_BLOQUEOS_ROOM(negocio, oldCode, oldType, desde, -1);
  SUMA_BLOQUEOS_ROOM(negocio, oldCode, newType, desde, +1);
}

}  // namespace rooms
