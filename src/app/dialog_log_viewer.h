// The screen openings logged for one menu entry (LOG_DIAG on its menu id), newest last:
// what a supervisor sees by right-clicking the entry.
#pragma once

#include <string>

#include "screens/list_screen.h"

namespace app {

class LOG_DIAG_VIEW : public screens::LIST_SCREEN {
 public:
  LOG_DIAG_VIEW(const std::string& business, int menuId, const std::string& caption);
  void INIT() override;

 protected:
  void ConfigBrow() override;

 private:
  int menuId_;
  std::string caption_;
};

void registerDialogLogViewer();

}  // namespace app
