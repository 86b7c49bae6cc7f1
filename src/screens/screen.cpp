#include "screens/screen.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "lib/globals.h"
#include "lib/use.h"
#include "win/main_frame.h"

namespace screens {

SCREEN::SCREEN(std::string dialog, std::string negocio, int menuId) : DIALOG(std::move(dialog)), MENU_ID(menuId) {
  NEGOCIO = std::move(negocio);
  // A menu entry is opening this screen: the entry's id is still remembered until the
  // screen logs its opening.
  if (int entry = lib::G().XID_MENU) HELP_TOPIC = std::to_string(entry);
}

SCREEN::~SCREEN() {
  tables_.clear();  // a screen never taken down still releases what it opened
}

void SCREEN::SHOW_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(MENU_ID, this, NEGOCIO);
}

void SCREEN::HIDE_MENU() {
  if (win::MainFrame* frame = win::MainFrame::instance()) frame->MENUSET(0, this, NEGOCIO);
}

std::string SCREEN::name() const {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(*this).name();
  std::free(demangled);
  if (size_t colon = name.rfind("::"); colon != std::string::npos) name.erase(0, colon + 2);
  return name;
}

std::string SCREEN::routine(const std::string& method) const {
  return name() + ":" + method;
}

lib::WDBTable* SCREEN::USE(const std::string& table, const std::string& tag) {
  tables_.push_back(lib::USE(this, table, tag));
  return tables_.back().get();
}

void SCREEN::CerrarBases() {
  for (auto& t : tables_) lib::KILLTABLA(t);
  tables_.clear();
}

std::string helpTopic(const win::WDIAG* dialog) {
  const SCREEN* outermost = nullptr;
  for (const win::WDIAG* d = dialog; d; d = d->oParent) {
    const auto* screen = dynamic_cast<const SCREEN*>(d);
    if (!screen) continue;
    if (!screen->HELP_TOPIC.empty()) return screen->HELP_TOPIC;
    outermost = screen;
  }
  return outermost ? outermost->name() : "INDEX";
}

namespace detail {

void takeDown(SCREEN* screen) {
  if (screen->window()) {
    screen->Executing_CloseIt = 1;
    screen->lDestroyed = true;
    screen->destroyWindow();  // closes the tables too
  } else {
    screen->OnNCDESTROY();  // the tables opened before the window
  }
  delete screen;
}

}  // namespace detail

}  // namespace screens
