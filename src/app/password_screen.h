// "Cambio de Clave de Acceso" (menu 2904): the logged-in user changes their own password,
// with the checks of the mandatory renewal.
#pragma once

#include <string>

#include "win/wdiag.h"

namespace app {

class CH_PASSWD : public win::WDIAG {
 public:
  CH_PASSWD(win::WDIAG* owner, const std::string& business, const std::string& loginName);

 private:
  void accept();
  std::string business_, loginName_;
  int misses_ = 0;
};

void registerPasswordScreen();

}  // namespace app
