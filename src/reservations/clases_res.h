// The reservation classes #1 ("Clases de Reservaciones #1", TIP_RES1), #2 (TIP_RES2) and the
// super-classes of #1 ("Super-Clases Reservaciones #1", E_T_RES1): one list screen and one
// editor each, alike but for what a kind of class carries. A changed class code is carried
// into the reservations, their history and the source-of-business tables; a deleted class
// leaves the records that referred to it holding its code.
#pragma once

#include <array>
#include <string>

#include "screens/editor.h"
#include "screens/list_screen.h"

namespace reservations {

struct ClassKind {
  std::string screen;            // "TIP_RES1": the screen class and its template
  std::string table;             // ordered by the tag of its name: business unit + code
  int menuId = 0;
  std::array<int, 3> entries{};  // the rights of "Agregar", "Modificar" and "Borrar"
  std::string editor;            // the editor's template
  int references = 0;            // 1 or 2: the class number carried into the reservations (0: none)
  bool flags = false;            // "No visible en Creación de Reservaciones", "... Source of Business"
  bool linked = false;           // the accounting link ("Liga Stat:") and the super-class ("Grupo:")
};

const ClassKind& CLASSES_1();
const ClassKind& CLASSES_2();
const ClassKind& SUPER_CLASSES_1();

class CLASES_RES : public screens::LIST_SCREEN {
 public:
  CLASES_RES(const ClassKind& kind, const std::string& dialog, const std::string& negocio);
  std::string name() const override { return kind_.screen; }

  void ADD_CLASE();
  void MOD_CLASE();
  void DEL_CLASE();

  const ClassKind& kind() const { return kind_; }

 protected:
  void DOBLE_CLICK() override { MOD_CLASE(); }

 private:
  const ClassKind& kind_;
};

class E_CLASE_RES : public screens::EDITOR {
 public:
  E_CLASE_RES(CLASES_RES* list, const std::string& negocio, Mode mode);
  std::string name() const override { return kind_.editor; }

 protected:
  void BIND() override;
  void LOAD_LISTAS() override;
  bool MODIFICA(const std::string& code) override;

 private:
  const ClassKind& kind_;
};

}  // namespace reservations
