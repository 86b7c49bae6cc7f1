// The toolbar MTOOLBAR: a strip along the top of the main window with the on-screen
// keyboard button (236), the business-unit selector (601) and the user abbreviation (999).
// Choosing another business asks for the credentials again in CHANGE_NEG; the main window
// does what follows an accepted or cancelled change.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win/wdiag.h"

class QToolBar;

namespace app {

class MTOOLBAR : public win::WDIAG {
 public:
  explicit MTOOLBAR(QToolBar* host);

  // The business entries of NEGOCIOS, by DESCRIP.
  void loadBusinesses();
  std::string GET_NEGOCIO() const;
  // Positions the selector on that code (the first entry when empty or unknown) and sets
  // the logo globals from it.
  void SETNEGOCIO(const std::string& code);
  void SetUser(const std::string& abbreviation);

  // The user the toolbar remembers (cleared while a business change asks for credentials).
  std::string user;
  // The business that is current (the selector shows it unless a change is being asked).
  std::string current;

  // Set by the main window: a business was chosen in the selector.
  std::function<void(const std::string& code)> onBusinessChosen;

 private:
  struct Business {
    std::string code, logo, logo2;
  };
  void readLogos(const std::string& code);
  std::vector<Business> businesses_;
};

// Opens the help topic AYUDA/<id>.HTML of the program folder in the desktop's browser;
// false (after a notice) when the topic file does not exist.
bool showHelpTopic(int topicId);

}  // namespace app
