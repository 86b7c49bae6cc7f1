// The on-screen keyboard of the login-type windows and the toolbar: the desktop's own
// when one is installed, else a small keyboard of ours that types into the field with the
// focus without taking the focus itself.
#pragma once

#include <string>

class QWidget;

namespace win {

// The desktop keyboards tried, in order.
inline constexpr const char* kDesktopKeyboards[] = {"onboard", "florence", "matchbox-keyboard", "xvkbd"};

// Opens the keyboard; returns the name of the desktop program started, or "" for ours.
std::string openVirtualKeyboard();
// Our keyboard window, or nullptr when it is not open.
QWidget* ownKeyboard();

}  // namespace win
