// The program's Qt application. Every entry of program code from the event loop is guarded
// where it is connected (win/entry.h); this is the net under them: an exception that still
// reaches Qt's event delivery is caught there and reported through the entry guard as soon
// as the event loop is free, instead of ending the process.
#pragma once

#include <QApplication>

namespace win {

class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace win
