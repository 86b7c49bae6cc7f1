#include "rooms/room_details.h"

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "screens/history.h"

namespace rooms {

namespace {

using lib::Value;

// `recorded`: the row goes into the change history (a mark the user set).
void appendRow(lib::WDBTable& rows, const std::string& negocio, const std::string& room, const std::string& code,
               int check, bool recorded = false) {
  auto put = [&] {
    rows.FieldPut("NEGOCIO", Value::chars(negocio));
    rows.FieldPut("ROOM", Value::chars(room));
    rows.FieldPut("CODIGO", Value::chars(code));
    rows.FieldPut("CHECK1", Value::num(check));
  };
  lib::ADD(rows, [&] { recorded ? void(screens::CON_HISTORIAL(rows, put)) : put(); });
}

std::string rowKey(const lib::WDBTable& rows, const std::string& negocio, const std::string& room,
                   const std::string& code) {
  return rows.KeyPart("NEGOCIO", negocio) + rows.KeyPart("ROOM", room) + rows.KeyPart("CODIGO", code);
}

}  // namespace

const DetailKind kAccesorios{"ACC_ROM", "DET_ROM1", "DET_ROM12"};
const DetailKind kCualidades{"CUAL_ROM", "DET_ROM2", "DET_ROM22"};

std::vector<DetailItem> ITEMS_DE(const DetailKind& kind, const std::string& negocio) {
  std::vector<DetailItem> out;
  auto items = lib::USE(nullptr, kind.items, kind.items);
  const std::string key = items->KeyPart("NEGOCIO", negocio);
  items->SetScope(Value::chars(key), Value::chars(key));
  for (items->GoTop(); !items->Eof(); items->Skip()) out.push_back({items->S("CODIGO"), items->S("DESCRIP")});
  lib::KILLTABLA(items);
  return out;
}

std::set<std::string> MARCADOS(const DetailKind& kind, const std::string& negocio, const std::string& room) {
  std::set<std::string> out;
  auto rows = lib::USE(nullptr, kind.rows, kind.rows);
  const std::string key = rows->KeyPart("NEGOCIO", negocio) + rows->KeyPart("ROOM", room);
  rows->SetScope(Value::chars(key), Value::chars(key));
  for (rows->GoTop(); !rows->Eof(); rows->Skip())
    if (rows->N("CHECK1") == 1) out.insert(rows->S("CODIGO"));
  lib::KILLTABLA(rows);
  return out;
}

void GUARDA_MARCAS(const DetailKind& kind, const std::string& negocio, const std::string& room,
                   const std::set<std::string>& selected) {
  auto rows = lib::USE(nullptr, kind.rows, kind.rows);
  for (const DetailItem& item : ITEMS_DE(kind, negocio)) {
    const int check = selected.count(item.code) ? 1 : 0;
    // A mark the user changed goes into the change history; rows made unmarked do not.
    if (!rows->Seek(rowKey(*rows, negocio, room, item.code))) {
      appendRow(*rows, negocio, room, item.code, check, check == 1);
    } else if (rows->N("CHECK1") != check) {
      lib::MODIFY(*rows, [&] {
        screens::CON_HISTORIAL(*rows, [&] { rows->FieldPut("CHECK1", Value::num(check)); });
      });
    }
  }
  lib::KILLTABLA(rows);
}

void FILAS_PARA_ROOMS(const DetailKind& kind, const std::string& negocio, const std::string& code) {
  auto rooms = lib::USE(nullptr, "ROOMS", "ROOMS");
  auto rows = lib::USE(nullptr, kind.rows, kind.rows);
  const std::string key = rooms->KeyPart("NEGOCIO", negocio);
  rooms->SetScope(Value::chars(key), Value::chars(key));
  for (rooms->GoTop(); !rooms->Eof(); rooms->Skip()) {
    const std::string room = rooms->S("CODIGO");
    if (!rows->Seek(rowKey(*rows, negocio, room, code))) appendRow(*rows, negocio, room, code, 0);
  }
  lib::KILLTABLA(rows);
  lib::KILLTABLA(rooms);
}

void BORRA_FILAS_ROOM(const DetailKind& kind, const std::string& negocio, const std::string& room) {
  auto rows = lib::USE(nullptr, kind.rows, kind.rows);
  const std::string key = rows->KeyPart("NEGOCIO", negocio) + rows->KeyPart("ROOM", room);
  while (rows->Seek(key)) lib::MODIFY(*rows, [&] { rows->Delete(); });
  lib::KILLTABLA(rows);
}

}  // namespace rooms
