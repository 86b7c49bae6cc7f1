// The browse grid on a list screen, driven like a user through the driver: scoped rows and
// their count, ordering by header, marks, the quick search and the pattern scans, the
// context menu, the column layouts, in-cell editing, the workbook export, the periodic
// refresh and the per-user font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "lib/catalogue.h"
#include "lib/globals.h"
#include "lib/profile_file.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/open_screen.h"
#include "support/program_folder.h"
#include "win/browse.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/driver.h"
#include "win/main_frame.h"
#include "win/resources.h"
#include "win/script.h"
#include "win/wdiag.h"
#include "xbase/date.h"

using namespace win;
using lib::Value;
using testing_support::open;
using testing_support::ProgramFolder;

namespace {

std::string sourceFile(const std::string& relative) {
  std::ifstream in(std::string(CONFIGURA_SOURCE_DIR) + "/" + relative);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int32_t date(int y, int m, int d) {
  return xbase::julianFromYmd(y, m, d);
}

struct Tipo {
  std::string negocio, codigo, descrip;
  double precio;
  int32_t fecha;
  bool activo;
};

// Business 01 in code order: BEST DOBL FAMI SENC SUIT SUPR; in description order: DOBL SENC
// FAMI SUPR SUIT BEST.
std::vector<Tipo> hotel() {
  return {
      {"01", "DOBL", "Doble Estándar", 1250.5, date(2025, 11, 5), true},
      {"02", "BEST", "Otra Casa", 100, date(2025, 1, 1), true},
      {"01", "SUIT", "Suite Junior", 3400, date(2025, 1, 15), true},
      {"01", "SENC", "Económica", 850, date(2025, 3, 1), false},
      {"02", "AAAA", "Primera de Otra", 200, date(2025, 2, 1), true},
      {"01", "BEST", "Vista al Mar", 990, date(2024, 12, 31), true},
      {"01", "SUPR", "Presidencial", 9800, date(2025, 1, 20), true},
      {"02", "ZZZZ", "Última de Otra", 300, date(2025, 3, 1), false},
      {"01", "FAMI", "Familiar", 1800, date(2025, 6, 10), true},
  };
}

void addTipo(lib::WDBTable& t, const Tipo& r) {
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars(r.negocio));
    t.FieldPut("CODIGO", Value::chars(r.codigo));
    t.FieldPut("DESCRIP", Value::chars(r.descrip));
    t.FieldPut("PRECIO", Value::num(r.precio));
    t.FieldPut("FECHA", Value::date(r.fecha));
    t.FieldPut("ACTIVO", Value::boolean(r.activo));
  });
}

// A list screen written as the program's are: tables opened first, the grid on control 700,
// the columns, then the grid's configuration with the business unit as its scope.
struct ListaOptions {
  bool orders = true;
  std::string searchPrefix, scopeSuffix;
  std::optional<std::string> scope;  // default: the business unit
  std::vector<int> keyColumns;
  bool special = false;  // one more column from a callback
};

class LISTA : public WDIAG, public ADD2BROWSE, public EDITCELL {
 public:
  using Options = ListaOptions;

  LISTA(WDIAG* parent, const std::string& negocio, Options o = {}) : options(std::move(o)) {
    NEGOCIO = negocio;
    TIPOS = lib::USE(this, "TIPOS", "TIPOS");
    if (!Init(parent, "PRUEBA_LISTA")) return;
    OB = std::make_unique<WBLISTBOX>(this, 700, TIPOS.get());
    ADD(OB.get());
    SALIR = std::make_unique<WPUSHBUTTON>(this, 1);
    ADD(SALIR.get(), [this](WDIAG&, WCONTROL&, int) {
      ENDDIALOG();
      return 0;
    });
    CREATE("PRUEBA_LISTA");
    MontarColumnas();
    ConfigBrow();
  }

  void MontarColumnas() {
    AGREGARCOL(*OB, TIPOS.get(), "Código", "CODIGO", "@! XXXX", {}, 0, false, 14);
    AGREGARCOL(*OB, TIPOS.get(), "Descripción", "DESCRIP");
    AGREGARCOL(*OB, TIPOS.get(), "Precio", "PRECIO", "999,999.99", {}, 2);
    AGREGARCOL(*OB, TIPOS.get(), "Fecha", "FECHA", "", {}, 0, false, 6);
    AGREGARCOL(*OB, TIPOS.get(), "Activo", "ACTIVO", "", {}, 0, false, 24);
    if (options.special) {
      AGREGARCOL(*OB, TIPOS.get(), "Etiqueta", "", "",
                 [this] { return Value::chars(TIPOS->S("CODIGO") + "/" + TIPOS->S("NEGOCIO")); });
      AGREGARCOL(*OB, TIPOS.get(), "Mayúsculas", "UPPER(DESCRIP)");
    }
  }

  void ConfigBrow() {
    lib::SELECT(TIPOS->Area);
    OB->showNumbers = false;
    OB->nubWidth = 1;
    OB->boxCursor = false;
    OB->autoLite = false;
    OB->escape = false;
    OB->userMove = false;
    OB->userSize = false;
    BrowMarksOptions o;
    o.searchPrefix = options.searchPrefix;
    o.scopeSuffix = options.scopeSuffix;
    o.keyColumns = options.keyColumns;
    std::vector<BrowseOrder> orders;
    if (options.orders) orders = {{1, "TIPOS"}, {2, "TIPDESC"}, {4, "TIPFEC"}};
    BROWMARKS(*OB, orders, 1, options.scope.value_or(NEGOCIO), o);
    OB->keyBlock = [this](WBLISTBOX& grid, int key, const std::string& text) {
      // In-cell editing of the key columns, with the record locked around it.
      lib::SELECT(TIPOS->Area);
      lib::LOCK_FOR_MODIFY(TIPOS.get());
      edits += Editar(*TIPOS, grid, 0, key, text, this) ? 1 : 0;
      lib::SELECT(TIPOS->Area);
      lib::UNLOCK_FOR_MODIFY(TIPOS.get());
      return true;
    };
  }

  void OnNCDESTROY() override {
    if (OB) CLOSEBROWSE(*OB);
    lib::KILLTABLA(TIPOS);
  }

  Options options;
  std::unique_ptr<lib::WDBTable> TIPOS;
  std::unique_ptr<WBLISTBOX> OB;
  std::unique_ptr<WPUSHBUTTON> SALIR;
  int edits = 0;
};

class Browse : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool loaded = false;
    if (!loaded) {
      addResourceScript(sourceFile("tests/win/browse_screens.rc"), "browse_screens.rc");
      loaded = true;
    }
    folder = std::make_unique<ProgramFolder>();
    windir = folder->path() + "/WINDOWS";
    std::filesystem::create_directories(windir);
    setenv("CONFIGURA_WINDIR", windir.c_str(), 1);
    Driver::instance().install();
    Driver::instance().messages().clear();
    savedSearchValues().clear();
    frame = std::make_unique<MainFrame>("Configuración Hotelería");
    frame->window()->resize(1000, 700);
    frame->window()->show();
    folder->table("TIPOS.DBF",
                  {{"NEGOCIO", 'C', 2},
                   {"CODIGO", 'C', 4},
                   {"DESCRIP", 'C', 30},
                   {"PRECIO", 'N', 10, 2},
                   {"FECHA", 'D', 8},
                   {"ACTIVO", 'L', 1}},
                  {"TIPOS: NEGOCIO+CODIGO", "TIPDESC: NEGOCIO+UPPER(DESCRIP)", "TIPFEC: NEGOCIO+DTOS(FECHA)"});
  }
  void TearDown() override {
    browseHooks() = saved;
    frame.reset();
    QCoreApplication::processEvents();
    folder.reset();
    unsetenv("CONFIGURA_WINDIR");
  }
  void fillTipos(const std::vector<Tipo>& rows) {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");
    for (const Tipo& r : rows) addTipo(*t, r);
    lib::KILLTABLA(t);
  }
  void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  // The codes down column 1, as shown.
  std::vector<std::string> codes(int id = 700) {
    std::vector<std::string> out;
    for (const auto& row : d.gridRows(id)) out.push_back(row.at(0));
    return out;
  }
  void catalogued(const std::string& name) {
    const lib::CatalogueTable* t = lib::Catalogue::builtIn().find(name);
    ASSERT_NE(t, nullptr);
    xbase::DbfTable::create(folder->bases(name + ".DBF"), t->fields, t->tags);
  }
  std::string unzip(const std::string& archive, const std::string& member) {
    std::string command = "unzip -p '" + archive + "' '" + member + "'";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {};
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
  }

  std::unique_ptr<ProgramFolder> folder;
  std::unique_ptr<MainFrame> frame;
  std::string windir;
  Driver& d = Driver::instance();
  BrowseHooks saved = browseHooks();
};

using Codes = std::vector<std::string>;

}  // namespace

TEST_F(Browse, AnEmptyScopeHasNoRowsAndAddsAndDeletesKeepTheCount) {
  fillTipos({{"02", "BEST", "Otra Casa", 100, date(2025, 1, 1), true}});
  LISTA* s = open<LISTA>(nullptr, "01");
  ASSERT_TRUE(s);
  settle();
  EXPECT_EQ(s->OB->nMaxRec, 0u);
  EXPECT_EQ(d.gridCount(700), 0);
  EXPECT_TRUE(d.gridRows(700).empty());
  // The add protocol: the record, one more in the count, the grid on it.
  auto add = [&](const Tipo& r) {
    addTipo(*s->TIPOS, r);
    s->OB->nMaxRec += 1;
    s->OB->SHOWDATA();
    s->OB->REFRESHALL();
  };
  add({"01", "SUIT", "Suite Junior", 3400, date(2025, 1, 15), true});
  add({"01", "DOBL", "Doble", 1200, date(2025, 1, 16), true});
  add({"01", "FAMI", "Familiar", 1800, date(2025, 1, 17), true});
  EXPECT_EQ(d.gridCount(700), 3);
  EXPECT_EQ(codes(), (Codes{"DOBL", "FAMI", "SUIT"}));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");  // the grid stands on the record added
  EXPECT_EQ(s->OB->nCurRec, 2u);
  // The delete protocol, on the middle row: the key stays in the index until a pack.
  ASSERT_TRUE(d.gridRow(700, 2));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");
  lib::SELECT(s->TIPOS->Area);
  lib::LOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Delete();
  lib::UNLOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Skip(1);
  s->OB->nMaxRec -= 1;
  s->OB->SHOWDATA();
  s->OB->REFRESHALL();
  EXPECT_EQ(d.gridCount(700), 2);
  EXPECT_EQ(codes(), (Codes{"DOBL", "SUIT"}));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUIT");
  // Counted again from the index at go-top, the deleted key shows up and is read away.
  s->OB->GOTOP();
  EXPECT_EQ(d.gridCount(700), 2);
  EXPECT_EQ(codes(), (Codes{"DOBL", "SUIT"}));
  // The last one of the scope.
  ASSERT_TRUE(d.gridRow(700, 2));
  lib::SELECT(s->TIPOS->Area);
  lib::LOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Delete();
  lib::UNLOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Skip(1);
  s->OB->nMaxRec -= 1;
  s->OB->SHOWDATA();
  s->OB->REFRESHALL();
  EXPECT_EQ(d.gridCount(700), 1);
  EXPECT_EQ(codes(), (Codes{"DOBL"}));
  EXPECT_EQ(s->OB->nCRecNo, s->TIPOS->RecNo());
}

// A row deleted with rows below it: the grid stands on the next one, and every row that is
// left shows, the last one too, although the deleted key is still in the index above it.
TEST_F(Browse, ADeletedMiddleRowLeavesEveryOtherRowShown) {
  fillTipos({{"01", "DOBL", "Doble", 1200, date(2025, 1, 16), true},
             {"01", "FAMI", "Familiar", 1800, date(2025, 1, 17), true},
             {"01", "SENC", "Sencilla", 900, date(2025, 1, 18), true},
             {"01", "SUIT", "Suite Junior", 3400, date(2025, 1, 15), true}});
  LISTA* s = open<LISTA>(nullptr, "01");
  ASSERT_TRUE(s);
  settle();
  ASSERT_TRUE(d.gridRow(700, 2));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");
  lib::SELECT(s->TIPOS->Area);
  lib::LOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Delete();
  lib::UNLOCK_FOR_MODIFY(s->TIPOS.get());
  s->TIPOS->Skip(1);
  s->OB->nMaxRec -= 1;
  s->OB->SHOWDATA();
  s->OB->REFRESHALL();
  settle();
  EXPECT_EQ(d.gridCount(700), 3);
  EXPECT_EQ(codes(), (Codes{"DOBL", "SENC", "SUIT"}));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");
  EXPECT_EQ(s->OB->nCurRec, 2u);
}

TEST_F(Browse, ShowsTheScopeInTheOrderOfItsIndexWithPicturesAndTranslatedHeadings) {
  lib::G().XTRADUCT.push_back({"Activo", "Vigente", 0});
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  EXPECT_EQ(d.gridCount(700), 6);
  EXPECT_EQ(codes(), (Codes{"BEST", "DOBL", "FAMI", "SENC", "SUIT", "SUPR"}));
  auto rows = d.gridRows(700);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"DOBL", "Doble Estándar", "  1,250.50", "05/11/25", "S"}));
  EXPECT_EQ(rows[3][4], "N");
  EXPECT_EQ(s->OB->Heading(5), "Vigente");
  EXPECT_EQ(d.gridCell(700, 5, "Descripción"), "Suite Junior");
  EXPECT_EQ(d.gridCell(700, 5, "3"), "  3,400.00");
  // Widths come from the pictures: the price's ten characters against the code's four.
  EXPECT_EQ(s->OB->ColumnWidth(3) - 10, (s->OB->ColumnWidth(1) - 10 - 14) * 10 / 4);
  // The cursor: first row, the table on its record.
  EXPECT_EQ(s->OB->nCurRec, 1u);
  EXPECT_EQ(s->OB->rowPos, 1);
  EXPECT_TRUE(s->OB->hitTop);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "BEST");
  s->OB->GOBOTTOM();
  EXPECT_EQ(s->OB->nCurRec, 6u);
  EXPECT_TRUE(s->OB->hitBottom);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUPR");
  EXPECT_EQ(s->OB->SKIP(-2), -2);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");
  EXPECT_EQ(s->OB->SKIP(-10), 0);  // before the first key
  EXPECT_TRUE(s->OB->hitTop);
  EXPECT_EQ(s->OB->nCurRec, 1u);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "BEST");
}

TEST_F(Browse, AHeaderClickOrdersByItsColumnAndKeepsTheCurrentRecord) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  ASSERT_TRUE(d.gridRow(700, 5));  // SUIT
  uint32_t suit = s->OB->nCRecNo;
  EXPECT_EQ(s->GET_OB_ORDER(*s->OB), 1);
  ASSERT_TRUE(d.gridHeader(700, "Descripción"));
  EXPECT_EQ(s->GET_OB_ORDER(*s->OB), 2);
  EXPECT_EQ(s->TIPOS->Order(), "TIPDESC");
  EXPECT_EQ(codes(), (Codes{"DOBL", "SENC", "FAMI", "SUPR", "SUIT", "BEST"}));
  EXPECT_EQ(s->OB->nCRecNo, suit);
  EXPECT_EQ(s->OB->nCurRec, 5u);
  EXPECT_EQ(d.gridCount(700), 6);
  // The order column is drawn in its own colour.
  QAbstractItemModel* m = s->OB->view()->model();
  EXPECT_EQ(m->data(m->index(0, 2), Qt::BackgroundRole).value<QColor>(), QColor(0xD1, 0xCF, 0xC2));
  EXPECT_FALSE(m->data(m->index(0, 1), Qt::BackgroundRole).isValid());
  // A column without an index does not order.
  ASSERT_TRUE(d.gridHeader(700, "Precio"));
  EXPECT_EQ(s->GET_OB_ORDER(*s->OB), 2);
  ASSERT_TRUE(d.gridHeader(700, "Fecha"));
  EXPECT_EQ(codes(), (Codes{"BEST", "SUIT", "SUPR", "SENC", "FAMI", "DOBL"}));
  s->SET_ORDER(*s->OB, 1, true);
  EXPECT_EQ(codes(), (Codes{"BEST", "DOBL", "FAMI", "SENC", "SUIT", "SUPR"}));
  EXPECT_EQ(s->OB->nCurRec, 1u);
}

TEST_F(Browse, MarksAreRecordsOfTheScopeAndTheRowHeaderCountsThem) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  QAbstractItemModel* m = s->OB->view()->model();
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "  0");
  d.gridRow(700, 2);
  s->ADD_MARK(*s->OB);
  s->ADD_MARK(*s->OB);  // already marked
  d.gridRow(700, 4);
  s->TOGGLEMARK(*s->OB);
  uint32_t dobl = 0, senc = 0;
  {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");
    t->Seek("01DOBL");
    dobl = t->RecNo();
    t->Seek("01SENC");
    senc = t->RecNo();
    lib::KILLTABLA(t);
  }
  EXPECT_EQ(s->GET_MARKS(*s->OB), (std::vector<uint32_t>{dobl, senc}));
  EXPECT_TRUE(s->ISOBMARKED(*s->OB, dobl));
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "  2");
  EXPECT_EQ(m->data(m->index(1, 0)).toString(), "\u2713");
  s->SYMBOLMARK(*s->OB, "*");
  EXPECT_EQ(m->data(m->index(1, 0)).toString(), "*");
  // A click on a row header toggles that row's record.
  s->OB->ClickRowHeader(4);
  EXPECT_FALSE(s->ISOBMARKED(*s->OB, senc));
  s->OB->ClickRowHeader(6);
  EXPECT_EQ(s->GET_MARKS(*s->OB).size(), 2u);
  s->DEL_MARK(*s->OB, dobl);
  EXPECT_EQ(s->GET_MARKS(*s->OB).size(), 1u);
  // Mark-all takes the scope only: the six records of business 01, not the nine.
  s->NUB_MARKALL(*s->OB);
  EXPECT_EQ(s->GET_MARKS(*s->OB).size(), 6u);
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "  6");
  EXPECT_EQ(s->TIPOS->RecNo(), s->OB->nCRecNo);  // marking all read the scope without moving
  s->NUB_CLEAR(*s->OB);
  EXPECT_TRUE(s->GET_MARKS(*s->OB).empty());
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "  0");
}

TEST_F(Browse, TypingOpensTheQuickSearchWhichSeeksWithinTheScope) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  ASSERT_TRUE(d.gridType(700, "S"));
  EXPECT_EQ(d.activeName(), "OBSEARCH");
  EXPECT_EQ(d.text(0), "Buscar...");
  EXPECT_EQ(d.text(500), "S");
  EXPECT_FALSE(s->frame()->isEnabled());  // the screen waits for the search
  EXPECT_FALSE(d.enabled(501));           // "y:" is for dates and numbers
  d.gridType(700, "U");                   // the window takes the keys now
  EXPECT_EQ(d.text(500), "SU");
  d.key(500, Qt::Key_Return);
  settle();
  EXPECT_EQ(d.activeName(), "PRUEBA_LISTA");
  EXPECT_TRUE(s->frame()->isEnabled());
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUIT");
  EXPECT_EQ(s->TIPOS->S("NEGOCIO"), "01");
  EXPECT_EQ(s->OB->TopRow(), s->OB->nCurRec - s->OB->rowPos + 1);
  // Past the scope's last key: the grid stays where it was.
  d.gridType(700, "Z");
  d.key(500, Qt::Key_Return);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUIT");
  EXPECT_TRUE(d.messages().empty());
}

TEST_F(Browse, TheSearchTakesThePrefixAndTheScopeSuffix) {
  fillTipos(hotel());
  LISTA::Options o;
  o.scope = "0";  // both businesses
  o.scopeSuffix = "2";
  LISTA* s = open<LISTA>(nullptr, "01", o);
  settle();
  EXPECT_EQ(d.gridCount(700), 9);
  d.gridType(700, "B");
  d.key(500, Qt::Key_Return);
  EXPECT_EQ(s->TIPOS->S("NEGOCIO"), "02");  // "0" + "2" + "B"
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "BEST");
  LISTA::Options p;
  p.scope = "";  // no scope
  p.searchPrefix = "01";
  LISTA* t = open<LISTA>(nullptr, "01", p);
  settle();
  EXPECT_EQ(d.gridCount(700), 9);
  ASSERT_TRUE(d.gridSeek(700, "S"));
  EXPECT_EQ(t->TIPOS->S("NEGOCIO") + t->TIPOS->S("CODIGO"), "01SENC");
}

TEST_F(Browse, TheSearchWindowRefusesColumnsWithoutAFieldAndGridsWithoutOrders) {
  fillTipos(hotel());
  LISTA::Options o;
  o.special = true;
  o.orders = false;
  LISTA* s = open<LISTA>(nullptr, "01", o);
  settle();
  EXPECT_EQ(d.gridCell(700, 1, "Etiqueta"), "BEST/01");
  EXPECT_EQ(d.gridCell(700, 4, "Mayúsculas"), "ECONÓMICA");  // an expression of the table
  for (int i = 0; i < 5; ++i) s->OB->PressKey(Qt::Key_Right);
  EXPECT_EQ(s->OB->colPos, 6);
  d.gridType(700, "A");
  ASSERT_EQ(d.messages().size(), 1u);
  EXPECT_EQ(d.messages()[0].text, "Debe posicionarse sobre una columna diferente");
  EXPECT_EQ(d.messages()[0].title, "Error");
  EXPECT_EQ(d.activeName(), "PRUEBA_LISTA");
  s->OB->PressKey(Qt::Key_Home);
  s->OB->PressKey(Qt::Key_Left);
  for (int i = 0; i < 5; ++i) s->OB->PressKey(Qt::Key_Left);
  EXPECT_EQ(s->OB->colPos, 1);
  d.gridType(700, "A");
  EXPECT_EQ(d.activeName(), "OBSEARCH");
  d.key(500, Qt::Key_Return);
  ASSERT_EQ(d.messages().size(), 2u);
  EXPECT_EQ(d.messages()[1].text,
            "No se puede realizar la búsqueda rápida\rpues esta ventana no permite ordenamientos sobre columnas");
  EXPECT_EQ(d.activeName(), "PRUEBA_LISTA");
}

TEST_F(Browse, PatternScansGoBothWaysAndRememberTheirSearches) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  d.gridHeader(700, "Descripción");  // DOBL SENC FAMI SUPR SUIT BEST
  s->OB->GOTOP();
  s->OB->PressKey(Qt::Key_Right);
  EXPECT_EQ(s->OB->colPos, 2);
  ASSERT_TRUE(d.gridMenu(700, "Buscar Dato..."));
  EXPECT_EQ(d.activeName(), "OBSEARCH");
  EXPECT_EQ(d.text(500), "");
  d.type(500, "MI");
  d.key(500, Qt::Key_F2);                    // contains "mi", either case, from the current record down
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");  // "Económica"
  EXPECT_EQ(d.activeName(), "OBSEARCH");     // it stays open for the next one
  EXPECT_EQ(d.items(601), (std::vector<std::string>{"MI->"}));
  d.key(500, Qt::Key_F3);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");  // "Familiar"
  d.key(500, Qt::Key_F3);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");  // nothing further down
  EXPECT_EQ(d.text(502), "No se encontró \"MI\"");
  d.check(1002, true);  // "Hacia Arriba"
  d.key(500, Qt::Key_F3);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");
  d.setText(500, "suite");
  d.key(500, Qt::Key_F2);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");  // none above
  d.check(1001, true);
  d.key(500, Qt::Key_F2);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUIT");
  EXPECT_EQ(d.items(601).size(), 2u);
  d.press(2);
  EXPECT_EQ(d.activeName(), "PRUEBA_LISTA");
  // Dates between the two entries.
  s->OB->PressKey(Qt::Key_Right);
  s->OB->PressKey(Qt::Key_Right);
  EXPECT_EQ(s->OB->colPos, 4);
  s->OB->GOTOP();
  d.gridType(700, "0");
  EXPECT_TRUE(d.enabled(501));
  d.setText(500, "01/01/25");
  d.setText(501, "31/01/25");
  d.key(500, Qt::Key_F2);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUPR");  // 20/01/25, the first of January in this order
  d.key(500, Qt::Key_F3);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUIT");  // 15/01/25
  d.press(2);
  // Numbers, commas taken out.
  s->OB->PressKey(Qt::Key_Left);
  s->OB->GOTOP();
  d.gridType(700, "1");
  d.setText(500, "1,000");
  d.setText(501, "2,000.00");
  d.key(500, Qt::Key_F2);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "DOBL");
  d.key(500, Qt::Key_F3);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "FAMI");
  d.press(2);
}

TEST_F(Browse, TheContextMenuHasItsEntriesInOrderAndSeeksSavedValues) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  int custom = 0;
  s->SET_MENUOPTIONS(*s->OB, {{"Recodificar", [&](WBLISTBOX&) { ++custom; }}});
  EXPECT_EQ(s->OB->MenuCaptions(), (std::vector<std::string>{"Exportar a Excel", "", "Tipo de Letra de Despliegue", "",
                                                             "Recodificar", "", "Buscar Dato...", "Buscar Fecha...",
                                                             "Guardar Dato p/Búsqueda", "Limpiar Búsquedas"}));
  ASSERT_TRUE(d.gridMenu(700, "Recodificar"));
  EXPECT_EQ(custom, 1);
  // Ctrl+C on a text cell: the clipboard and the saved values.
  d.gridRow(700, 2);
  s->OB->PressKey(Qt::Key_C, true);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "DOBL ");
  ASSERT_EQ(savedSearchValues().size(), 1u);
  s->OB->PressKey(Qt::Key_Right);
  s->OB->PressKey(Qt::Key_Right);
  s->OB->PressKey(Qt::Key_C, true);
  ASSERT_EQ(d.messages().size(), 1u);
  EXPECT_EQ(d.messages()[0].text, "El dato debe ser tipo Caracter");
  s->OB->PressKey(Qt::Key_Left);
  d.gridRow(700, 5);
  ASSERT_TRUE(d.gridMenu(700, "Guardar Dato p/Búsqueda"));
  EXPECT_EQ(savedSearchValues().back(), Value::chars("Suite Junior"));
  std::vector<std::string> captions = s->OB->MenuCaptions();
  ASSERT_EQ(captions.size(), 13u);
  EXPECT_EQ(captions[10], "");
  EXPECT_EQ(captions[11], ">DOBL");
  EXPECT_EQ(captions[12], ">Suite Junior");
  // A saved value is sought after the scope's low key.
  s->OB->GOTOP();
  ASSERT_TRUE(d.gridMenu(700, ">DOBL"));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "DOBL");
  ASSERT_TRUE(d.gridMenu(700, "Limpiar Búsquedas"));
  EXPECT_TRUE(savedSearchValues().empty());
  EXPECT_FALSE(s->SEARCH_DATO(*s->OB, 1));
  EXPECT_EQ(d.messages().back().text, "Debe guardar primero un Dato por buscar...");
  savedSearchValues().push_back(Value::num(5));
  EXPECT_FALSE(s->SEARCH_DATO(*s->OB, 1));
  EXPECT_EQ(d.messages().back().text, "Solamente se pueden buscar datos tipo Caracter");
}

TEST_F(Browse, ASavedDayMonthYearIsSoughtAsTwentyYearMonthDay) {
  EXPECT_EQ(searchKeyOf("05/11/25"), "20251105");
  EXPECT_EQ(searchKeyOf("05-11-25"), "05-11-25");
  EXPECT_EQ(searchKeyOf("05/11/2025"), "05/11/2025");
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  d.gridHeader(700, "Fecha");
  savedSearchValues().push_back(Value::chars("05/11/25"));
  ASSERT_TRUE(d.gridMenu(700, ">05/11/25"));
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "DOBL");
  EXPECT_EQ(s->TIPOS->D("FECHA"), date(2025, 11, 5));
  // "Buscar Fecha..." through its calendar, by day and by month.
  s->OB->GOTOP();
  d.run({[&] { d.gridMenu(700, "Buscar Fecha..."); },
         [&] {
           EXPECT_EQ(d.activeName(), "BROWSE_FECHA");
           d.setText(500, "31/02/25");
           d.press(1);
         },
         [&] {
           EXPECT_EQ(d.messages().back().text, "Fecha inválida");
           EXPECT_EQ(d.activeName(), "BROWSE_FECHA");
           d.setText(500, "16/01/25");
           d.press(1);
         },
         [&] { EXPECT_EQ(d.activeName(), "PRUEBA_LISTA"); }});
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SUPR");  // the first at or after 16/01/25
  d.run({[&] { d.gridMenu(700, "Buscar Fecha..."); },
         [&] {
           d.setText(500, "20/03/25");
           d.check(1001, true);
           d.press(1);
         },
         [] {}});
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "SENC");  // March: 01/03/25
}

TEST_F(Browse, ASavedLayoutOrdersAndSizesTheColumnsAndAnInvalidOneIsIgnored) {
  fillTipos(hotel());
  lib::ProfileFile f(lib::profilePath("COLUMNAS.INI"));
  ASSERT_EQ(f.path(), windir + "/COLUMNAS.INI");
  f.writeString("PRUEBA_LISTA", "Spalten", "10111");
  f.writeString("PRUEBA_LISTA", "SpalteX1", std::to_string(3 + 65536 * 90));
  f.writeString("PRUEBA_LISTA", "SpalteX2", std::to_string(1 + 65536 * 40));
  f.writeString("PRUEBA_LISTA", "SpalteX3", std::to_string(9 + 65536 * 60));  // beyond the five
  f.writeString("PRUEBA_LISTA", "SpalteX4", std::to_string(5 + 65536 * 30));
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  ASSERT_EQ(s->OB->ColCount(), 5);
  for (int pos = 1; pos <= 5; ++pos) EXPECT_EQ(s->OB->DefinedColumn(pos), pos);
  EXPECT_EQ(d.gridRows(700)[0].size(), 5u);
  s->ENDDIALOG();
  settle();
  f.writeString("PRUEBA_LISTA", "SpalteX3", std::to_string(4 + 65536 * 60));
  s = open<LISTA>(nullptr, "01");
  settle();
  ASSERT_EQ(s->OB->ColCount(), 4);
  EXPECT_EQ(s->OB->DefinedColumn(1), 3);
  EXPECT_EQ(s->OB->DefinedColumn(2), 1);
  EXPECT_EQ(s->OB->DefinedColumn(4), 5);
  EXPECT_EQ(s->OB->ColumnWidth(1), 90);
  EXPECT_EQ(s->OB->ColumnWidth(2), 40);
  EXPECT_EQ(s->OB->view()->columnWidth(1), 90);
  EXPECT_EQ(d.gridRows(700)[0], (std::vector<std::string>{"    990.00", "BEST", "31/12/24", "S"}));
  // The chooser writes the layout back.
  d.run({[&] { s->OB->COLUMNAS(); },
         [&] {
           EXPECT_EQ(d.activeName(), "BROWSE_COLUMNAS");
           EXPECT_EQ(d.items(702), (std::vector<std::string>{"Precio", "Código", "Fecha", "Activo"}));
           EXPECT_EQ(d.text(501), "90");
           d.selectText(701, "Descripción");
           d.press(301);  // shown last
           d.press(303);  // one up
           d.selectText(702, "Precio");
           d.press(302);  // hidden
           d.selectText(702, "Código");
           d.setText(501, "55");
           d.press(1);
         },
         [] {}});
  EXPECT_EQ(f.getString("PRUEBA_LISTA", "Spalten"), "11011");
  EXPECT_EQ(f.getInt("PRUEBA_LISTA", "SpalteX1"), 1 + 65536 * 55);
  EXPECT_EQ(f.getInt("PRUEBA_LISTA", "SpalteX2"), 4 + 65536 * 60);
  EXPECT_EQ(f.getInt("PRUEBA_LISTA", "SpalteX3") & 0xFFFF, 2);
  EXPECT_EQ(f.getInt("PRUEBA_LISTA", "SpalteX4") & 0xFFFF, 5);
  EXPECT_EQ(f.getString("PRUEBA_LISTA", "SpalteX5", "none"), "none");
  EXPECT_NE(f.getString("PRUEBA_LISTA", "x", ""), "");
  ASSERT_EQ(s->OB->ColCount(), 4);
  EXPECT_EQ(d.gridRows(700)[0], (std::vector<std::string>{"BEST", "31/12/24", "Vista al Mar", "S"}));
}

TEST_F(Browse, InCellEditingWritesANumberAndRefusesAnInvalidDate) {
  fillTipos(hotel());
  LISTA::Options o;
  o.keyColumns = {3, 4};
  LISTA* s = open<LISTA>(nullptr, "01", o);
  settle();
  d.gridRow(700, 2);  // DOBL
  s->OB->PressKey(Qt::Key_Right);
  s->OB->PressKey(Qt::Key_Right);
  ASSERT_EQ(s->OB->colPos, 3);
  QRect cell;
  d.run({[&] { d.gridType(700, "7"); },  // a typed key opens the editor with it typed
         [&] {
           EXPECT_EQ(d.activeName(), "EDICION");
           EXPECT_EQ(d.text(500), "      7.00");
           QTableView* v = s->OB->view();
           QRect r = v->visualRect(v->model()->index(1, 3));
           QWidget* top = d.active()->frame();
           EXPECT_EQ(top->geometry().size(), QSize(r.width() + 1, r.height() + 1));
           EXPECT_TRUE(s->TIPOS->RecNo() && lib::G().areas->area(s->TIPOS->Area)->table->isLocked(s->TIPOS->RecNo()));
           d.type(500, "5");
           EXPECT_EQ(d.text(500), "     75.00");
           d.key(500, Qt::Key_Return);
         },
         [&] { EXPECT_EQ(d.activeName(), "PRUEBA_LISTA"); }});
  EXPECT_EQ(s->edits, 1);
  EXPECT_EQ(d.gridCell(700, 2, "Precio"), "     75.00");
  {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");
    ASSERT_TRUE(t->Seek("01DOBL"));
    EXPECT_DOUBLE_EQ(t->N("PRECIO"), 75);
    EXPECT_FALSE(lib::G().areas->area(s->TIPOS->Area)->table->isLocked(s->TIPOS->RecNo()));
    lib::KILLTABLA(t);
  }
  // Enter shows the value to change; the first digit replaces it.
  d.run({[&] { s->OB->PressKey(Qt::Key_Return); },
         [&] {
           EXPECT_EQ(d.text(500), "     75.00");
           d.type(500, "1234.5");
           EXPECT_EQ(d.text(500), "  1,234.50");
           d.key(500, Qt::Key_Escape);  // Cancel writes nothing
         },
         [] {}});
  EXPECT_EQ(s->edits, 1);
  EXPECT_EQ(d.gridCell(700, 2, "Precio"), "     75.00");
  // A date: an invalid one is refused and the editor stays.
  s->OB->PressKey(Qt::Key_Right);
  ASSERT_EQ(s->OB->colPos, 4);
  d.run({[&] { s->OB->PressKey(Qt::Key_Return); },
         [&] {
           EXPECT_EQ(d.text(500), "05/11/25");
           d.setText(500, "31/02/25");
           d.key(500, Qt::Key_Return);
         },
         [&] {
           ASSERT_FALSE(d.messages().empty());
           EXPECT_EQ(d.messages().back().text, "Fecha inválida");
           EXPECT_EQ(d.messages().back().title, "Error");
           EXPECT_EQ(d.activeName(), "EDICION");
           d.setText(500, "28/02/25");
           d.key(500, Qt::Key_Return);
         },
         [] {}});
  EXPECT_EQ(s->edits, 2);
  EXPECT_EQ(d.gridCell(700, 2, "Fecha"), "28/02/25");
  EXPECT_EQ(s->TIPOS->D("FECHA"), date(2025, 2, 28));
}

TEST_F(Browse, TheExportWritesTheScopeInItsOrderToAWorkbook) {
  fillTipos(hotel());
  ASSERT_TRUE(open<LISTA>(nullptr, "01"));
  settle();
  d.gridHeader(700, "Descripción");
  std::string path = folder->path() + "/tipos.xlsx";
  std::string opened;
  browseHooks().saveFileName = [&](QWidget*, const std::string& suggested) {
    EXPECT_NE(suggested.find("PRUEBA_LISTA.xlsx"), std::string::npos);
    return path;
  };
  browseHooks().openDocument = [&](const std::string& p) {
    opened = p;
    return true;
  };
  ASSERT_TRUE(d.gridMenu(700, "Exportar a Excel"));
  EXPECT_EQ(opened, path);
  ASSERT_TRUE(std::filesystem::exists(path));
  std::string sheet = unzip(path, "xl/worksheets/sheet1.xml");
  ASSERT_FALSE(sheet.empty());
  std::string book = unzip(path, "xl/workbook.xml");
  EXPECT_NE(book.find("name=\"PRUEBA_LISTA\""), std::string::npos);
  // One row of headings and the six of the scope, in description order.
  auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = sheet.find(what); at != std::string::npos; at = sheet.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("<row "), 7u);
  for (const char* heading : {"Código", "Descripción", "Precio", "Fecha", "Activo"})
    EXPECT_NE(sheet.find(std::string("<t>") + heading + "</t>"), std::string::npos) << heading;
  std::vector<size_t> at;
  for (const char* code : {"DOBL", "SENC", "FAMI", "SUPR", "SUIT", "BEST"}) {
    at.push_back(sheet.find(std::string("<t>") + code + "</t>"));
    EXPECT_NE(at.back(), std::string::npos) << code;
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
  EXPECT_EQ(sheet.find("Otra Casa"), std::string::npos);  // business 02 is not in the scope
  // Numbers as numbers, dates as dates (serial days since 1899-12-30), logicals as S/N.
  EXPECT_NE(sheet.find("<c r=\"C2\" s=\""), std::string::npos);
  EXPECT_NE(sheet.find("<v>1250.5</v>"), std::string::npos);
  int serial = date(2025, 11, 5) - date(1899, 12, 30);
  EXPECT_NE(sheet.find("<v>" + std::to_string(serial) + "</v>"), std::string::npos);
  std::string styles = unzip(path, "xl/styles.xml");
  EXPECT_NE(styles.find("#,##0.00"), std::string::npos);
  EXPECT_NE(styles.find("dd/mm/yyyy"), std::string::npos);
  EXPECT_NE(sheet.find("<t>N</t>"), std::string::npos);
  // Nothing chosen, nothing written.
  browseHooks().saveFileName = [](QWidget*, const std::string&) { return std::string(); };
  opened.clear();
  ASSERT_TRUE(d.gridMenu(700, "Exportar a Excel"));
  EXPECT_EQ(opened, "");
}

TEST_F(Browse, ALongExportShowsItsProgressAndGivesTheScreenBack) {
  {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");
    t->FLock();
    char code[8];
    for (int i = 0; i < 2300; ++i) {
      std::snprintf(code, sizeof code, "%04d", i);
      addTipo(*t, {i % 10 ? "01" : "02", code, std::string("Tipo ") + code, double(i), date(2025, 1, 1), true});
    }
    t->Unlock();
    lib::KILLTABLA(t);
  }
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  EXPECT_EQ(d.gridCount(700), 2070);
  std::string path = folder->path() + "/largo.xlsx";
  browseHooks().saveFileName = [&](QWidget*, const std::string&) { return path; };
  browseHooks().openDocument = [](const std::string&) { return true; };
  int pumped = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (d.activeName() == "WAIT") ++pumped;
  });
  probe.start(0);
  ASSERT_TRUE(d.gridMenu(700, "Exportar a Excel"));
  probe.stop();
  EXPECT_GT(pumped, 0);  // the progress window was up while the rows went out
  EXPECT_TRUE(s->frame()->isEnabled());
  std::string sheet = unzip(path, "xl/worksheets/sheet1.xml");
  size_t rows = 0;
  for (size_t at = sheet.find("<row "); at != std::string::npos; at = sheet.find("<row ", at + 1)) ++rows;
  EXPECT_EQ(rows, 2071u);
  EXPECT_EQ(s->TIPOS->RecNo(), s->OB->nCRecNo);  // the export read the scope without moving the grid
}

TEST_F(Browse, ThePeriodicRefreshRedrawsOnlyTheActiveEnabledScreen) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  EXPECT_EQ(d.gridCell(700, 1, "Descripción"), "Vista al Mar");
  auto rename = [&](const std::string& text) {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");  // another workstation
    ASSERT_TRUE(t->Seek("01BEST"));
    lib::MODIFY(*t, [&] { t->FieldPut("DESCRIP", Value::chars(text)); });
    lib::KILLTABLA(t);
  };
  int selections = 0;
  s->OB->selectblock = [&](WBLISTBOX&) { ++selections; };
  rename("Vista a la Playa");
  d.advance(59000);
  EXPECT_EQ(d.gridCell(700, 1, "Descripción"), "Vista al Mar");
  d.advance(1000);
  EXPECT_EQ(d.gridCell(700, 1, "Descripción"), "Vista a la Playa");
  EXPECT_EQ(selections, 0);  // a redraw runs no screen logic
  // Another screen on top: this one is not active and is left alone.
  LISTA* other = open<LISTA>(nullptr, "02");
  settle();
  EXPECT_FALSE(s->ISACTIVE());
  rename("Vista Norte");
  d.advance(60000);
  EXPECT_EQ(s->OB->CellText(1, 2), "Vista a la Playa");
  other->ENDDIALOG();
  settle();
  EXPECT_TRUE(s->ISACTIVE());
  d.advance(60000);
  EXPECT_EQ(s->OB->CellText(1, 2), "Vista Norte");
  // The workstation switch.
  lib::G().XREFRESH_BROWSE = 0;
  rename("Vista Sur");
  d.advance(60000);
  EXPECT_EQ(s->OB->CellText(1, 2), "Vista Norte");
  lib::G().XREFRESH_BROWSE = 1;
  s->EnableWindow(false);  // an editor is open over it
  d.advance(60000);
  EXPECT_EQ(s->OB->CellText(1, 2), "Vista Norte");
  s->EnableWindow(true);
  d.advance(60000);
  EXPECT_EQ(s->OB->CellText(1, 2), "Vista Sur");
}

TEST_F(Browse, TheDisplayFontIsKeptPerUserDialogAndGrid) {
  catalogued("F_BROWSE");
  fillTipos(hotel());
  lib::G().XUSER_NUMBER = 7;
  lib::G().XUSER_ABREVIA = "ANA";
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  d.run({[&] { d.gridMenu(700, "Tipo de Letra de Despliegue"); },
         [&] {
           EXPECT_EQ(d.activeName(), "BROWSE_LETRA");
           EXPECT_TRUE(d.select(601, "Courier New"));
           EXPECT_TRUE(d.select(602, "12"));
           d.check(1001, true);
           d.press(1);
         },
         [] {}});
  {
    auto t = lib::USE(nullptr, "F_BROWSE", "F_BROWSE");
    ASSERT_TRUE(t->Seek("01PRUEBA_LISTA           7 700"));
    EXPECT_EQ(t->S("T_FONT"), "Courier New BOLD");
    EXPECT_EQ(t->N("T_SIZE"), 12);
    lib::KILLTABLA(t);
  }
  QFont f = s->OB->view()->font();
  EXPECT_EQ(f.family(), "Liberation Mono");
  EXPECT_TRUE(f.bold());
  EXPECT_EQ(f.pointSize(), 12);
  s->ENDDIALOG();
  settle();
  // The screen opens with it; another user has the grid's own font.
  s = open<LISTA>(nullptr, "01");
  settle();
  EXPECT_EQ(s->OB->view()->font().family(), "Liberation Mono");
  s->ENDDIALOG();
  settle();
  lib::G().XUSER_NUMBER = 8;
  s = open<LISTA>(nullptr, "01");
  settle();
  EXPECT_NE(s->OB->view()->font().family(), "Liberation Mono");
}

TEST_F(Browse, AGridOnAMissingControlSaysSoAndDoesNothing) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  d.messages().clear();
  WBLISTBOX missing(s, 777, s->TIPOS.get());
  ASSERT_EQ(d.messages().size(), 1u);
  EXPECT_EQ(d.messages()[0].text, "Browser Id 777 gibt es nicht!");
  EXPECT_EQ(d.messages()[0].title, "Fataler Fehler");
  AGREGARCOL(missing, s->TIPOS.get(), "Código", "CODIGO");
  missing.CONFIGURE();
  missing.GOTOP();
  missing.REFRESHALL();
  EXPECT_TRUE(missing.VisibleRows().empty());
  s->BROWMARKS(missing, {{1, "TIPOS"}}, 1, "01");
  EXPECT_EQ(missing.nMaxRec, 0u);
  // A grid whose table was closed does nothing either.
  lib::KILLTABLA(s->TIPOS);
  s->OB->GOTOP();
  s->OB->SKIP(3);
  s->OB->REFRESHALL();
  EXPECT_EQ(s->OB->table(), nullptr);
}

TEST_F(Browse, DeletedKeysInTheMiddleAreReadAwayWhenTheEndsAreReached) {
  {
    auto t = lib::USE(nullptr, "TIPOS", "TIPOS");
    char code[8];
    for (int i = 0; i < 300; ++i) {
      std::snprintf(code, sizeof code, "%04d", i);
      addTipo(*t, {"01", code, std::string("Tipo ") + code, double(i), date(2025, 1, 1) + i, i % 2 == 0});
    }
    // Ten deleted in the middle, five at the very start.
    for (int i : {0, 1, 2, 3, 4, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159}) {
      std::snprintf(code, sizeof code, "01%04d", i);
      ASSERT_TRUE(t->Seek(code));
      lib::MODIFY(*t, [&] { t->Delete(); });
    }
    lib::KILLTABLA(t);
  }
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  // Go-top counts the keys to the last one (the deleted included), then reads away those
  // before the first record.
  EXPECT_EQ(codes().front(), "0005");
  EXPECT_EQ(d.gridCount(700), 295);
  s->OB->GOBOTTOM();
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "0299");
  EXPECT_EQ(codes().back(), "0299");
  // A long skip jumps by key number.
  s->OB->GOTOP();
  EXPECT_EQ(s->OB->SKIP(100), 100);
  EXPECT_EQ(s->OB->nCurRec, 101u);
  EXPECT_EQ(s->TIPOS->S("CODIGO"), "0105");
  // Paging down through the gap: every record once, in order.
  std::vector<std::string> seen;
  s->OB->GOTOP();
  for (int page = 0; page < 40; ++page) {
    for (const std::string& c : codes())
      if (seen.empty() || c > seen.back()) seen.push_back(c);
    s->OB->PressKey(Qt::Key_PageDown);
  }
  EXPECT_EQ(seen.size(), 285u);
  EXPECT_EQ(seen.back(), "0299");
  EXPECT_EQ(d.gridCount(700), 285);
  EXPECT_EQ(s->OB->nCurRec, 285u);
}

TEST_F(Browse, ScriptsDriveTheGrid) {
  fillTipos(hotel());
  open<LISTA>(nullptr, "01");
  settle();
  std::ostringstream out;
  int status = runScript(parseScript("expect-grid-count 700 6\n"
                                     "expect-grid 700 1 Código BEST\n"
                                     "grid-header 700 Descripción\n"
                                     "expect-grid 700 1 1 DOBL\n"
                                     "grid 700 row 4\n"
                                     "expect-grid 700 4 Descripción Presidencial\n"
                                     "grid 700 key F\n"
                                     "expect-grid 700 3 Precio \"  1,800.00\"\n"
                                     "grid-key 700 Su\n"
                                     "window OBSEARCH\n"
                                     "expect-text 500 Su\n"
                                     "key 500 escape\n"
                                     "window PRUEBA_LISTA\n"
                                     "grid-menu 700 \"Guardar Dato p/Búsqueda\"\n"
                                     "expect-grid 700 9 Código \"\"\n"),
                         out);
  EXPECT_EQ(status, 0) << out.str();
  std::ostringstream out2;
  status = runScript(parseScript("expect-grid-count 700 5\n"), out2);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out2.str(), "línea 1: la grilla tiene 6 filas\n");
}

TEST_F(Browse, AScreenshotShowsMarksTheOrderColumnAndTheSearchWindow) {
  fillTipos(hotel());
  LISTA* s = open<LISTA>(nullptr, "01");
  settle();
  // The sub-window as a user leaves it: at the top left, showing the whole screen.
  auto* sub = static_cast<QMdiSubWindow*>(s->frame());
  sub->adjustSize();
  sub->move(20, 20);
  d.gridHeader(700, "Descripción");
  d.gridRow(700, 2);
  s->ADD_MARK(*s->OB);
  d.gridRow(700, 4);
  s->ADD_MARK(*s->OB);
  s->OB->PressKey(Qt::Key_Right);
  d.gridType(700, "Su");
  ASSERT_EQ(d.activeName(), "OBSEARCH");
  settle();
  // The main window with the search window drawn where it stands, under its caption.
  QPixmap shot = frame->window()->grab();
  QWidget* search = d.active()->frame();
  QPixmap window = search->grab();
  QPoint at = frame->window()->mapFromGlobal(search->mapToGlobal(QPoint(0, 0)));
  {
    QPainter p(&shot);
    const int caption = 22;
    QRect bar(at.x(), at.y() - caption, window.width(), caption);
    p.fillRect(bar.adjusted(-1, 0, 1, 0), QColor(0x3B, 0x5F, 0x8F));
    p.setPen(Qt::white);
    p.drawText(bar.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, search->windowTitle());
    p.drawPixmap(at, window);
    p.setPen(QColor(0x3B, 0x5F, 0x8F));
    p.drawRect(QRect(at, window.size()).adjusted(-1, -caption, 0, 0));
  }
  QDir().mkpath(SCREENSHOT_DIR);
  EXPECT_TRUE(shot.save(QString(SCREENSHOT_DIR) + "/browse_grid.png"));
  d.press(2);
}
