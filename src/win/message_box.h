// Message boxes. MESSAGE_BOX shows a standard message box owned by the main window,
// whatever owner is passed, and returns the button pressed as Win32 numbers it (1 = OK).
// Flags are the Win32 ones: buttons in the low four bits (0 OK, 1 OK/Cancel, 2
// Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), the icon in the next
// four (16 error, 32 question, 48 exclamation, 64 information).
#pragma once

#include <string>

#include "lib/messages.h"

namespace win {

int MESSAGE_BOX(const void* owner, const std::string& text, const std::string& title, int flags = 0);

// The sink that shows real Qt message boxes; the program installs it in lib::G().messages.
class QtMessageSink : public lib::MessageSink {
 public:
  int show(const std::string& text, const std::string& title, int flags) override;
};

// Buttons of a box, as answers: the first one is what Enter presses.
int firstButton(int flags);
bool offersButton(int flags, int answer);

}  // namespace win
