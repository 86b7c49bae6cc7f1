// "Lista de Huéspedes" (3147, B_HUESP): the repeat guests of the business unit — the guest
// history H_HUES — by name, document or frequent-guest number, members of the frequent-guest
// programme coloured when the programme is on, the chosen guest's phones, address, country
// and notes below the grid, and the guest's reservation history (button 201, B_HUESP2).
// "Editar": the editor E_HUESP, deletion, the requests to the synchronisation service, the
// exchange files, the mail-validity refresh, the frequent-guest membership and the search
// for likely duplicates.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace guests {

class B_HUESP : public screens::LIST_SCREEN {
 public:
  static constexpr int kMenuId = 3147;
  B_HUESP(const std::string& dialog, const std::string& negocio);

  void ADD_HUESP();
  void MOD_HUESP();
  void DEL_HUESP();
  void BORRAR_SYNC();   // "Borrar Syncronización"
  void SYNC_FECHAS();   // "Syncronizar por Fechas"
  void SYNC_PROFILE();  // "Syncronizar Profile Actual"
  void EXPORTAR();
  void IMPORTAR();
  void ACT_MAILS();         // "Actualizar mails válidos"
  void REG_FRECUENTE();     // "Registrar como Cliente Frecuente"
  void QUITAR_FRECUENTE();  // "Quitar Membresía de Cliente Frecuente"
  void ACTIVAR_FRECUENTE();
  void DUPLICADOS();  // "Buscar Duplicados..."
  void HISTORIA();    // button 201

  // The detail panel for the guest under the cursor.
  void MUESTRA_DETALLE();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { MOD_HUESP(); }

 private:
  bool programaFrecuente() const;
  bool hayHuesped();
  lib::WDBTable *PAISES = nullptr, *DET_PAIS = nullptr;
  bool frecuentes_ = false;  // CLIE_FREC of F_HOTEL3 when the screen opened
};

}  // namespace guests
