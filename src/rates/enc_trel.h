// "Definición de Sub-Tipos de Tarifa" (menu 6553): the rate sub-types of the business unit in
// the upper grid, the details of the one under the cursor (per rate type and room type, the
// offsets from the rate type's prices) in the lower grid with their buttons. The sub-type's
// editor is E_TREL; a detail's, the dialog E_DTRL1. A deleted sub-type takes its details.
#pragma once

#include <memory>
#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace rates {

class ENC_TREL : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 6553;
  ENC_TREL(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void ADD_ENC_TREL();
  void MOD_ENC_TREL();
  void DEL_ENC_TREL();
  void ADD_DET_TRL1();
  void MOD_DET_TRL1();
  void DEL_DET_TRL1();
  // The lower grid shows the details of the sub-type under the cursor.
  void MUESTRA_DETALLE();

 protected:
  void BOTONES() override;
  void DOBLE_CLICK() override { MOD_ENC_TREL(); }
  void CerrarBases() override;

 private:
  bool E_DTRL1(uint32_t recno);
  lib::WDBTable* DETALLE = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB_DETALLE;
};

class E_TREL : public screens::EDITOR {
 public:
  E_TREL(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  bool MODIFICA(const std::string& code) override;
};

}  // namespace rates
