#include "screens/registry.h"

#include <map>

#include "win/entry.h"

namespace screens {

namespace {

std::map<std::string, ScreenOpener>& openers() {
  static std::map<std::string, ScreenOpener> all;
  return all;
}

std::vector<BusinessCheck>& businessChecks() {
  static std::vector<BusinessCheck> all;
  return all;
}

std::vector<void (*)()>& registrations() {
  static std::vector<void (*)()> all;
  return all;
}

}  // namespace

void registerScreen(const std::string& screenClass, ScreenOpener opener) {
  openers()[screenClass] = std::move(opener);
}

const ScreenOpener* screenOpener(const std::string& screenClass) {
  auto it = openers().find(screenClass);
  return it == openers().end() ? nullptr : &it->second;
}

void editMenu(int menuId, std::vector<win::EditEntry> entries) {
  win::registerEditMenu(menuId, std::move(entries));
}

win::EditEntry separator() {
  return {0, "", {}};
}

void onBusinessEntered(BusinessCheck check) {
  businessChecks().push_back(std::move(check));
}

void BUSINESS_ENTERED(const std::string& negocio) {
  for (const BusinessCheck& check : businessChecks()) win::fromEventLoop([&] { check(negocio); });
}

Registration::Registration(void (*registration)()) {
  registrations().push_back(registration);
}

void REGISTER_SCREENS() {
  static bool done = false;
  if (done) return;
  done = true;
  for (auto* registration : registrations()) registration();
}

}  // namespace screens
