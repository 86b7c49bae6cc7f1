// The guest exchange files on real tables: what the export writes (read back with the engine
// directly, as another property's program would), an export imported into an empty folder,
// an import over guests already there, and the check of a file with bad records.
#include "guests/guest_exchange.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "lib/catalogue.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "xbase/date.h"

namespace guests {
namespace {

using lib::Value;
using testing_support::ProgramFolder;

int32_t day(int d, int m, int y) {
  return xbase::julianFromYmd(y, m, d);
}

struct Folder {
  std::unique_ptr<ProgramFolder> folder = std::make_unique<ProgramFolder>();
  Folder() {
    for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables())
      xbase::DbfTable::create(folder->bases(t.name + ".DBF"), t.fields, t.tags);
  }
  const std::string& path() const { return folder->path(); }
};

uint32_t row(const std::string& table, std::initializer_list<std::pair<const char*, Value>> fields) {
  auto t = lib::USE(nullptr, table);
  lib::ADD(*t, [&] {
    for (const auto& [name, v] : fields) t->FieldPut(name, v);
  });
  const uint32_t recno = t->RecNo();
  lib::KILLTABLA(t);
  return recno;
}

uint32_t guest(const std::string& negocio, const std::string& name, const std::string& document, int32_t updated,
               const std::string& country = "CR") {
  return row("H_HUES", {{"NEGOCIO", Value::chars(negocio)},
                        {"NOMBRE", Value::chars(name)},
                        {"APELLIDO1", Value::chars("Mora")},
                        {"NOMBRE_C", Value::chars("Mora " + name)},
                        {"CEDULA", Value::chars(document)},
                        {"EMAIL", Value::chars(name + "@mail.com")},
                        {"PAIS", Value::chars(country)},
                        {"NAC_DIA", Value::num(5)},
                        {"NAC_MES", Value::num(11)},
                        {"NAC_ANHO", Value::num(1975)},
                        {"ANOTACION", Value::chars("Prefiere piso alto.\nLlega tarde.")},
                        {"F_ACTUALIZ", Value::date(updated)}});
}

void stay(const std::string& negocio, const std::string& document, const std::string& reservation) {
  row("DET_RES2", {{"NEGOCIO", Value::chars(negocio)},
                   {"COD_RES", Value::chars(reservation)},
                   {"CEDULA", Value::chars(document)},
                   {"COD_ROOMS", Value::chars("101")},
                   {"F_INICIO", Value::date(day(3, 2, 2025))},
                   {"N_ADULT", Value::num(2)}});
}

std::string text(const xbase::Value& v) {
  switch (v.type) {
    case xbase::ValueType::Char: {
      std::string s = v.text;
      while (!s.empty() && s.back() == ' ') s.pop_back();
      return s;
    }
    case xbase::ValueType::Number: {
      std::string s = std::to_string(v.number);
      while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) s.pop_back();
      return s;
    }
    case xbase::ValueType::Date:
      return v.julian ? xbase::dtos(v.julian) : "";
    case xbase::ValueType::Logical:
      return v.logical ? "T" : "F";
    default:
      return "";
  }
}

// Every record of a DBF file, read with the engine alone: field → value text, in file order.
std::vector<std::map<std::string, std::string>> readFile(const std::string& path) {
  auto t = xbase::DbfTable::open(path, {false, true});
  std::vector<std::map<std::string, std::string>> rows;
  for (uint32_t r = 1; r <= t->recCount(); ++r) {
    t->goTo(r);
    std::map<std::string, std::string> fields;
    for (int i = 0; i < t->fieldCount(); ++i) fields[t->field(i).name] = text(t->get(i));
    rows.push_back(fields);
  }
  return rows;
}

void copyToImport(const std::string& from, const std::string& to, const std::string& name) {
  std::filesystem::create_directories(to + "/F_IMPORT");
  for (const std::string prefix : {"EH", "RH"})
    for (const char* ext : {".DBF", ".FPT"})
      if (std::filesystem::exists(from + "/F_EXPORT/" + prefix + name + ext))
        std::filesystem::copy_file(from + "/F_EXPORT/" + prefix + name + ext, to + "/F_IMPORT/" + prefix + name + ext,
                                   std::filesystem::copy_options::overwrite_existing);
}

TEST(GuestExchange, ExportWritesTheBusinessUnitsGuestsChangedSinceTheDate) {
  Folder f;
  row("F_HOTEL", {{"NEGOCIO", Value::chars("01")}});
  guest("01", "Ana", "1-0234-0567", day(10, 1, 2026));
  guest("01", "Luis", "4-0111-0222", day(1, 12, 2025));  // before the date
  guest("02", "Eva", "P55555", day(10, 1, 2026));        // another business unit
  guest("01", "Sol", "123", day(11, 1, 2026));           // a document too short for stays
  stay("01", "1-0234-0567", "R1");
  stay("01", "1-0234-0567", "R2");
  stay("01", "123", "R3");
  stay("02", "1-0234-0567", "R4");

  const ExportResult result = EXPORTA_HUESPEDES("01", day(1, 1, 2026), "ENE26");
  EXPECT_EQ(result.guests, 2);
  EXPECT_EQ(result.stays, 2);
  const auto eh = readFile(f.path() + "/F_EXPORT/EHENE26.DBF");
  ASSERT_EQ(eh.size(), 2u);
  EXPECT_EQ(eh[0].at("NOMBRE"), "Ana");
  EXPECT_EQ(eh[0].at("ANOTACION"), "Prefiere piso alto.\nLlega tarde.");
  EXPECT_EQ(eh[1].at("NOMBRE"), "Sol");
  EXPECT_EQ(eh[0].size(), lib::Catalogue::builtIn().find("H_HUES")->fields.size()) << "the structure of H_HUES";
  const auto rh = readFile(f.path() + "/F_EXPORT/RHENE26.DBF");
  ASSERT_EQ(rh.size(), 2u);
  EXPECT_EQ(rh[0].at("COD_RES"), "R1");
  EXPECT_EQ(rh[1].at("COD_RES"), "R2");
  EXPECT_EQ(rh[0].at("N_ADULT"), "2");
  EXPECT_EQ(rh[0].at("NEGOCIO_O"), "") << "a field DET_RES2 does not have stays empty";
  auto hotel = lib::USE(nullptr, "F_HOTEL");
  hotel->GoTop();
  EXPECT_EQ(hotel->D("F_H_HUESP"), lib::XDATE());
  lib::KILLTABLA(hotel);
}

TEST(GuestExchange, AnExportImportedIntoAnEmptyFolderGivesTheSameGuests) {
  std::vector<std::map<std::string, std::string>> exported;
  std::string from;
  Folder source;
  row("F_HOTEL", {{"NEGOCIO", Value::chars("01")}});
  for (int i = 0; i < 30; ++i)
    guest("01", "Huesped" + std::to_string(i), "P" + std::to_string(10000 + i), day(5, 1, 2026));
  stay("01", "P10003", "R1");
  stay("01", "P10003", "R2");
  stay("01", "P10007", "R3");
  EXPORTA_HUESPEDES("01", 0, "TODOS");
  exported = readFile(source.path() + "/F_EXPORT/EHTODOS.DBF");
  from = source.path();

  Folder target;
  row("PAISES", {{"NEGOCIO", Value::chars("02")}, {"CODIGO", Value::chars("CR")}});
  copyToImport(from, target.path(), "TODOS");
  EXPECT_EQ(ARCHIVOS_IMPORTACION(), std::vector<std::string>{"TODOS"});
  EXPECT_TRUE(FALTANTES_IMPORTACION("TODOS").empty());
  const ImportCheck check = CHECK_IMPORT("02", "TODOS");
  EXPECT_TRUE(check.problems.empty());
  EXPECT_EQ(check.guests, 30);
  EXPECT_EQ(check.stays, 3);
  const ImportResult result = IMPORTA_HUESPEDES("02", "TODOS", check);
  EXPECT_EQ(result.added, 30);
  EXPECT_EQ(result.updated, 0);
  EXPECT_EQ(result.stays, 3);
  const auto imported = readFile(target.path() + "/BASES/H_HUES.DBF");
  ASSERT_EQ(imported.size(), exported.size());
  for (size_t i = 0; i < imported.size(); ++i)
    for (const auto& [field, value] : exported[i]) {
      if (field == "NEGOCIO") {
        EXPECT_EQ(imported[i].at(field), "02");
      } else if (field == "NEGOCIO_O") {
        EXPECT_EQ(imported[i].at(field), "01");
      } else if (field == "F_ACT2") {
        EXPECT_EQ(imported[i].at(field), xbase::dtos(lib::XDATE()));
      } else if (field != "H_ACT2") {
        EXPECT_EQ(imported[i].at(field), value) << field << " of guest " << i;
      }
    }
  const auto history = readFile(target.path() + "/BASES/H_RES2.DBF");
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[0].at("CEDULA"), "P10003");
  EXPECT_EQ(history[0].at("NEGOCIO"), "02");
  EXPECT_EQ(history[0].at("NEGOCIO_O"), "01");
}

TEST(GuestExchange, ImportOverwritesTheGuestOfThatDocumentAndItsRowsImportedBefore) {
  Folder f;
  row("F_HOTEL", {{"NEGOCIO", Value::chars("02")}});
  guest("02", "Ana", "P7777", day(5, 1, 2026));
  stay("02", "P7777", "R1");
  stay("02", "P7777", "R2");
  EXPORTA_HUESPEDES("02", 0, "ANA");
  copyToImport(f.path(), f.path(), "ANA");
  {
    auto t = lib::USE(nullptr, "H_HUES");
    t->GoTo(1);
    lib::MODIFY(*t, [&] { t->FieldPut("CEDULA", Value::chars("P7778")); });
    lib::KILLTABLA(t);
  }
  // In business 03 the same document under another name.
  const uint32_t there = guest("03", "Ana Lucía", "P7777", day(1, 1, 2020));
  const std::string name = "ANA";
  for (int run = 0; run < 2; ++run) {
    const ImportResult result = IMPORTA_HUESPEDES("01", name, CHECK_IMPORT("01", name));
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.updated, 1);
  }
  auto guests = lib::USE(nullptr, "H_HUES");
  guests->GoTo(there);
  EXPECT_EQ(guests->S("NOMBRE"), "Ana");
  EXPECT_EQ(guests->S("NEGOCIO"), "01");
  EXPECT_EQ(guests->S("NEGOCIO_O"), "02");
  EXPECT_EQ(guests->D("F_ACT2"), lib::XDATE());
  EXPECT_EQ(guests->LastRec(), 2u);
  lib::KILLTABLA(guests);
  const auto history = readFile(f.path() + "/BASES/H_RES2.DBF");
  EXPECT_EQ(history.size(), 2u) << "the second import overwrote the rows of the first";
}

TEST(GuestExchange, ACheckListsTheBadRecordsAndWritesNothing) {
  Folder f;
  row("F_HOTEL", {{"NEGOCIO", Value::chars("01")}});
  row("PAISES", {{"NEGOCIO", Value::chars("01")}, {"CODIGO", Value::chars("CR")}});
  guest("01", "Ana", "P0001", day(5, 1, 2026));
  guest("01", "Sin", "", day(5, 1, 2026));
  const uint32_t bad = guest("01", "Feb", "P0003", day(5, 1, 2026));
  guest("01", "Lejos", "P0004", day(5, 1, 2026), "XX");
  guest("01", "Otra", "P0001", day(5, 1, 2026));
  guest("01", "Bien", "P0006", day(5, 1, 2026), "");
  stay("01", "P0001", "R1");
  stay("01", "P0003", "R2");
  {
    auto t = lib::USE(nullptr, "H_HUES");
    t->GoTo(bad);
    lib::MODIFY(*t, [&] {
      t->FieldPut("NAC_DIA", Value::num(31));
      t->FieldPut("NAC_MES", Value::num(2));
    });
    lib::KILLTABLA(t);
  }
  EXPORTA_HUESPEDES("01", 0, "MIX");
  copyToImport(f.path(), f.path(), "MIX");
  const auto before = readFile(f.path() + "/BASES/H_HUES.DBF");

  const ImportCheck check = CHECK_IMPORT("01", "MIX");
  ASSERT_EQ(check.problems.size(), 5u);
  EXPECT_EQ(check.problems[0].record, 2u);
  EXPECT_EQ(check.problems[0].reason, "Sin número de documento");
  EXPECT_EQ(check.problems[1].record, 3u);
  EXPECT_EQ(check.problems[1].reason, "Fecha de nacimiento inválida: 31/2/1975");
  EXPECT_EQ(check.problems[2].record, 4u);
  EXPECT_EQ(check.problems[2].reason, "País desconocido: XX");
  EXPECT_EQ(check.problems[3].record, 5u);
  EXPECT_EQ(check.problems[3].reason, "Documento P0001 repetido (registro 1)");
  // The stays: R1 for each guest of P0001 (the export copies them for both), R2 for P0003.
  EXPECT_TRUE(check.problems[4].stay);
  EXPECT_EQ(check.problems[4].record, 2u);
  EXPECT_EQ(check.problems[4].reason, "Huésped P0003 no importado");
  EXPECT_EQ(check.goodGuests, (std::vector<uint32_t>{1, 6}));
  EXPECT_EQ(check.goodStays, (std::vector<uint32_t>{1, 3}));
  EXPECT_EQ(readFile(f.path() + "/BASES/H_HUES.DBF"), before) << "checking writes nothing";
  EXPECT_TRUE(readFile(f.path() + "/BASES/H_RES2.DBF").empty());
}

TEST(GuestExchange, MissingFilesAreNamed) {
  Folder f;
  std::filesystem::create_directories(f.path() + "/F_IMPORT");
  xbase::DbfTable::create(f.path() + "/F_IMPORT/EHSOLO.DBF", lib::Catalogue::builtIn().find("H_HUES")->fields, {});
  EXPECT_EQ(FALTANTES_IMPORTACION("SOLO"), std::vector<std::string>{"RHSOLO.DBF"});
  EXPECT_EQ(FALTANTES_IMPORTACION("NADA"), (std::vector<std::string>{"EHNADA.DBF", "RHNADA.DBF"}));
  EXPECT_EQ(ARCHIVOS_IMPORTACION(), std::vector<std::string>{"SOLO"});
}

}  // namespace
}  // namespace guests
