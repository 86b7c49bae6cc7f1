// "Tabla de Idiomas" (3141): the guests' languages with the captions of the printed
// reservation confirmation, the texts of the pre-printed registration card (IDIOMA2) and of
// the two frequent-guest mails (IDIOMA3), and the language code of the telephone switch. A
// changed code is carried into the guarantee-type messages and the reservations; a deleted
// one is blanked there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screens/code_list.h"
#include "screens/screen.h"

namespace guests {

screens::CodeListDefinition languages();

// "Textos para Tarjeta de Registro": the card's 16 lines, the two voucher lines, the rate
// caption, and the 23 captions of "Otros Datos" kept in a working list until "Guardar".
class IDIOMA2 : public screens::SCREEN {
 public:
  IDIOMA2(screens::LIST_SCREEN* list, const std::string& negocio, uint32_t recno);
  void INIT() override;

 private:
  void OTROS_DATOS();
  void GUARDAR();

  screens::LIST_SCREEN* LIST;
  const uint32_t RECNO;
  lib::WDBTable* IDIOMAS = nullptr;
  std::vector<std::string> CAPTIONS;  // the 23 captions as "Otros Datos" left them
};

// "Texto para Email ": the title and body of one of the frequent-guest mails (kind 1, the
// registration; 2, the withdrawal), the guest's merge fields offered for the body.
class IDIOMA3 : public screens::SCREEN {
 public:
  IDIOMA3(screens::LIST_SCREEN* list, const std::string& negocio, uint32_t recno, int kind);
  void INIT() override;

 private:
  void AGREGAR_CAMPO();
  void ACEPTAR();

  screens::LIST_SCREEN* LIST;
  const uint32_t RECNO;
  const int KIND;
  lib::WDBTable* IDIOMAS = nullptr;
};

}  // namespace guests
