// "Impresoras Pre-Definidas en Red" (menu 2782): the printer profiles of the business unit,
// the codes documents and registers name instead of a printer. Its editor E_PREDET_P keeps
// the code and description in the table and, in this workstation's SALTMERE.INI, what stands
// behind the code here: the printer (or the patterns that find it), the display station and
// three time windows with their own printer and station.
#pragma once

#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace frontcash {

class PREDET_P : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 2782;
  PREDET_P(const std::string& dialog, const std::string& negocio);

  void ADD_PRINTER();
  void MOD_PRINTER();
  void DEL_PRINTER();

 protected:
  void AbrirBases() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MOD_PRINTER(); }
};

class E_PREDET_P : public screens::EDITOR {
 public:
  E_PREDET_P(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode);

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  void CARGAR() override;
  bool VALIDA(const std::string& code) override;
  bool AGREGA(const std::string& code) override;
  bool MODIFICA(const std::string& code) override;

 private:
  // The workstation's keys of the saved profile; the messages of what could not be kept.
  void GUARDA_ESTACION(const std::string& code);
  std::string highlighted_;  // the profile under the list's cursor when the editor opened
};

}  // namespace frontcash
