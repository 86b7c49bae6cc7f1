// The progress window of long operations (template WAIT): a headline (301), three lines
// (500-502), the elapsed time (503, or the caption while minimised) and Cancel (2). While
// it is open its owner is disabled; the process polls CANPRINT() and lets window messages
// run through PUT_TEXT.
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

  int OnCOMMAND(int id, int notification) override;
  // For scripts that act while a run goes on: called after every PUT_TEXT of any progress
  // window (the window may be cancelled from it).
  static std::function<void(WAIT&)>& putTextHook();
  void OnTIMER(int id) override;
  std::string elapsedText() const;

 private:
  WDIAG* owner_;
  int64_t started_ = 0;
  int calls_ = 0;
  bool cancelled_ = false;
  bool done_ = false;
  std::string caption_;
};

// Lets pending window messages run (and virtual timers that fell due).
void pumpWindowMessages();

}  // namespace win
