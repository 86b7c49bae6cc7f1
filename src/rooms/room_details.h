// The accessories (ACC_ROM, rows in DET_ROM1) and qualities (CUAL_ROM, rows in DET_ROM2) of
// the rooms: once a room has been saved it has one row per item of the business unit, with
// CHECK1 = 1 when the room has it.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace rooms {

struct DetailKind {
  std::string items;       // ACC_ROM, CUAL_ROM: the list, ordered by business unit + code
  std::string rows;        // DET_ROM1, DET_ROM2: ordered by business unit + room + code
  std::string rowsByCode;  // DET_ROM12, DET_ROM22: ordered by business unit + code
};

extern const DetailKind kAccesorios;
extern const DetailKind kCualidades;

struct DetailItem {
  std::string code, description;
};

// The items of the business unit, in code order.
std::vector<DetailItem> ITEMS_DE(const DetailKind& kind, const std::string& negocio);
// The codes the room has (rows with CHECK1 = 1).
std::set<std::string> MARCADOS(const DetailKind& kind, const std::string& negocio, const std::string& room);
// For every item of the business unit, the room's row is created when missing and gets
// CHECK1 = 1 when its code is in `selected`, else 0.
void GUARDA_MARCAS(const DetailKind& kind, const std::string& negocio, const std::string& room,
                   const std::set<std::string>& selected);
// A new item: one row with CHECK1 = 0 for every room of the business unit that has none.
void FILAS_PARA_ROOMS(const DetailKind& kind, const std::string& negocio, const std::string& code);
// The rows of a room, deleted (the room is gone).
void BORRA_FILAS_ROOM(const DetailKind& kind, const std::string& negocio, const std::string& room);

}  // namespace rooms
