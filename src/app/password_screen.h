// "Cambio de Clave de Acceso" (menu 2904): the logged-in user changes their own password,
// with the checks of the mandatory renewal.
#pragma once

#include <string>

#include "screens/screen.h"

namespace app {

class CH_PASSWD : public screens::SCREEN {
 public:
  CH_PASSWD(const std::string& business, const std::string& loginName)
      : SCREEN("CH_PASSWD", business), loginName_(loginName) {}
  void INIT() override;

 private:
  void accept();
  std::string loginName_;
  int misses_ = 0;
};

void registerPasswordScreen();

}  // namespace app
