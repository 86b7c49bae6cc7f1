// The balances and counts of a register's closings, opened from the closing history:
// HCAJAS3 "Saldos de Cierre" — a closed period's balance per currency (DET_HCA2), corrected
// in place under the record's lock — and HCAJAS6 "Arqueos de Ajuste" — the register's
// additional counts (DET_HCA3) and, under the one chosen, the amounts counted (DET_HCA4).
#pragma once

#include <memory>
#include <string>

#include "screens/list_screen.h"

namespace frontcash {

class HCAJAS3 : public screens::LIST_SCREEN {
 public:
  // `period`: business unit + register + start, the key of the period's balances.
  HCAJAS3(const std::string& negocio, std::string period);

 protected:
  void MontarColumnas() override;
  void ConfigBrow() override;

 private:
  bool TECLA(int qtKey, const std::string& text);
  const std::string period_;
};

class HCAJAS6 : public screens::LIST_SCREEN {
 public:
  HCAJAS6(const std::string& negocio, std::string caja);

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void CerrarBases() override;

 private:
  // Grid 700 on the amounts of the count under the cursor of 701.
  void MONTOS();
  const std::string caja_;
  lib::WDBTable* DET_HCA3 = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB2;
};

}  // namespace frontcash
