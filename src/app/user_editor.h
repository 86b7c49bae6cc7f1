// The editors of the users screen: a user ("Edición de Usuario"), a profile and the
// business's password parameters ("Parámetros Globales de Claves").
#pragma once

#include <string>

#include "screens/screen.h"

namespace app {

class USUARIOS;

// How many supervisors the business has.
int supervisorsOf(const std::string& business);

class USER_EDITOR : public screens::SCREEN {
 public:
  enum Mode { kAdd = 1, kModify = 2 };
  USER_EDITOR(USUARIOS* list, const std::string& business, Mode mode);
  void INIT() override;

 private:
  void LOAD_IDIOMAS();
  void LOAD_SUBBASES();
  void readRecord();
  void SAVE_DATOS();

  USUARIOS* list_;
  Mode mode_;
  uint32_t XRECNO = 0;
  bool wasSupervisor_ = false;
  std::string oldPassword_;  // as stored (scrambled or plain)
};

class PROFILE_EDITOR : public screens::SCREEN {
 public:
  enum Mode { kAdd = 1, kModify = 2 };
  PROFILE_EDITOR(USUARIOS* list, const std::string& business, Mode mode);
  void INIT() override;

 private:
  void SAVE_DATOS();
  USUARIOS* list_;
  Mode mode_;
};

class PASSWORD_PARAMS : public screens::SCREEN {
 public:
  PASSWORD_PARAMS(USUARIOS* list, const std::string& business);
  void INIT() override;

 private:
  void SAVE_DATOS();
  USUARIOS* list_;
};

}  // namespace app
