// The cash-count screens of a front-desk register, over the data layer of cash_count.h:
// three grids of one row per currency of the business unit — 700 "Total de Dinero Contado"
// (the operator types the money counted into "Monto"), 701 "Saldo Final" (the balance the
// register should hold) and 702 "Faltante o Sobrante" (their difference, recomputed after
// every entry) — and the processing (OK or F12), which records the count and posts every
// difference to the period's register folio, once.
//
// HCAJAS4 (dialog HCAJAS4) is the closing count: it ends the period and closes the register.
// HCAJAS5 (dialog HCAJAS5) is an additional count over a span entered in 502-505: the
// register stays open. Each is opened over the open/close screen, which stays disabled until
// the count closes; closing the count without processing writes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frontcash/cash_count.h"
#include "screens/screen.h"
#include "win/browse.h"

namespace frontcash {

class ARQUEO_CAJA : public screens::SCREEN, public win::ADD2BROWSE {
 public:
  void INIT() override;

  // The counted amount of `moneda` as the grid holds it (tests and the processing read it).
  lib::Money CONTADO_DE(const std::string& moneda) const;

 protected:
  ARQUEO_CAJA(const std::string& dialog, const std::string& negocio, std::string caja, Period start,
              uint32_t periodRecno, win::WDIAG* owner);

  // Before the window: false when the screen is not to open.
  virtual bool PREPARA() { return true; }
  // After the window exists: the screen's own fields.
  virtual void CAMPOS() {}
  // Records the count with the amounts counted in `rows`; false keeps the screen open.
  virtual bool GRABA(const std::vector<CountRow>& rows) = 0;
  void CerrarBases() override;

  const std::string caja_;
  const Period start_;
  const uint32_t period_;
  std::vector<CountRow> rows_;

 private:
  void LLENA();
  bool TECLA(int qtKey, const std::string& text);
  void DIFERENCIA(const std::string& moneda);
  void PROCESAR();

  win::WDIAG* owner_;
  bool processed_ = false;
  lib::WDBTable *CONTADO = nullptr, *SALDO = nullptr, *FALTANTE = nullptr;
  std::unique_ptr<win::WBLISTBOX> OB, OB2, OB3;
};

// The closing count. Before it opens the operator is asked whether to count at all: without
// a count the register closes on the expected balances ("Fin de Proceso").
class HCAJAS4 : public ARQUEO_CAJA {
 public:
  HCAJAS4(const std::string& negocio, std::string caja, Period start, uint32_t registerRecno, uint32_t periodRecno,
          win::WDIAG* owner);

 protected:
  bool PREPARA() override;
  bool GRABA(const std::vector<CountRow>& rows) override;

 private:
  const uint32_t register_;
};

// The additional count: the register stays open.
class HCAJAS5 : public ARQUEO_CAJA {
 public:
  HCAJAS5(const std::string& negocio, std::string caja, Period start, uint32_t periodRecno, win::WDIAG* owner);

 protected:
  void CAMPOS() override;
  bool GRABA(const std::vector<CountRow>& rows) override;
};

}  // namespace frontcash
