#include "app/rights.h"

#include "lib/globals.h"
#include "lib/text.h"
#include "lib/use.h"

namespace app {

using lib::padded;
using lib::upper;

Rights::Rights() : menu_(size_t(kLastRight - kFirstRight + 1), false), checks_(menu_.size(), false) {}

void Rights::LOAD_DERECHOS(const std::string& loginName) {
  const std::string business = lib::G().XU_COMP;
  bool supervisor = false, mayChangePassword = false;
  ACT_USER = loginName;
  ACT_UID = 0;
  bool found = false;
  {
    auto users = lib::USE(nullptr, "USUARIOS", "USUARIOS");
    int width = users->driver().field(users->FieldPos("NOMBRE") - 1).length;
    std::string key = lib::businessKey(business) + padded(upper(loginName), size_t(width));
    if (users->Seek(key)) {
      found = true;
      ACT_UID = int(users->N("CODIGO"));
      supervisor = users->N("SUPERVISOR") == 1;
      mayChangePassword = users->HasField("PERMISO1") && users->N("PERMISO1") == 1;
    }
  }
  menu_.assign(menu_.size(), supervisor);
  checks_.assign(checks_.size(), false);
  if (found) {
    auto menus = lib::USE(nullptr, "MENUS", "MENUS");
    std::string prefix = lib::businessKey(business) + lib::STR(ACT_UID, 8);
    menus->SetScope(lib::Value::chars(prefix), lib::Value::chars(prefix));
    for (menus->GoTop(); !menus->Eof(); menus->Skip()) {
      int id = int(menus->N("ID"));
      if (inRange(id)) menu_[size_t(id - kFirstRight)] = supervisor || menus->L("CHECK_ID");
    }
  }
  for (int id : {2009, 3232, 3386}) menu_[size_t(id - kFirstRight)] = true;
  if (found && supervisor) menu_[size_t(2000 - kFirstRight)] = true;
  if (found && mayChangePassword) menu_[size_t(2904 - kFirstRight)] = true;
  editCache_.clear();
}

bool Rights::GET_RIGHTS(int id) const {
  if (!loginRequired || !inRange(id)) return false;
  return !menu_[size_t(id - kFirstRight)];
}

bool Rights::GET_CHECKS(int id) const {
  if (!loginRequired || !inRange(id)) return false;
  return checks_[size_t(id - kFirstRight)];
}

bool Rights::GET_R_EDIT(int id) {
  if (ACT_NEG.empty()) return GET_RIGHTS(id);
  auto& cache = editCache_[ACT_NEG];
  auto it = cache.find(id);
  if (it != cache.end()) return it->second;
  return cache[id] = GET_RIGHTS(id);
}

void Rights::setCheck(int id, bool checked) {
  if (inRange(id)) checks_[size_t(id - kFirstRight)] = checked;
}

void Rights::setAllChecks(bool checked) {
  checks_.assign(checks_.size(), checked);
}

}  // namespace app
