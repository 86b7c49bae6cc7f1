// The table catalogue: its text format, its errors, and the catalogue built into the program.
#include "lib/catalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "support/temp_dir.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

using lib::Catalogue;
using lib::CatalogueTable;
using testing::AllOf;
using testing::HasSubstr;
using testing::StartsWith;
using testing_support::TempDir;

namespace {

const char* kGood =
    "# NEGOCIOS: business units and the settings that apply to a whole business.\n"
    "# Second line of the description.\n"
    "\n"
    "# Not part of the description.\n"
    "TABLE negocios\n"
    "FIELD CODIGO     C 2\n"
    "  FIELD descrip  c 40\n"
    "FIELD INTENTOS   N 2 0\n"
    "FIELD MONTO      N 12 2\n"
    "FIELD F_CLAVE    D\n"
    "FIELD ACTIVO     L\n"
    "# Long text.\n"
    "FIELD NOTAS      M\n"
    "FIELD CUENTA     I\n"
    "TAG NEGOCIOS: CODIGO\n"
    "TAG OTRO: CODIGO+STR(INTENTOS,4) FOR .NOT. DELETED() UNIQUE DESCENDING\n"
    "TEMPLATE\n";

// The description of the error that parsing `text` raises; fails the test when none is raised.
std::string errorOf(std::string_view text, const std::string& source = "PRUEBA.tbl") {
  try {
    Catalogue::parse(text, source);
  } catch (const xbase::Error& e) {
    EXPECT_EQ(e.genCode(), xbase::EG_ARG);
    EXPECT_EQ(e.subCode(), xbase::SC_VALUE);
    return e.description();
  }
  ADD_FAILURE() << "se aceptó:\n" << text;
  return {};
}

std::string withTable(const std::string& body) {
  return "TABLE PRUEBA\nFIELD CODIGO C 4\n" + body;
}

std::vector<std::string> fieldNames(const std::vector<xbase::FieldSpec>& fields) {
  std::vector<std::string> out;
  for (const auto& f : fields) out.push_back(f.name);
  return out;
}

const std::vector<std::string> kOpenedTables = {"NEGOCIOS", "F_SYS",    "DEFMAIL", "FONTS",    "TRADUCT",  "F_TXT_S",
                                                "USUARIOS", "SUBBASES", "MENUS",   "PERFILES", "DET_PERF", "ERROR",
                                                "LOG_E_S",  "LOG_ROLL", "E_MSGS",  "SERIALES", "DUMMYADS", "ADASIPA",
                                                "LOG_DIAG", "F_BROWSE", "F_HOTEL", "DET_TRA2"};

const xbase::FieldSpec* fieldOf(const CatalogueTable& t, const std::string& name) {
  for (const auto& f : t.fields)
    if (f.name == name) return &f;
  return nullptr;
}

const xbase::TagSpec* tagOf(const CatalogueTable& t, const std::string& name) {
  for (const auto& g : t.tags)
    if (g.name == name) return &g;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The format.

TEST(CatalogueParse, ReadsFieldsTagsTemplateAndDescription) {
  Catalogue c = Catalogue::parse(kGood, "NEGOCIOS.tbl");
  ASSERT_EQ(c.tables().size(), 1u);
  const CatalogueTable& t = c.tables()[0];
  EXPECT_EQ(t.name, "NEGOCIOS");
  EXPECT_EQ(t.comment,
            "NEGOCIOS: business units and the settings that apply to a whole business.\n"
            "Second line of the description.");
  EXPECT_TRUE(t.profileTemplate);
  EXPECT_EQ(fieldNames(t.fields), (std::vector<std::string>{"CODIGO", "DESCRIP", "INTENTOS", "MONTO", "F_CLAVE",
                                                            "ACTIVO", "NOTAS", "CUENTA"}));
  struct Expect {
    char type;
    int length, decimals;
  };
  std::vector<Expect> expected = {{'C', 2, 0}, {'C', 40, 0}, {'N', 2, 0},  {'N', 12, 2},
                                  {'D', 8, 0}, {'L', 1, 0},  {'M', 10, 0}, {'I', 4, 0}};
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(t.fields[i].name);
    EXPECT_EQ(t.fields[i].type, expected[i].type);
    EXPECT_EQ(t.fields[i].length, expected[i].length);
    EXPECT_EQ(t.fields[i].decimals, expected[i].decimals);
  }
  ASSERT_EQ(t.tags.size(), 2u);
  EXPECT_EQ(t.tags[0].name, "NEGOCIOS");
  EXPECT_EQ(t.tags[0].keyExpr, "CODIGO");
  EXPECT_TRUE(t.tags[0].forExpr.empty());
  EXPECT_FALSE(t.tags[0].unique);
  EXPECT_EQ(t.tags[1].name, "OTRO");
  EXPECT_EQ(t.tags[1].keyExpr, "CODIGO+STR(INTENTOS,4)");
  EXPECT_EQ(t.tags[1].forExpr, ".NOT. DELETED()");
  EXPECT_TRUE(t.tags[1].unique);
  EXPECT_TRUE(t.tags[1].descending);
}

TEST(CatalogueParse, TemplateIsOptionalAndTagsMayPrecedeTheirFields) {
  Catalogue c = Catalogue::parse("TABLE T\r\nTAG T: NOMBRE\r\nFIELD NOMBRE C 10\r\n", "T.tbl");
  ASSERT_EQ(c.tables().size(), 1u);
  EXPECT_FALSE(c.tables()[0].profileTemplate);
  EXPECT_TRUE(c.tables()[0].comment.empty());
  EXPECT_EQ(c.tables()[0].tags.at(0).keyExpr, "NOMBRE");
}

TEST(CatalogueParse, OtherTypesTakeTheirNaturalWidths) {
  Catalogue c = Catalogue::parse(
      "TABLE T\nFIELD F F 10 3\nFIELD B B\nFIELD B2 B 8 2\nFIELD Y Y\nFIELD TS T\nFIELD D D 8\nFIELD M M 4\n", "T.tbl");
  const CatalogueTable& t = c.tables().at(0);
  EXPECT_EQ(fieldOf(t, "F")->length, 10);
  EXPECT_EQ(fieldOf(t, "F")->decimals, 3);
  EXPECT_EQ(fieldOf(t, "B")->length, 8);
  EXPECT_EQ(fieldOf(t, "B2")->decimals, 2);
  EXPECT_EQ(fieldOf(t, "Y")->decimals, 4);
  EXPECT_EQ(fieldOf(t, "TS")->length, 8);
  EXPECT_EQ(fieldOf(t, "D")->length, 8);
}

TEST(CatalogueParse, EmptyTextIsAnEmptyCatalogue) {
  EXPECT_TRUE(Catalogue::parse("", "x").tables().empty());
  EXPECT_TRUE(Catalogue::parse("\n\n# nothing but a preamble\n", "x").tables().empty());
}

TEST(CatalogueParse, ConcatenatedFilesNumberTheirLinesEachFromOne) {
  std::string text =
      "#@file ALFA.tbl\n"
      "# ALFA: first.\n"
      "TABLE ALFA\n"
      "FIELD A C 1\n"
      "#@file BETA.tbl\n"
      "# BETA: second.\n"
      "TABLE BETA\n"
      "FIELD B N 3 0\n"
      "TAG BETA: STR(B,3)\n";
  Catalogue c = Catalogue::parse(text, "embebido");
  ASSERT_EQ(c.tables().size(), 2u);
  EXPECT_EQ(c.tables()[0].name, "ALFA");
  EXPECT_EQ(c.tables()[0].comment, "ALFA: first.");
  EXPECT_EQ(c.tables()[1].name, "BETA");
  EXPECT_EQ(c.tables()[1].comment, "BETA: second.");

  std::string bad = text + "#@file GAMMA.tbl\n# GAMMA\nTABLE GAMMA\nFIELD G X 1\n";
  EXPECT_THAT(errorOf(bad, "embebido"), StartsWith("catálogo: GAMMA.tbl:3: "));
  std::string badTag = text + "FIELD C C 2\nTAG OTRA: NOEXISTE\n";
  EXPECT_THAT(errorOf(badTag, "embebido"), StartsWith("catálogo: BETA.tbl:6: "));
}

TEST(CatalogueParse, FindIgnoresCaseAndBlanks) {
  Catalogue c = Catalogue::parse(
      "#@file ALFA.tbl\nTABLE ALFA\nFIELD A C 1\n#@file F_TXT_S.tbl\nTABLE F_TXT_S\n"
      "FIELD TABLA C 15\n",
      "x");
  ASSERT_NE(c.find("alfa"), nullptr);
  EXPECT_EQ(c.find("alfa")->name, "ALFA");
  EXPECT_EQ(c.find("  f_txt_s\t"), &c.tables()[1]);
  EXPECT_EQ(c.find("BETA"), nullptr);
  EXPECT_EQ(c.find(""), nullptr);
}

// ---------------------------------------------------------------------------------------
// Errors, each naming the file and the line.

TEST(CatalogueErrors, MalformedLines) {
  EXPECT_THAT(errorOf("TABLE PRUEBA\nFIELD A C 1\nCAMPO B C 2\n"),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:3: "), HasSubstr("CAMPO")));
  EXPECT_THAT(errorOf(withTable("FIELD B\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD B C 1 0 9\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD B C diez\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD B N 5 -1\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD 1B C 5\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD NOMBRE_LARGO C 5\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD B C 5 # comment\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TEMPLATE YES\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TEMPLATE\nTEMPLATE\n")), StartsWith("catálogo: PRUEBA.tbl:4: "));
  EXPECT_THAT(errorOf("TABLE\n"), StartsWith("catálogo: PRUEBA.tbl:1: "));
  EXPECT_THAT(errorOf("TABLE DOS PALABRAS\n"), StartsWith("catálogo: PRUEBA.tbl:1: "));
  EXPECT_THAT(errorOf("TABLE NUEVENUEV\nFIELD A C 1\n"), StartsWith("catálogo: PRUEBA.tbl:1: "));
  EXPECT_THAT(errorOf("# c\nFIELD A C 1\n"), AllOf(StartsWith("catálogo: PRUEBA.tbl:2: "), HasSubstr("TABLE")));
  EXPECT_THAT(errorOf("TAG A: A\n"), StartsWith("catálogo: PRUEBA.tbl:1: "));
}

TEST(CatalogueErrors, UnknownType) {
  EXPECT_THAT(errorOf(withTable("FIELD B X 5\n")),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:3: "), HasSubstr("tipo desconocido")));
  EXPECT_THAT(errorOf(withTable("FIELD B CC 5\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("FIELD B G\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
}

TEST(CatalogueErrors, WidthsAndDecimalsOutOfRange) {
  for (const char* line :
       {"FIELD B C 0\n", "FIELD B C 255\n", "FIELD B C\n", "FIELD B C 5 1\n", "FIELD B N 0\n", "FIELD B N 21\n",
        "FIELD B N\n", "FIELD B N 5 4\n", "FIELD B N 99999 0\n", "FIELD B D 10\n", "FIELD B L 2\n", "FIELD B M 20\n",
        "FIELD B D 8 2\n", "FIELD B Y 8 2\n", "FIELD B B 8 19\n", "FIELD B I 8\n", "FIELD B N 123456789012 0\n"}) {
    SCOPED_TRACE(line);
    EXPECT_THAT(errorOf(withTable(line)), StartsWith("catálogo: PRUEBA.tbl:3: "));
  }
  // The limits themselves pass.
  Catalogue c = Catalogue::parse(withTable("FIELD B C 254\nFIELD N N 20 18\nFIELD O N 1\n"), "x");
  EXPECT_EQ(c.tables()[0].fields.size(), 4u);
}

TEST(CatalogueErrors, DuplicateFieldTagAndTable) {
  EXPECT_THAT(errorOf(withTable("FIELD codigo N 4 0\n")),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:3: "), HasSubstr("CODIGO")));
  EXPECT_THAT(errorOf(withTable("TAG A: CODIGO\nTAG a: CODIGO\n")), StartsWith("catálogo: PRUEBA.tbl:4: "));
  std::string twice =
      "#@file ALFA.tbl\nTABLE ALFA\nFIELD A C 1\n"
      "#@file alfa.tbl\n# again\nTABLE alfa\nFIELD A C 1\n";
  EXPECT_THAT(errorOf(twice, "x"), AllOf(StartsWith("catálogo: alfa.tbl:2: "), HasSubstr("ALFA.tbl:1")));
  EXPECT_THAT(errorOf("TABLE A\nFIELD A C 1\nTABLE B\nFIELD B C 1\n"), StartsWith("catálogo: PRUEBA.tbl:3: "));
}

TEST(CatalogueErrors, TagsMustCompileAgainstTheFields) {
  EXPECT_THAT(errorOf(withTable("FIELD N N 4 0\nTAG A: CODIGO+NADA\n")),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:4: "), HasSubstr("etiqueta A")));
  // Character and number cannot be added.
  EXPECT_THAT(errorOf(withTable("FIELD N N 4 0\nTAG A: CODIGO+N\n")), StartsWith("catálogo: PRUEBA.tbl:4: "));
  EXPECT_THAT(errorOf(withTable("TAG A: CODIGO FOR NADA = 1\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TAG A: CODIGO FOR CODIGO\n")),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:3: "), HasSubstr("FOR")));
  EXPECT_THAT(errorOf(withTable("TAG A: NOFUNC(CODIGO)\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TAG A: SUBSTR(CODIGO,1\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  // A key wider than an index key can be.
  EXPECT_THAT(errorOf(withTable("FIELD L1 C 200\nFIELD L2 C 200\nTAG A: L1+L2\n")),
              AllOf(StartsWith("catálogo: PRUEBA.tbl:5: "), HasSubstr("240")));
  // Tag text the engine refuses, and tag names a CDX cannot hold.
  EXPECT_THAT(errorOf(withTable("TAG sin dos puntos\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TAG A:\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TAG ETIQUETA_LARGA: CODIGO\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
  EXPECT_THAT(errorOf(withTable("TAG A B: CODIGO\n")), StartsWith("catálogo: PRUEBA.tbl:3: "));
}

TEST(CatalogueErrors, FilesAndTables) {
  // A table with no fields is reported at its TABLE line.
  EXPECT_THAT(errorOf("# c\nTABLE VACIA\nTAG A: X\n"), StartsWith("catálogo: PRUEBA.tbl:2: "));
  // A named file must declare the table it is named after.
  EXPECT_THAT(errorOf("#@file ALFA.tbl\n# only a comment\n", "x"), StartsWith("catálogo: ALFA.tbl:1: "));
  EXPECT_THAT(errorOf("#@file ALFA.tbl\nTABLE BETA\nFIELD A C 1\n", "x"),
              AllOf(StartsWith("catálogo: ALFA.tbl:1: "), HasSubstr("BETA")));
  EXPECT_THAT(errorOf("#@file\nTABLE BETA\n", "x"), HasSubstr("#@file"));
  // Text before the first marker is named by the source.
  EXPECT_THAT(errorOf("TABLE\n#@file ALFA.tbl\nTABLE ALFA\nFIELD A C 1\n", "embebido"),
              StartsWith("catálogo: embebido:1: "));
}

TEST(CatalogueErrors, TooManyFields) {
  std::string text = "TABLE ANCHA\n";
  for (int i = 0; i < 256; ++i) text += "FIELD F" + std::to_string(i) + " C 1\n";
  EXPECT_THAT(errorOf(text), StartsWith("catálogo: PRUEBA.tbl:257: "));
}

// Whatever the text, parsing ends with a catalogue or with the catalogue's own error.
TEST(CatalogueErrors, NoInputCrashesTheParser) {
  std::mt19937 rng(20240611);
  const std::string base = kGood;
  const std::string alphabet =
      std::string("TABLEFIELDTAGTEMPLATE #@file:+().,'\"[]\n\r\t 0123456789CNDLMIBYTF_xyz\xC3\xB1\xFF") + '\0';
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text = base;
    int edits = 1 + int(rng() % 8);
    for (int e = 0; e < edits; ++e) {
      size_t at = text.empty() ? 0 : rng() % text.size();
      switch (rng() % 4) {
        case 0:
          if (!text.empty()) text.erase(at, 1 + rng() % 6);
          break;
        case 1:
          text.insert(at, 1, alphabet[rng() % alphabet.size()]);
          break;
        case 2:
          if (!text.empty()) text[at] = char(rng() % 256);
          break;
        default:
          text.insert(at, text.substr(rng() % (text.size() + 1), rng() % 20));
      }
    }
    try {
      Catalogue c = Catalogue::parse(text, "azar");
      for (const auto& t : c.tables()) EXPECT_FALSE(t.fields.empty());
      ++accepted;
    } catch (const xbase::Error& e) {
      EXPECT_THAT(e.description(), StartsWith("catálogo: "));
    }
  }
  std::string noise;
  for (int i = 0; i < 20000; ++i) noise += char(rng() % 256);
  EXPECT_THROW(Catalogue::parse(noise, "ruido"), xbase::Error);
  EXPECT_GT(accepted, 0);
}

// ---------------------------------------------------------------------------------------
// The catalogue built into the program.

TEST(BuiltInCatalogue, HoldsEveryTableTheProgramOpens) {
  const Catalogue& c = Catalogue::builtIn();
  EXPECT_EQ(&c, &Catalogue::builtIn());
  for (const auto& name : kOpenedTables) {
    SCOPED_TRACE(name);
    const CatalogueTable* t = c.find(name);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->comment.empty());
    EXPECT_FALSE(t->fields.empty());
  }
}

TEST(BuiltInCatalogue, IsWhatTheResourceFilesSay) {
  namespace fs = std::filesystem;
  const Catalogue& built = Catalogue::builtIn();
  std::set<std::string> onDisk;
  for (const auto& entry : fs::directory_iterator(fs::path(CONFIGURA_SOURCE_DIR) / "resources" / "catalogue")) {
    if (entry.path().extension() != ".tbl") continue;
    std::string file = entry.path().filename().string();
    SCOPED_TRACE(file);
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Catalogue one = Catalogue::parse("#@file " + file + "\n" + text.str(), file);
    ASSERT_EQ(one.tables().size(), 1u);
    const CatalogueTable& t = one.tables()[0];
    EXPECT_EQ(t.name + ".tbl", file) << "file names are the upper-case table name";
    onDisk.insert(t.name);
    const CatalogueTable* b = built.find(t.name);
    ASSERT_NE(b, nullptr) << "the build embeds an outdated catalogue";
    EXPECT_EQ(fieldNames(b->fields), fieldNames(t.fields));
    EXPECT_EQ(b->tags.size(), t.tags.size());
  }
  EXPECT_EQ(onDisk.size(), built.tables().size());
}

TEST(BuiltInCatalogue, EveryTableCanBeCreatedOpenedWrittenAndChecked) {
  TempDir dir;
  for (const auto& t : Catalogue::builtIn().tables()) {
    SCOPED_TRACE(t.name);
    std::string path = dir.file(t.name + ".DBF");
    ASSERT_NO_THROW(xbase::DbfTable::create(path, t.fields, t.tags));
    auto table = xbase::DbfTable::open(path, {false, false});
    ASSERT_EQ(table->fieldCount(), int(t.fields.size()));
    for (int i = 0; i < table->fieldCount(); ++i) {
      EXPECT_EQ(table->field(i).name, t.fields[size_t(i)].name);
      EXPECT_EQ(table->field(i).type, t.fields[size_t(i)].type);
      if (!table->field(i).isMemo()) {
        EXPECT_EQ(table->field(i).length, t.fields[size_t(i)].length);
      }
      EXPECT_EQ(table->field(i).decimals, t.fields[size_t(i)].decimals);
    }
    std::vector<std::string> wanted;
    for (const auto& g : t.tags) wanted.push_back(g.name);
    std::vector<std::string> have = table->tagNames();
    std::sort(wanted.begin(), wanted.end());
    std::sort(have.begin(), have.end());
    EXPECT_EQ(have, wanted);
    // One blank record and one filled in, so that every key is computed and stored.
    ASSERT_TRUE(table->append());
    table->flush();
    ASSERT_TRUE(table->append());
    for (int i = 0; i < table->fieldCount(); ++i) {
      const xbase::Field& f = table->field(i);
      switch (f.type) {
        case 'C':
        case 'M':
          table->put(i, xbase::Value::chars("X"));
          break;
        case 'N':
          table->put(i, xbase::Value::num(1));
          break;
        case 'L':
          table->put(i, xbase::Value::boolean(true));
          break;
        case 'D':
          table->put(i, xbase::Value::date(2460000));
          break;
        default:
          break;
      }
    }
    table->flush();
    xbase::CheckReport report = table->check();
    EXPECT_TRUE(report.ok()) << testing::PrintToString(report.problems);
    table.reset();
    auto shared = xbase::DbfTable::open(path);
    EXPECT_EQ(shared->recCount(), 2u);
    for (const auto& g : t.tags) {
      shared->setOrder(g.name);
      EXPECT_EQ(shared->keyCount(), 2u) << g.name;
    }
  }
}

TEST(BuiltInCatalogue, KeepsTheWidthsTheDataLayerRelies) {
  const Catalogue& c = Catalogue::builtIn();
  auto field = [&](const std::string& table, const std::string& name) {
    const CatalogueTable* t = c.find(table);
    const xbase::FieldSpec* f = t ? fieldOf(*t, name) : nullptr;
    if (!f) ADD_FAILURE() << table << "." << name << " missing";
    static const xbase::FieldSpec none;
    return f ? *f : none;
  };
  // The business code is the same everywhere.
  EXPECT_EQ(field("NEGOCIOS", "CODIGO").length, 2);
  for (const auto& t : c.tables())
    if (const xbase::FieldSpec* f = fieldOf(t, "NEGOCIO")) {
      EXPECT_EQ(f->type, 'C') << t.name;
      // A released level row of the dynamic rates is marked "****DELETED****" there.
      EXPECT_EQ(f->length, t.name == "NIV_TARI" ? 15 : 2) << t.name;
    }
  // Times are "hh:mm:ss" everywhere.
  for (const auto& t : c.tables())
    for (const auto& f : t.fields)
      if (f.name == "HORA" || f.name.starts_with("HORA_S") || f.name == "H_CLAVE" || f.name == "POLL_H") {
        EXPECT_EQ(f.type, 'C') << t.name << "." << f.name;
        EXPECT_EQ(f.length, 8) << t.name << "." << f.name;
      }
  EXPECT_EQ(field("USUARIOS", "PASSWORD").length, 10);
  EXPECT_EQ(field("USUARIOS", "CODIGO").type, 'N');
  EXPECT_EQ(field("SUBBASES", "CODIGO").length, 2);
  EXPECT_EQ(field("USUARIOS", "SUBBASE").length, 2);
  EXPECT_EQ(field("SERIALES", "MODULO").length, 10);
  EXPECT_EQ(field("SERIALES", "CURRENT_N").length, 15);
  EXPECT_EQ(field("F_TXT_S", "TABLA").length, 15);
  EXPECT_EQ(field("F_BROWSE", "DIALOGO").length, 20);
  EXPECT_EQ(field("MENUS", "CHECK_ID").type, 'L');
  EXPECT_EQ(field("ERROR", "DETALLE").type, 'M');
  EXPECT_EQ(field("LOG_E_S", "DESC_ERR").type, 'M');
  EXPECT_EQ(field("E_MSGS", "BODY").type, 'M');
  EXPECT_EQ(field("F_HOTEL", "R1_AGENCIA").length, 15);
  EXPECT_EQ(field("F_HOTEL", "MAE_AGEN").length, 15);

  auto key = [&](const std::string& table, const std::string& tag) {
    const CatalogueTable* t = c.find(table);
    const xbase::TagSpec* g = t ? tagOf(*t, tag) : nullptr;
    if (!g) ADD_FAILURE() << table << " has no tag " << tag;
    return g ? g->keyExpr : std::string();
  };
  EXPECT_EQ(key("USUARIOS", "USUARIOS"), "NEGOCIO+NOMBRE");
  EXPECT_EQ(key("USUARIOS", "USUARIO3"), "NEGOCIO+STR(CODIGO,4)");
  EXPECT_EQ(key("USUARIOS", "USUARIO5"), "NEGOCIO+STR(ADASIPA,1)");
  EXPECT_EQ(key("MENUS", "MENUS"), "NEGOCIO+STR(CODIGO,8)+STR(ID,8)");
  EXPECT_EQ(key("DET_PERF", "DET_PERF"), "NEGOCIO+STR(CODIGO,8)+STR(ID,8)");
  EXPECT_EQ(key("SERIALES", "SERIALES"), "NEGOCIO+MODULO+CODIGO");
  EXPECT_EQ(key("NEGOCIOS", "NEGOCIOS"), "CODIGO");
  EXPECT_EQ(key("F_BROWSE", "F_BROW2"), "NEGOCIO+STR(N_USER,4)");
  EXPECT_EQ(key("F_HOTEL", "F_HOTEL"), "NEGOCIO");
  for (const auto& [table, tag] : std::vector<std::pair<std::string, std::string>>{{"ERROR", "ERROR"},
                                                                                   {"LOG_E_S", "LOG_E_S"},
                                                                                   {"LOG_ROLL", "LOG_ROLL"},
                                                                                   {"LOG_DIAG", "LOG_DIA2"},
                                                                                   {"FONTS", "FONTS"},
                                                                                   {"TRADUCT", "TRADUCT"},
                                                                                   {"F_TXT_S", "T_TXT_S"},
                                                                                   {"F_BROWSE", "F_BROWSE"},
                                                                                   {"SERIALES", "SERIAL3"},
                                                                                   {"SERIALES", "SERIAL4"}})
    EXPECT_FALSE(key(table, tag).empty()) << table << " " << tag;
}
