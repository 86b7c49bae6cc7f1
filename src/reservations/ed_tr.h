// The guarantee type editor (dialog ED_TR) over BROW_TR: the type's no-show, prepayment,
// confirmation, statistics and mail settings, and its messages per language on a working
// copy shown in the editor's own grid (700). A changed code is carried into the reservations
// of the business unit that carry the old one, and into the type's messages.
#pragma once

#include <memory>
#include <string>

#include "screens/editor.h"
#include "win/browse.h"

namespace reservations {

class ED_TR : public screens::EDITOR, public win::ADD2BROWSE {
 public:
  ED_TR(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

  // The operations of the message buttons.
  void ADD_MENSAJE();
  void MOD_MENSAJE();
  void DEL_MENSAJE();

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
  void MENSAJES_GRID();
  bool hasMessage() const;

  lib::WDBTable* TMP_ED1 = nullptr;  // the working copy of the messages
  std::unique_ptr<win::WBLISTBOX> OB;
};

}  // namespace reservations
