// The guest editor (E_HUESP, template MODIF_B_H with the pages "Datos Personales"
// MODIF_B_H2 and "Datos Reservas" MODIF_B_H3) over "Lista de Huéspedes": every field of the
// guest history record, and the guest's family members on a working copy (D_HUESW) until the
// guest is saved. Saving refuses a second guest with the same name, surname and document in
// the business unit; gives a new guest its code and synchronisation id from the business
// unit's serial counters; marks every part of the profile for the synchronisation; carries a
// changed document number into the guest's notes (ENC_NOTA) and family members (D_HUES).
// Opened "with activation" it also activates the guest's frequent-guest membership.
#pragma once

#include <memory>
#include <string>

#include "screens/editor.h"
#include "win/browse.h"

namespace guests {

class E_HUESP : public screens::EDITOR, public win::ADD2BROWSE {
 public:
  E_HUESP(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode, bool activar = false);

  void ADD_FAMILIAR();  // 201
  void MOD_FAMILIAR();  // 202
  void DEL_FAMILIAR();  // 203

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
  void LOAD_ESTADOS();
  void writeGuest();
  void CAMBIA_NOTAS(const std::string& before, const std::string& after);
  void GRABA_FAMILIARES();
  bool E_D_HUES(bool adding);
  void refreshFamily(uint32_t recno);

  const bool activar_;
  lib::WDBTable* WORK = nullptr;  // the family members being edited
  std::unique_ptr<win::WBLISTBOX> OB_FAMILIA;
};

// The serial counter named by `field` of the business unit's F_HOTEL4 (COD_HUESP,
// SERIAL_SBR): its next number trimmed, or "" when the business unit names no counter or
// the counter gives its not-found answer.
std::string SERIAL_HUESPED(const std::string& negocio, const std::string& field);

}  // namespace guests
