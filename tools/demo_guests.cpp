#include "tools/demo_guests.h"

#include <array>
#include <tuple>

#include "tools/demo_data.h"

namespace initdb {

namespace {

struct Entry {
  const char *code, *descrip;
};

constexpr std::array<Entry, 5> kProfessions = {
    {{"MED", "Médico"}, {"ING", "Ingeniero"}, {"ABO", "Abogado"}, {"EST", "Estudiante"}, {"EMP", "Empresario"}}};
constexpr std::array<Entry, 4> kAirlines = {
    {{"AA", "American Airlines"}, {"AV", "Avianca"}, {"CM", "Copa Airlines"}, {"UA", "United Airlines"}}};

void addList(const std::string& home, const char* table, const std::string& business, const Entry* first,
             const Entry* last) {
  auto t = openTable(home, table);
  for (const Entry* e = first; e != last; ++e) {
    t->append();
    t->putString("NEGOCIO", business);
    t->putString("CODIGO", e->code);
    t->putString("DESCRIP", e->descrip);
  }
}

// Every third reservation names a profession, every second an airline, every seventh a
// classification; every fourth stay its guest's profession.
void markReservations(const std::string& home) {
  auto headers = openTable(home, "ENC_RES");
  for (uint32_t r = 1; r <= headers->recCount(); ++r) {
    headers->goTo(r);
    if (r % 3 == 0) headers->putString("PROFESION", kProfessions[r % kProfessions.size()].code);
    if (r % 2 == 0) headers->putString("AEROLINEA", kAirlines[r % kAirlines.size()].code);
    if (r % 7 == 0) headers->putString("CLAS_HUE", r % 2 ? "VP" : "RE");
  }
  auto stays = openTable(home, "DET_RES2");
  for (uint32_t r = 4; r <= stays->recCount(); r += 4) {
    stays->goTo(r);
    stays->putString("PROFESION", kProfessions[r % kProfessions.size()].code);
  }
}

}  // namespace

void addGuestListDemo(const std::string& home) {
  for (const std::string business : {"01", "02"}) {
    addList(home, "T_PROFE", business, kProfessions.begin(), kProfessions.end());
    addList(home, "AEROLIN", business, kAirlines.begin(), kAirlines.end());
    auto classes = openTable(home, "CLAS_HUE");
    for (const auto& [code, descrip, siglas, internet] : {std::tuple{"VP", "Huésped VIP", "VIP", 1},
                                                          {"RE", "Huésped Repetitivo", "REP", 0},
                                                          {"CO", "Corporativo", "CORP", 0}}) {
      classes->append();
      classes->putString("NEGOCIO", business);
      classes->putString("CODIGO", code);
      classes->putString("DESCRIP", descrip);
      classes->putString("SIGLAS", siglas);
      classes->putNumber("INTERNET_G", internet);
    }
  }
  markReservations(home);
}

}  // namespace initdb
