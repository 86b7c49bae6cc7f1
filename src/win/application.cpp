#include "win/application.h"

#include "win/entry.h"

namespace win {

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportLater(std::current_exception());
    return false;
  }
}

}  // namespace win
