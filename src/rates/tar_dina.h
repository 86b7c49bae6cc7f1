// "Definición de Tarifas Dinámicas" (menu 6563, dialog TAR_DINA): a tree whose root lists the
// dynamic-rate categories (TD_CATS); each category has "Tipos de Tarifas" (its rate types,
// ENC_RACK.TD_CAT) and "Restricciones"; each rate type "Políticas", "Restricciones" and
// "Precios", under which its dynamic seasons (TD_E_TEM). Add on the root makes a category, on
// "Precios" a season of that rate type; modify edits a category or a season. Policies and
// restrictions have no editor.
#pragma once

#include <memory>
#include <string>

#include "screens/screen.h"
#include "win/controls.h"

namespace rates {

class TAR_DINA : public screens::SCREEN {
 public:
  TAR_DINA(const std::string& dialog, const std::string& negocio);
  void INIT() override;
  int OnCOMMAND(int id, int notification) override;

  void AGREGAR();
  void MODIFICAR();
  // The tree again, the node of value `select` chosen ("" the root).
  void LOAD_TREE(const std::string& select = "");

 private:
  bool E_TD_CAT(uint32_t recno);
  std::unique_ptr<win::TREEVIEW> TREE;
  win::TreeNode root_ = nullptr;
};

// "YYYYMMDDYYYYMMDD": a dynamic season's code from its dates.
std::string CODIGO_TEMPORADA(int32_t inicio, int32_t fin);

}  // namespace rates
