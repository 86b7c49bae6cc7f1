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

// The country and state of a guest: Costa Rica and the United States with their states,
// the others without.
struct Origin {
  const char *country, *state;
};
constexpr std::array<Origin, 7> kOrigins = {
    {{"CR", "SJ"}, {"CR", "GU"}, {"USA", "FL"}, {"USA", "CA"}, {"CAN", ""}, {"ESP", ""}, {"MEX", "JAL"}}};

void placeGuest(xbase::DbfTable& t, uint32_t r) {
  const Origin& o = kOrigins[r % kOrigins.size()];
  t.putString("PAIS", o.country);
  t.putString("ESTADO_GEO", o.state);
}

// Every third reservation names a profession, every second an airline, every seventh a
// classification, each its guest's country and state; every fourth stay its guest's
// profession, each its country and state.
void markReservations(const std::string& home) {
  auto headers = openTable(home, "ENC_RES");
  for (uint32_t r = 1; r <= headers->recCount(); ++r) {
    headers->goTo(r);
    placeGuest(*headers, r);
    if (r % 3 == 0) headers->putString("PROFESION", kProfessions[r % kProfessions.size()].code);
    if (r % 2 == 0) headers->putString("AEROLINEA", kAirlines[r % kAirlines.size()].code);
    if (r % 7 == 0) headers->putString("CLAS_HUE", r % 2 ? "VP" : "RE");
  }
  auto stays = openTable(home, "DET_RES2");
  for (uint32_t r = 1; r <= stays->recCount(); ++r) {
    stays->goTo(r);
    placeGuest(*stays, r);
    if (r % 4 == 0) stays->putString("PROFESION", kProfessions[r % kProfessions.size()].code);
  }
}

// The countries' segments, regions and states, the states' Zip Code groups.
void addGeography(const std::string& home, const std::string& business) {
  auto regions = openTable(home, "REG_SB");
  for (const auto& [code, descrip] :
       {std::pair{"CAM", "Centroamérica"}, {"AMN", "América del Norte"}, {"EUR", "Europa"}}) {
    regions->append();
    regions->putString("NEGOCIO", business);
    regions->putString("CODIGO", code);
    regions->putString("DESCRIP", descrip);
  }
  auto groups = openTable(home, "GRP_EST");
  for (const auto& [code, descrip] : {std::pair{"ESTE", "Costa Este"}, {"OEST", "Costa Oeste"}}) {
    groups->append();
    groups->putString("NEGOCIO", business);
    groups->putString("CODIGO", code);
    groups->putString("DESCRIP", descrip);
  }
  auto countries = openTable(home, "PAISES");
  countries->setOrder("PAISES");
  for (const auto& [country, region, market, detail] : {std::tuple{"CR", "CAM", "NAC", "GAM"},
                                                        {"USA", "AMN", "INT", "NAM"},
                                                        {"CAN", "AMN", "INT", "NAM"},
                                                        {"MEX", "AMN", "INT", "NAM"},
                                                        {"ESP", "EUR", "INT", "EUR"}}) {
    if (!countries->seek(business + country)) continue;
    countries->putString("E_SEGMENTO", "VAC");
    countries->putString("D_SEGMENTO", "IND");
    countries->putString("E_SEG2", market);
    countries->putString("D_SEG2", detail);
    countries->putString("REGION", region);
    countries->putNumber("TIPO", std::string(country) == "CR" ? 1 : 2);
    countries->putNumber("TIPO_APART", std::string(country) == "USA" ? 1 : 0);
  }
  auto states = openTable(home, "DET_PAIS");
  for (const auto& [country, code, descrip, group] : {std::tuple{"CR", "SJ", "San José", ""},
                                                      {"CR", "AL", "Alajuela", ""},
                                                      {"CR", "GU", "Guanacaste", ""},
                                                      {"CR", "PU", "Puntarenas", ""},
                                                      {"USA", "FL", "Florida", "ESTE"},
                                                      {"USA", "NY", "Nueva York", "ESTE"},
                                                      {"USA", "CA", "California", "OEST"},
                                                      {"MEX", "JAL", "Jalisco", ""}}) {
    states->append();
    states->putString("NEGOCIO", business);
    states->putString("COD_PAIS", country);
    states->putString("CODIGO", code);
    states->putString("DESCRIP", descrip);
    states->putString("GRUPO", group);
  }
}

}  // namespace

void addGuestListDemo(const std::string& home) {
  for (const std::string business : {"01", "02"}) {
    addList(home, "T_PROFE", business, kProfessions.begin(), kProfessions.end());
    addList(home, "AEROLIN", business, kAirlines.begin(), kAirlines.end());
    addGeography(home, business);
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
