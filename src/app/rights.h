// The rights of the logged-in user in the active business: one flag per rights identifier
// 2000 to 7000 (position id - 1999), and the capture marks shown while rights are designed
// on the real menu. Identifiers outside that range are never restricted.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace app {

inline constexpr int kFirstRight = 2000;
inline constexpr int kLastRight = 7000;

class Rights {
 public:
  Rights();
  // Fills the vectors for `loginName` in the active business (XU_COMP): everything for a
  // supervisor, the user's MENUS records otherwise, then the rights everybody holds (2009,
  // 3232, 3386), user maintenance (2000) for supervisors and the own password change (2904)
  // for users allowed to change it. A name that matches nobody keeps only the first three.
  void LOAD_DERECHOS(const std::string& loginName);

  // True when the entry must be greyed.
  bool GET_RIGHTS(int id) const;
  bool GET_CHECKS(int id) const;
  // GET_RIGHTS with a cache per business.
  bool GET_R_EDIT(int id);
  void clearEditCache() { editCache_.clear(); }

  void setCheck(int id, bool checked);
  void setAllChecks(bool checked);
  void setChecks(const std::vector<bool>& checks) {
    if (checks.size() == checks_.size()) checks_ = checks;
  }
  bool granted(int id) const { return !GET_RIGHTS(id); }

  std::string ACT_USER;
  int ACT_UID = 0;
  std::string ACT_NEG;
  bool No_Neg = false;
  bool Captura = false;
  bool loginRequired = true;  // Do_Login: always for this module

  const std::vector<bool>& MENU_VEC() const { return menu_; }
  const std::vector<bool>& MENU_CHK() const { return checks_; }

 private:
  static bool inRange(int id) { return id >= kFirstRight && id <= kLastRight; }
  std::vector<bool> menu_, checks_;
  std::map<std::string, std::map<int, bool>> editCache_;  // MENU_EDIT: business -> id -> denied
};

}  // namespace app
