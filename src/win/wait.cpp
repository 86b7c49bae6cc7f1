#include "win/wait.h"

#include <QApplication>
#include <QProgressBar>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "lib/globals.h"
#include "win/dialog_window.h"
#include "win/timers.h"

namespace win {

namespace {

constexpr int kClockTimer = 1;
constexpr int kRemaining = 504, kBar = 505;

// Minutes (three wide) and seconds, as the clock shows them.
std::string minutesAndSeconds(int64_t secs) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3lld:%02lld", static_cast<long long>(secs / 60), static_cast<long long>(secs % 60));
  return buf;
}

}  // namespace

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
  return minutesAndSeconds((lib::G().clock->ticks() - started_) / 1000);
}

void WAIT::SET_TOTAL(uint64_t total) {
  total_ = total;
  stepsDone_ = 0;
  stretchStarted_ = lib::G().clock->ticks();
  if (!window()) return;
  if (auto* bar = qobject_cast<QProgressBar*>(window()->control(kBar))) {
    bar->setTextVisible(false);  // too narrow for a percentage: the time left says more
    bar->setRange(0, int(std::min<uint64_t>(total, INT_MAX)));
    bar->setValue(0);
  }
  SetDlgItemText(kRemaining, "");
  ShowItem(kRemaining, total > 0);
  ShowItem(kBar, total > 0);
}

void WAIT::ADVANCE(uint64_t steps) {
  if (total_ == 0) return;
  stepsDone_ = std::min(total_, stepsDone_ + std::min(steps, total_));
  if (!window()) return;
  if (auto* bar = qobject_cast<QProgressBar*>(window()->control(kBar))) {
    // A total beyond the bar's range moves it in proportion.
    int value = total_ <= uint64_t(bar->maximum()) ? int(stepsDone_)
                                                   : int(double(stepsDone_) / double(total_) * bar->maximum());
    if (bar->value() != value) bar->setValue(value);
  }
}

std::string WAIT::remainingText() const {
  if (total_ == 0 || stepsDone_ == 0) return "";
  const int64_t elapsed = lib::G().clock->ticks() - stretchStarted_;
  if (elapsed < kEstimateAfterMs || double(stepsDone_) < kEstimateAfterShare * double(total_)) return "";
  const long double leftMs =
      static_cast<long double>(elapsed) * static_cast<long double>(total_ - stepsDone_) / stepsDone_;
  // Rounded up, so that it says 0:00 only when all is done; a run that says it needs more
  // than the field holds shows its largest value.
  const int64_t secs = std::min<int64_t>(int64_t(std::ceil(leftMs / 1000)), 999 * 60 + 59);
  return "Faltan" + minutesAndSeconds(secs);
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
  if (total_ > 0) SetDlgItemText(kRemaining, remainingText());
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
