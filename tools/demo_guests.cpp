#include "tools/demo_guests.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <tuple>

#include "tools/demo_data.h"
#include "xbase/date.h"

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

// The repeat guests. Names, countries, documents and dates come from the guest's number by
// fixed rules, so that every folder made gets the same guests: first name, surname and second
// surname never repeat together, nor does a birth date within one surname pair.
constexpr std::array<const char*, 30> kFirstNames = {
    "José",    "María",  "Carlos",  "Ana",      "Luis",    "Laura",   "Jorge",  "Sofía",    "Pedro",    "Lucía",
    "Andrés",  "Elena",  "Miguel",  "Isabel",   "Ricardo", "Carmen",  "Daniel", "Patricia", "Fernando", "Gabriela",
    "Roberto", "Mónica", "Alberto", "Verónica", "Manuel",  "Adriana", "Javier", "Natalia",  "Héctor",   "Valeria"};
constexpr std::array<const char*, 40> kSurnames = {
    "Vargas",   "Rodríguez", "Jiménez", "Mora",    "Rojas",    "Alvarado", "Solís",    "Quesada",
    "Chaves",   "Araya",     "Castro",  "Herrera", "Ramírez",  "Sánchez",  "Calderón", "Villalobos",
    "Zúñiga",   "Brenes",    "Méndez",  "Cordero", "Salazar",  "Montero",  "Porras",   "Umaña",
    "Campos",   "Barrantes", "Fonseca", "Guzmán",  "Navarro",  "Ulate",    "Espinoza", "Cascante",
    "Arguedas", "Madrigal",  "Víquez",  "Bolaños", "Carvajal", "Sequeira", "Valverde", "Obando"};
struct GuestOrigin {
  const char *country, *state, *city, *domain;
};
constexpr std::array<GuestOrigin, 12> kGuestOrigins = {{{"CR", "SJ", "San José", "racsa.co.cr"},
                                                        {"USA", "FL", "Miami", "gmail.com"},
                                                        {"CAN", "", "Toronto", "rogers.ca"},
                                                        {"ESP", "", "Madrid", "telefonica.es"},
                                                        {"MEX", "JAL", "Guadalajara", "prodigy.mx"},
                                                        {"COL", "", "Bogotá", "une.net.co"},
                                                        {"ARG", "", "Buenos Aires", "fibertel.ar"},
                                                        {"DEU", "", "Berlín", "web.de"},
                                                        {"FRA", "", "París", "orange.fr"},
                                                        {"GBR", "", "Londres", "bt.co.uk"},
                                                        {"ITA", "", "Roma", "libero.it"},
                                                        {"BRA", "", "São Paulo", "uol.com.br"}}};
constexpr int kGuests01 = 2000, kGuests02 = 60;

// Letters without accents, in lower case (for the mail addresses).
std::string plain(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xC3 && i + 1 < utf8.size()) {
      const unsigned char d = static_cast<unsigned char>(utf8[++i]);
      const char* from = "\xa1\xa9\xad\xb3\xba\xb1\x81\x89\x8d\x93\x9a\x91\xa3";
      const char* to = "aeiounaeiouna";
      for (int k = 0; from[k]; ++k)
        if (static_cast<unsigned char>(from[k]) == d) out += to[k];
    } else if (std::isalpha(c)) {
      out += char(std::tolower(c));
    }
  }
  return out;
}

struct DemoGuest {
  std::string name, surname, document, email;
  int day = 0, month = 0, year = 0;
  int origin = 0;
};

DemoGuest demoGuest(int i) {
  DemoGuest g;
  const int first = i % 30, block = i / 30, sur1 = block % 40, sur2 = (7 * (i / 1200) + sur1 + 11) % 40;
  g.name = kFirstNames[size_t(first)];
  g.surname = std::string(kSurnames[size_t(sur1)]) + " " + kSurnames[size_t(sur2)];
  g.origin = (i * 5 + block) % 12;
  char text[40];
  if (g.origin == 0)
    std::snprintf(text, sizeof text, "%d-%04d-%04d", 1 + i % 7, 1000 + (i * 37) % 9000, 1000 + i);
  else
    std::snprintf(text, sizeof text, "P%s%07d", kGuestOrigins[size_t(g.origin)].country, 3000000 + i * 13);
  g.document = text;
  g.email = plain(g.name) + "." + plain(kSurnames[size_t(sur1)]) + std::to_string(i % 97) + "@" +
            kGuestOrigins[size_t(g.origin)].domain;
  g.day = 1 + i % 28;
  g.month = 1 + (i / 28) % 12;
  g.year = 1950 + (i * 7) % 50;
  return g;
}

void putGuest(xbase::DbfTable& t, const std::string& business, int i, const DemoGuest& g, int32_t updated) {
  const GuestOrigin& o = kGuestOrigins[size_t(g.origin)];
  t.append();
  t.putString("NEGOCIO", business);
  char code[16];
  std::snprintf(code, sizeof code, "H%07d", i + 1);
  t.putString("CODIGO", code);
  t.putString("NOMBRE", g.name);
  t.putString("APELLIDO1", g.surname);
  t.putString("NOMBRE_C", g.surname + " " + g.name);
  t.putString("CEDULA", g.document);
  t.putString("EMAIL", g.email);
  t.putNumber("VALID_MAIL", g.email.find('@') != std::string::npos && g.email.size() > 4 ? 1 : 0);
  t.putString("TELEFONO1", "+" + std::to_string(1 + g.origin * 7) + " " + std::to_string(22000000 + i * 131));
  if (i % 3 == 0) t.putString("TELEFONO2", std::to_string(88000000 + i * 17));
  if (i % 4 == 0) t.putString("TELEFONO4", std::to_string(60000000 + i * 29));
  t.putString("PAIS", o.country);
  t.putString("ESTADO_GEO", o.state);
  t.putString("CIUDAD", std::string("Calle ") + std::to_string(1 + i % 80) + ", " + o.city);
  t.putString("CITYNAME", o.city);
  if (i % 5 == 0) t.putString("APARTADO", std::to_string(1000 + i));
  t.putString("FUENTE", std::array{"WEB", "TEL", "MAIL", "AGE"}[size_t(i % 4)]);
  if (i % 3 == 0) t.putString("PROFESION", kProfessions[size_t(i % 5)].code);
  t.putNumber("NAC_DIA", g.day);
  t.putNumber("NAC_MES", g.month);
  t.putNumber("NAC_ANHO", g.year);
  t.putDate("F_NACE", xbase::julianFromYmd(g.year, g.month, g.day));
  t.putNumber("GENERO", i % 2);
  t.putNumber("ESTA_CIVIL", i % 3);
  if (i % 11 == 0) t.putString("ANOTACION", "Prefiere habitación en piso alto.\nLlega usualmente tarde.");
  if (i % 13 == 0) t.putString("NOTAS_RES", "Solicita cama extra para niños.");
  t.putNumber("P_AMENITY1", i % 2);
  t.putNumber("R_AMENITY1", i % 3 == 0 ? 1 : 0);
  if (i % 6 == 0) t.putString("AEROLINEA", kAirlines[size_t(i % 4)].code);
  if (i % 6 == 0) t.putString("VIAJERO_F", "FF" + std::to_string(500000 + i));
  if (i % 9 == 0) t.putString("CLAS_HUE", i % 2 ? "VP" : "RE");
  // One guest in ten is in the frequent-guest programme, one in thirty of them inactive.
  if (i % 10 == 0) {
    t.putNumber("CLIEN_FREC", 1);
    t.putNumber("STAT_FREC", i % 30 == 0 ? 1 : 0);
    std::snprintf(code, sizeof code, "CF%06d", i / 10 + 1);
    t.putString("CLIENTE_F", code);
  }
  if (i % 4 != 3) {
    std::snprintf(code, sizeof code, "SB%08d", i + 1);
    t.putString("ID_ORIG", code);
    t.putNumber("PROCESADO", 1);
  }
  t.putDate("F_ACTUALIZ", updated);
  t.putNumber("NOCHES", 1 + (i * 3) % 40);
  t.putNumber("RESERVAS", 1 + i % 9);
}

// Likely duplicates, each made from one guest: the same document typed again without
// accents, the same address under another name, the name with its words turned round, and
// two names a letter or a word apart with the same birth date.
void putPlantedDuplicates(xbase::DbfTable& t, int32_t updated) {
  DemoGuest a = demoGuest(1);  // María
  a.name = "Maria";
  a.email = "mvargas@hotmail.com";
  putGuest(t, "01", kGuests01, a, updated);
  DemoGuest b = demoGuest(2);
  b.name = "Rebeca";
  b.document = "P9990001";
  b.day = 3, b.month = 3, b.year = 1961;
  putGuest(t, "01", kGuests01 + 1, b, updated);
  DemoGuest c = demoGuest(45);  // Ana with her surnames
  std::swap(c.name, c.surname);
  c.document = "P9990002";
  c.email = "";
  c.day = 9, c.month = 9, c.year = 1969;
  putGuest(t, "01", kGuests01 + 2, c, updated);
  DemoGuest d = demoGuest(100), e = d;
  d.day = e.day = 12, d.month = e.month = 3, d.year = e.year = 1975;
  e.name = d.name + "a";  // one letter apart
  e.document = "P9990003";
  e.email = "";
  putGuest(t, "01", kGuests01 + 3, e, updated);
  DemoGuest f = demoGuest(130);
  f.day = 21, f.month = 6, f.year = 1982;
  f.name = f.name + " Alonso";  // one word more
  f.document = "P9990004";
  f.email = "";
  putGuest(t, "01", kGuests01 + 4, f, updated);
  // The originals of the last two carry the same birth dates.
  for (const auto& [recno, day, month, year] : {std::tuple{101, 12, 3, 1975}, {131, 21, 6, 1982}}) {
    t.goTo(uint32_t(recno));
    t.putNumber("NAC_DIA", day);
    t.putNumber("NAC_MES", month);
    t.putNumber("NAC_ANHO", year);
    t.putDate("F_NACE", xbase::julianFromYmd(year, month, day));
  }
}

void addGuestHistory(const std::string& home) {
  const int32_t start = xbase::julianFromYmd(2025, 1, 1);
  {
    auto t = openTable(home, "H_HUES");
    for (int i = 0; i < kGuests01; ++i) putGuest(*t, "01", i, demoGuest(i), start + (i * 7) % 380);
    putPlantedDuplicates(*t, start + 370);
    for (int i = 0; i < kGuests02; ++i) putGuest(*t, "02", i, demoGuest(i * 31 + 7), start + i * 5);
  }
  // Family members of one guest in fifteen, the reservation history of one in seven, notes of
  // one in fifty, and the document of one stay in five of the year's reservations.
  auto family = openTable(home, "D_HUES");
  auto history = openTable(home, "H_RES2");
  auto notes = openTable(home, "ENC_NOTA");
  for (int i = 0; i < kGuests01; ++i) {
    const DemoGuest g = demoGuest(i);
    if (i % 15 == 0)
      for (int m = 0; m <= i % 3; ++m) {
        family->append();
        family->putString("NEGOCIO", "01");
        family->putString("CEDULA", g.document);
        family->putString("NOMBRE", kFirstNames[size_t((i + 7 * m + 3) % 30)]);
        family->putString("APELLIDO1", kSurnames[size_t((i / 30) % 40)]);
        family->putString("APELLIDO2", kSurnames[size_t((i + m) % 40)]);
        family->putString("TIPO", m == 0 ? "Cónyuge" : "Hijo(a)");
        family->putString("SEXO", (i + m) % 2 ? "F" : "M");
        family->putDate("FECHA_NAC", xbase::julianFromYmd(m == 0 ? g.year : 2005 + m, 1 + m, 10 + m));
      }
    if (i % 7 == 0)
      for (int s = 0; s <= i % 3; ++s) {
        const int32_t arrival = xbase::julianFromYmd(2022 + s, 1 + (i + s) % 12, 1 + i % 25);
        history->append();
        history->putString("NEGOCIO", "01");
        history->putString("CEDULA", g.document);
        history->putString("COD_RES", std::to_string(50000 + i * 3 + s));
        history->putString("COD_HAB", "01");
        history->putString("CODIGO", "01");
        history->putString("COD_ROOMS", std::to_string(101 + (i + s) % 20));
        history->putNumber("ESTADO", 2);
        history->putDate("F_INICIO", arrival);
        history->putDate("F_FINAL", arrival + 2 + (i + s) % 6);
        history->putNumber("N_ADULT", 1 + s % 2);
        history->putNumber("N_NINHO", s == 2 ? 1 : 0);
        history->putNumber("P_ADULT_R", 85 + (i % 5) * 15);
        history->putString("NOMBRE_C", g.surname + " " + g.name);
        history->putString("PAIS", kGuestOrigins[size_t(g.origin)].country);
      }
    if (i % 50 == 0) {
      notes->append();
      notes->putString("NEGOCIO", "01");
      notes->putString("CODIGO", std::to_string(i / 50 + 1));
      notes->putString("HUESPED", g.document);
      notes->putDate("FECHA", start + i % 300);
      notes->putString("USUARIO", "ADMIN");
      notes->putString("NOTA", "Cliente solicitó factura a nombre de su empresa.");
    }
  }
  auto stays = openTable(home, "DET_RES2");
  for (uint32_t r = 1; r <= stays->recCount(); ++r) {
    stays->goTo(r);
    if (r % 5 != 0 || stays->getString("NEGOCIO") != "01") continue;
    stays->putString("CEDULA", demoGuest(int((r * 3) % kGuests01)).document);
  }
}

// More countries, the synchronisation's amenity captions, the counters of the
// guest codes, synchronisation ids and frequent-guest numbers, and the frequent-guest
// programme switched on in "01".
void addGuestHistorySettings(const std::string& home) {
  for (const std::string business : {"01", "02"}) {
    auto countries = openTable(home, "PAISES");
    for (const auto& [code, descrip] : {std::pair{"COL", "Colombia"},
                                        {"ARG", "Argentina"},
                                        {"DEU", "Alemania"},
                                        {"FRA", "Francia"},
                                        {"GBR", "Reino Unido"},
                                        {"ITA", "Italia"},
                                        {"BRA", "Brasil"}}) {
      countries->append();
      countries->putString("NEGOCIO", business);
      countries->putString("CODIGO", code);
      countries->putString("DESCRIP", descrip);
      countries->putNumber("TIPO", 2);
    }
  }
  auto sabre = openTable(home, "F_SABRE");
  sabre->append();
  for (const auto& [field, caption] : {std::pair{"P_AMENITY1", "Piso alto"},
                                       {"P_AMENITY2", "Cerca del ascensor"},
                                       {"P_AMENITY3", "Vista al mar"},
                                       {"R_AMENITY1", "Almohada extra"},
                                       {"R_AMENITY2", "Cuna"}})
    sabre->putString(field, caption);
  auto series = openTable(home, "SERIALES");
  for (const std::string business : {"01", "02"})
    for (const auto& [code, descrip, prefix, number] : {std::tuple{"HUES", "Códigos de Huésped", "H", kGuests01 + 10},
                                                        {"SBR", "Sincronización Sabre", "SB", 5000},
                                                        {"FREC", "Cliente Frecuente", "CF", 300}}) {
      series->append();
      series->putString("NEGOCIO", business);
      series->putString("CODIGO", code);
      series->putString("DESCRIP", descrip);
      series->putString("PREFIJO", prefix);
      series->putNumber("NUMERO", number);
      series->putNumber("INDENT", std::string(code) == "SBR" ? 8 : std::string(code) == "FREC" ? 6 : 7);
      series->putNumber("JUSTIFICA", 0);
    }
  auto h4 = openTable(home, "F_HOTEL4");
  for (uint32_t r = 1; r <= h4->recCount(); ++r) {
    h4->goTo(r);
    h4->putString("COD_HUESP", "HUES");
    if (h4->getString("NEGOCIO") == "01") h4->putString("SERIAL_SBR", "SBR");
  }
  auto h3 = openTable(home, "F_HOTEL3");
  for (uint32_t r = 1; r <= h3->recCount(); ++r) {
    h3->goTo(r);
    if (h3->getString("NEGOCIO") == "01") h3->putNumber("CLIE_FREC", 1);
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
  addGuestHistorySettings(home);
  addGuestHistory(home);
}

}  // namespace initdb
