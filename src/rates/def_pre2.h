// "Definición de Tarifas de Hospedaje" in period mode (DEF_PRE2): the rate type ("Tarifario:")
// and the agency key ("Agencias:": the agencies with prices of their own, then "Tarifa
// General", preselected) choose the periods listed (grid 701, one row per distinct range of
// the TIP_PREC period records); choosing a period makes its missing room-type records and
// shows them in the price grid. "Agregar" and "Editar" open the period editor DEF_PRE3,
// "Borrar" deletes the period. A period with level analysis gets its level rows when it is
// made or its range changes, and again from the new prices once its prices were edited (on
// choosing another period, agency or rate type, and on leaving the screen).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "rates/niveles.h"
#include "rates/periodo.h"
#include "rates/precios.h"

namespace rates {

class DEF_PRE2 : public PRECIOS {
 public:
  DEF_PRE2(const std::string& dialog, const std::string& negocio);
  void INIT() override;

  void AGREGAR();
  void EDITAR();
  void BORRAR();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void CerrarBases() override;
  void CAMBIO_PRECIO() override { editado_ = true; }

 private:
  std::string AGENCIA() const;
  void CAMBIO_SELECCION();
  void CARGA_PERIODOS(const std::optional<Periodo>& select = std::nullopt);
  std::optional<Periodo> PERIODO_ELEGIDO() const;
  void ELIGE_PERIODO();
  // Makes the records of the period missing for a room type of the business unit.
  void COMPLETA(const Periodo& p);
  // The level rows of the edited period again, once its prices changed.
  void REGENERA();
  bool DEF_PRE3(const std::optional<Periodo>& former);
  PeriodoNivel nivel(const Periodo& p) const;

  lib::WDBTable* PERIODOS = nullptr;  // the working list (T_PERIOD)
  std::unique_ptr<lib::WDBTable> periodos_;
  std::unique_ptr<win::WBLISTBOX> OB_PERIODOS;
  std::string agencia_;
  std::optional<Periodo> mostrado_;  // the period the price grid shows
  bool editado_ = false;
};

}  // namespace rates
