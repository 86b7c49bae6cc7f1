#include "win/wait.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

#include "lib/globals.h"
#include "win/dialog_window.h"
#include "win/timers.h"

namespace win {

namespace {
constexpr int kClockTimer = 1;
}

void pumpWindowMessages() {
  QCoreApplication::processEvents();
  fireDueTimers();
}

WAIT::WAIT(WDIAG* owner) : owner_(owner) {
  if (owner_ && owner_->window()) owner_->EnableWindow(false);
  if (!createTopLevel(owner, "WAIT")) return;
  caption_ = Caption();
  SetDlgItemText(301, "Preparando ambiente...");
  started_ = lib::G().clock->ticks();
  SetTimer(kClockTimer, 1500);
  if (QWidget* f = frame()) {
    f->show();
    f->raise();
  }
}

WAIT::~WAIT() {
  TERMINAR();
}

std::string WAIT::elapsedText() const {
  int64_t secs = (lib::G().clock->ticks() - started_) / 1000;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3lld:%02lld", static_cast<long long>(secs / 60), static_cast<long long>(secs % 60));
  return buf;
}

void WAIT::OnTIMER(int) {
  QWidget* f = frame();
  if (!f) return;
  if (f->isMinimized()) {
    f->setWindowTitle(QString::fromStdString(elapsedText()));
  } else {
    if (f->windowTitle().toStdString() != caption_) f->setWindowTitle(QString::fromStdString(caption_));
    SetDlgItemText(503, elapsedText());
  }
  QCoreApplication::processEvents();
}

void WAIT::PUT_TEXT(const std::string& headline, const std::string& line1, const std::string& line2,
                    const std::string& line3, bool pump) {
  if (!window()) return;
  if (!headline.empty()) SetDlgItemText(301, headline);
  if (!line1.empty()) SetDlgItemText(500, line1);
  if (!line2.empty()) SetDlgItemText(501, line2);
  if (!line3.empty()) SetDlgItemText(502, line3);
  bool fiftieth = ++calls_ >= 50;
  if (pump || fiftieth) pumpWindowMessages();
  if (fiftieth) {
    if (QWidget* f = frame()) f->repaint();
    calls_ = 0;
  }
  if (putTextHook()) putTextHook()(*this);
}

std::function<void(WAIT&)>& WAIT::putTextHook() {
  static std::function<void(WAIT&)> hook;
  return hook;
}

void WAIT::UPDATE() {
  if (QWidget* f = frame()) f->repaint();
  pumpWindowMessages();
}

int WAIT::OnCOMMAND(int id, int) {
  if (id == IDCANCEL && !cancelled_) {
    cancelled_ = true;
    SetDlgItemText(301, "Cancelando proceso...");
    for (int line : {500, 501, 502}) SetDlgItemText(line, "");
    KillTimer(kClockTimer);
  }
  return 0;
}

void WAIT::TERMINAR() {
  if (done_) return;
  done_ = true;
  if (owner_) {
    const auto& all = openDialogs();
    if (std::find(all.begin(), all.end(), owner_) != all.end()) owner_->EnableWindow(true);
  }
  if (window()) {
    Executing_CloseIt = 1;
    destroyWindow();
  }
}

}  // namespace win
