#include "parameters/parameter_screen.h"

#include "lib/record_protocol.h"
#include "parameters/parameter_records.h"

namespace parameters {

namespace {

constexpr int kTabs = 200;

}  // namespace

PARAMETER_SCREEN::PARAMETER_SCREEN(std::string dialog, std::string negocio, std::vector<Page> pages, int tabWidth)
    : SCREEN(std::move(dialog), std::move(negocio)), pages_(std::move(pages)), tabWidth_(tabWidth) {}

lib::WDBTable* PARAMETER_SCREEN::PARAMETRO(const std::string& table) {
  parameters_.push_back(USE(table, table));
  return parameters_.back();
}

void PARAMETER_SCREEN::INIT() {
  ABRIRBASES();
  if (!Init(nullptr, DIALOG)) return;
  if (!pages_.empty()) {
    MAINTABPAGE(DIALOG, kTabs, "", 8, tabWidth_);
    for (const Page& p : pages_) ADDTABPAGE(p.dialog, p.name);
  }
  CONTROLES();
  CREATE(DIALOG);
  LOAD_LISTAS();
  LOAD_DATOS();
  if (!pages_.empty()) ACTIVATEPAGE(1);
}

void PARAMETER_SCREEN::LOAD_DATOS() {
  for (lib::WDBTable* t : parameters_) CREA_PARAMETRO(*t, NEGOCIO);
  form_.LOAD();
  form_.FILTROS();
}

void PARAMETER_SCREEN::GRABA(lib::WDBTable* table) {
  CREA_PARAMETRO(*table, NEGOCIO);
  lib::MODIFY(*table, [&] { form_.SAVE(table); });
}

}  // namespace parameters
