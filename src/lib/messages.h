// Message boxes as the data layer and start-up raise them. The window layer installs a
// sink that shows real message boxes; until then (and in tests) a sink records them.
#pragma once

#include <string>
#include <vector>

namespace lib {

// The Win32 numbers the program's code is written with.
enum MessageFlags : int {
  MB_OK = 0x0,
  MB_OKCANCEL = 0x1,
  MB_ABORTRETRYIGNORE = 0x2,
  MB_YESNOCANCEL = 0x3,
  MB_YESNO = 0x4,
  MB_RETRYCANCEL = 0x5,
  MB_ICONHAND = 0x10,
  MB_ICONSTOP = 0x10,
  MB_ICONERROR = 0x10,
  MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30,
  MB_ICONWARNING = 0x30,
  MB_ICONINFORMATION = 0x40,
  MB_ICONASTERISK = 0x40,
};

enum MessageAnswer : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows the message and returns the button pressed.
  virtual int show(const std::string& text, const std::string& title, int flags) = 0;
};

struct ShownMessage {
  std::string text, title;
  int flags = 0;
};

// Keeps every message and answers OK (or what it is told to answer).
class RecordingSink : public MessageSink {
 public:
  int show(const std::string& text, const std::string& title, int flags) override;
  std::vector<ShownMessage> shown;
  std::vector<int> answers;  // consumed from the front; IDOK when empty
};

}  // namespace lib
