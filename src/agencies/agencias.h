// "Agencias de Viajes" (menu 3125): the agencies of the business unit — travel agencies,
// companies and other booking sources — with their rate sub-type and source-of-business
// segments beside them. Their editor is EDIT_AGENCIA; a deleted agency takes its own rows
// with it (AGENCY_ROWS) while reservations and statistics keep its code.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace agencies {

class AGENCIAS : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3125;
  AGENCIAS(const std::string& dialog, const std::string& negocio);

  void ADD_AGENCIA();
  void MOD_AGENCIA();
  void DEL_AGENCIA();
  // "Registro de Allotment", "Reporte de Agencias": screens of their own, not in this
  // version; "Registro de Comision" for an agency with individual commissions.
  void ALLOTMENT();
  void REPORTE();
  void REG_COMISION();

 protected:
  void AbrirBases() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MOD_AGENCIA(); }

 private:
  std::string segmentText(int set, const char* segmentField, const char* detailField, bool detail) const;
  lib::WDBTable *ENC_TREL = nullptr, *ENC_SEG = nullptr, *DET_SEG = nullptr;
};

}  // namespace agencies
