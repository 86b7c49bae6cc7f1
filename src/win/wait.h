// The progress window of long operations (template WAIT): a headline (301), three lines
// (500-502), the elapsed time (503, or the caption while minimised) and Cancel (2). While
// it is open its owner is disabled; the process polls CANPRINT() and lets window messages
// run through PUT_TEXT.
//
// A run that knows how many steps it takes (the keys of the index it walks) gives the total
// with SET_TOTAL and counts its steps with ADVANCE: the window then shows a progress bar
// (505) and, under the elapsed time, the time left (504), estimated on every tick of the
// clock as elapsed x (total - done) / done over the stretch since SET_TOTAL. Without a total
// the window shows the clock alone. All times are the program clock's (lib::G().clock).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "win/wdiag.h"

namespace win {

class WAIT : public WDIAG {
 public:
  explicit WAIT(WDIAG* owner);
  ~WAIT() override;

  // Writes each non-empty text; lets pending messages run when `pump`, and on every 50th
  // call anyway (repainting then).
  void PUT_TEXT(const std::string& headline, const std::string& line1 = "", const std::string& line2 = "",
                const std::string& line3 = "", bool pump = true);
  void UPDATE();
  bool CANPRINT() const { return !cancelled_; }
  void TERMINAR();

  // Starts a stretch of `total` steps: the bar at 0 of `total`, the estimate measured from
  // now. Each call starts a new stretch (a run of several passes gives each its own); 0
  // hides the bar and the estimate again.
  void SET_TOTAL(uint64_t total);
  // `steps` more done; the bar stops at the total when a run takes more steps than it said.
  void ADVANCE(uint64_t steps = 1);
  uint64_t total() const { return total_; }
  uint64_t done() const { return stepsDone_; }
  // The estimate as control 504 shows it: "Faltan" and minutes:seconds as the clock writes
  // them, rounded up to the second; "" without a total and until the estimate means
  // something (kEstimateAfterMs of the stretch gone and kEstimateAfterShare of it done).
  std::string remainingText() const;
  static constexpr int64_t kEstimateAfterMs = 3000;
  static constexpr double kEstimateAfterShare = 0.02;

  int OnCOMMAND(int id, int notification) override;
  // For scripts that act while a run goes on: called after every PUT_TEXT of any progress
  // window (the window may be cancelled from it).
  static std::function<void(WAIT&)>& putTextHook();
  void OnTIMER(int id) override;
  std::string elapsedText() const;

 private:
  WDIAG* owner_;
  int64_t started_ = 0;
  int64_t stretchStarted_ = 0;
  uint64_t total_ = 0, stepsDone_ = 0;
  int calls_ = 0;
  bool cancelled_ = false;
  bool done_ = false;
  std::string caption_;
};

// Lets pending window messages run (and virtual timers that fell due).
void pumpWindowMessages();

}  // namespace win
