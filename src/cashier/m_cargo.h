// The transaction-code editor (dialog AGREGAR_CARGOS "Edición de Cargo", its pages
// AGREGAR_CARGOS1 ... 6) over the CARGOS list: every field and flag of the code, the taxes
// it applies, its components when it is composite ("Descomponer Cargo"), its fixed
// sub-transactions and the users allowed to post under it. Components, sub-transactions and
// users are edited on working copies (cargo_copies.h) written back on "Aceptar".
//
// A composite code has no taxes, no "Impuestos Incluidos" and no accounting link: its
// components carry them. A code with stored components cannot stop being composite; a code
// that is a component of another cannot become one. A changed code is carried into every
// table that names it (code_references.h).
#pragma once

#include <memory>
#include <string>

#include "screens/editor.h"
#include "win/browse.h"

namespace cashier {

class CARGOS;

class M_CARGO : public screens::EDITOR, public win::ADD2BROWSE {
 public:
  M_CARGO(CARGOS* list, const std::string& negocio, Mode mode);

  // The buttons of the components and the sub-transactions.
  void AGREGA_COMPONENTE();
  void BORRA_COMPONENTE();
  void AGREGA_SUBTRANS();
  void BORRA_SUBTRANS();

 protected:
  void AbrirBases() override;
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;
  void CerrarBases() override;

 private:
  void COMPUESTO_CHANGED();
  void APLICA_COMPUESTO(bool composite);
  void HABILITA();
  void GRABA_EXTRAS(lib::WDBTable& t) const;
  void GRABA_DETALLES(const std::string& code);
  std::set<std::string> IMPUESTOS_MARCADOS() const;
  // The code as stored (modifying) or as typed (adding): the one the tables know it by.
  std::string CODIGO_GUARDADO() const;
  void TOGGLE(lib::WDBTable& copy, win::WBLISTBOX& grid, const std::string& field);
  static void MUESTRA(win::WBLISTBOX& grid, bool added);

  CARGOS* const CARGOS_;
  lib::WDBTable* COMPONENTES = nullptr;  // W_TRAN
  lib::WDBTable* SUBTRANS = nullptr;     // W_TRA3
  lib::WDBTable* USUARIOS = nullptr;     // W_TRA2
  std::unique_ptr<win::WBLISTBOX> OB_COMP, OB_SUB, OB_USER;
  bool composite_ = false;  // "Descomponer Cargo" as last accepted
};

}  // namespace cashier
