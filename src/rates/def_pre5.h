// "Definición de Promociones" (menu 3745, DEF_PRE5): the promotion periods of a rate type
// ("Tarifario :"), one row per promotion and range (grid 701), and the prices of the one
// chosen in the price grid. "Agregar" and "Editar" open the promotion editor DEF_PRE6,
// "Borrar" deletes the period and takes the promotion from every agency, "Asig. Agencia"
// marks the agencies that take part (DEF_PRE8).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "rates/periodo.h"
#include "rates/precios.h"

namespace rates {

class DEF_PRE5 : public PRECIOS {
 public:
  static constexpr int kPromoMenuId = 3745;
  DEF_PRE5(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void AGREGAR();
  void EDITAR();
  void BORRAR();
  void ASIGNA_AGENCIAS();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void CerrarBases() override;

 private:
  void CARGA_PERIODOS(const std::optional<Periodo>& select = std::nullopt);
  std::optional<Periodo> PERIODO_ELEGIDO() const;
  void ELIGE_PERIODO();
  // Another period of the rate type has promotion `promo` (`except` is the one edited).
  bool PROMOCION_USADA(const std::string& promo, const std::optional<Periodo>& except) const;
  bool DEF_PRE6(const std::optional<Periodo>& former);
  std::string clave(const Periodo& p) const;

  lib::WDBTable* PERIODOS = nullptr;
  std::unique_ptr<lib::WDBTable> periodos_;
  std::unique_ptr<win::WBLISTBOX> OB_PERIODOS;
  std::optional<Periodo> mostrado_;
};

// The promotion flag field of an agency for promotion code "01" … "50" ("" for others).
std::string CAMPO_PROMO(const std::string& promo);

}  // namespace rates
