// The screen openings logged for one menu entry (LOG_DIAG on its menu id), newest last:
// what a supervisor sees by right-clicking the entry.
#pragma once

#include <memory>
#include <string>

#include "win/browse.h"
#include "win/wdiag.h"

namespace lib {
class WDBTable;
}

namespace app {

class LOG_DIAG_VIEW : public win::WDIAG, public win::ADD2BROWSE {
 public:
  LOG_DIAG_VIEW(const std::string& business, int menuId, const std::string& caption);
  void OnNCDESTROY() override;

  std::unique_ptr<lib::WDBTable> LOG_DIAG;
  std::unique_ptr<win::WBLISTBOX> OB;
};

void registerDialogLogViewer();

}  // namespace app
