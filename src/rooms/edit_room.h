// The room editor (dialog AGREGAR_ROOM) over the ROOMS screen, with the room's accessories
// and qualities. A new room is counted in its type, class and hotel from the closing day
// and gets its reservation-table rows; a changed type carries the room's reservations and
// counters to the new type; a changed code renames the room's rows everywhere.
#pragma once

#include <set>
#include <string>

#include "screens/editor.h"

namespace rooms {

class EDIT_ROOM : public screens::EDITOR {
 public:
  EDIT_ROOM(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  std::set<std::string> selected(int listId) const;
  void GUARDA_DETALLES(const std::string& code);
};

}  // namespace rooms
