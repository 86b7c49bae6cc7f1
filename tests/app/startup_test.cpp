// Start-up: ADS.DEF, the choice of storage driver and the server calls it makes, the
// program clock, the system parameters and the local temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/session.h"
#include "app/startup.h"
#include "app/system_params.h"
#include "app/temp_folder.h"
#include "lib/catalogue.h"
#include "lib/param_file.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ProgramFolder;
using testing_support::writeFile;
namespace fs = std::filesystem;

namespace {

// A server that answers as told and writes down every call, in order.
struct FakeServer : server::NoServer {
  bool loaded = true, connects = true;
  std::optional<server::ServerTime> time;
  std::vector<std::string> calls;
  bool ADSISSERVERLOADED(const std::string& p) override { return calls.push_back("LOADED " + p), loaded; }
  long ADSGETLASTERROR() override { return 6420; }
  bool ADSCONNECT60(const std::string&, int types, const std::string& user, const std::string&) override {
    calls.push_back("CONNECT60 " + std::to_string(types) + " " + user);
    return connects;
  }
  bool ADSMGCONNECT(const std::string&) override { return calls.push_back("MGCONNECT"), true; }
  std::vector<std::string> ADSMGGETINSTALLINFO() override { return {"a", "b", "c", "d", "e", "f", "3", "15.0"}; }
  void ADSMGDISCONNECT() override { calls.push_back("MGDISCONNECT"); }
  void ADSSETFILETYPE(const std::string& t) override { calls.push_back("FILETYPE " + t); }
  void ADSSETCHARTYPE(const std::string& t) override { calls.push_back("CHARTYPE " + t); }
  void ADSRIGHTSCHECK(bool on) override { calls.push_back(std::string("RIGHTS ") + (on ? "on" : "off")); }
  void ADSLOCKING(bool compatible) override {
    calls.push_back(std::string("LOCKING ") + (compatible ? "compatible" : "proprietary"));
  }
  void ADSCACHEOPENTABLES(int n) override { calls.push_back("CACHEOPEN " + std::to_string(n)); }
  std::optional<server::ServerTime> ADSGETSERVERTIME() override { return time; }
};

FakeServer& installFakeServer() {
  auto* s = new FakeServer;
  G().server.reset(s);
  return *s;
}

void createFromCatalogue(ProgramFolder& p, const std::string& name) {
  const CatalogueTable* t = Catalogue::builtIn().find(name);
  ASSERT_NE(t, nullptr) << name;
  xbase::DbfTable::create(p.bases(name + ".DBF"), t->fields, t->tags);
}

}  // namespace

TEST(AdsDef, LinesAreSplitAtCarriageReturnsAndMissingLinesReadEmpty) {
  testing_support::TempDir d;
  std::vector<std::string> none = GET_A_ADS(d.file("ADS.DEF"));
  EXPECT_EQ(none, std::vector<std::string>(26));
  writeFile(d.file("A.DEF"), "ruta\r\n1\r\r0\rúltima");
  std::vector<std::string> a = GET_A_ADS(d.file("A.DEF"));
  EXPECT_EQ(paramLine(a, 1), "ruta");
  EXPECT_EQ(paramLine(a, 2), "1");
  EXPECT_EQ(paramLine(a, 3), "");  // empty lines count
  EXPECT_EQ(paramLine(a, 4), "0");
  EXPECT_EQ(paramLine(a, 5), "última");  // the last line needs no terminator
  EXPECT_EQ(paramLine(a, 26), "");
  EXPECT_EQ(paramLine(a, 40), "");
  writeFile(d.file("B.DEF"), "host=db port=5432\n1\n");  // line feeds only: a Linux editor
  EXPECT_EQ(paramLine(GET_A_ADS(d.file("B.DEF")), 2), "1");
  writeFile(d.file("C.DEF"), "ru\nta\r1");  // with carriage returns, line feeds are dropped
  EXPECT_EQ(paramLine(GET_A_ADS(d.file("C.DEF")), 1), "ruta");
}

TEST(StorageChoice, WithoutAdsDefTheLocalDriverAndNoServerCalls) {
  ProgramFolder p;
  FakeServer& s = installFakeServer();
  EXPECT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  EXPECT_EQ(G().DEF_RDD, "DBFCDX");
  EXPECT_EQ(G().XADSPARAMS, std::vector<std::string>(26));
  EXPECT_TRUE(s.calls.empty());
  EXPECT_EQ(XDATE(), p.clock().now().julian);
}

TEST(StorageChoice, AServerThatDoesNotAnswerEndsTheProgramWithItsErrorNumber) {
  ProgramFolder p;
  FakeServer& s = installFakeServer();
  s.loaded = false;
  writeFile(p.path() + "/ADS.DEF", "host=127.0.0.1 dbname=hotel\r");
  EXPECT_EQ(app::startCore(p.path(), true), app::StartResult::End);
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].text, "Servidor Advantage Database Server no localizable\rError:       6420");
}

TEST(StorageChoice, TheServerIsSetUpInOrderAndItsClockBecomesTheProgramClock) {
  ProgramFolder p;
  FakeServer& s = installFakeServer();
  std::string lines(17, '\r');  // ends line 4, then lines 5 to 20 empty
  writeFile(p.path() + "/ADS.DEF", "host=db\r1\r1\r1" + lines + ".F.\r25\r.F.\r\r\r0000000001\rdatos");
  ASSERT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  EXPECT_EQ(s.calls,
            (std::vector<std::string>{"FILETYPE CDX", "RIGHTS off", "CHARTYPE ANSI", "CHARTYPE OEM", "RIGHTS off",
                                      "LOCKING compatible", "RIGHTS off", "LOADED host=db", "CONNECT60 7 ADSSYS",
                                      "MGCONNECT", "MGDISCONNECT", "RIGHTS off", "CACHEOPEN 150"}));
  Globals& g = G();
  EXPECT_EQ(g.DEF_RDD, "ADSCDX");
  EXPECT_EQ(g.XADSDIRECTORY, "host=db");
  EXPECT_EQ(g.XADSCACHERECORDS, 25);
  EXPECT_EQ(g.XADS_TS.substr(0, 12), "000000000100");
  EXPECT_EQ(g.XADS_DIR, "datos");
  EXPECT_EQ(g.XADS_INSTALLINFO.size(), 8u);
  EXPECT_TRUE(g.XADS_MYCONNECTION);

  int32_t serverDay = xbase::julianFromYmd(2030, 5, 17);
  s.time = server::ServerTime{serverDay, (13 * 3600 + 4 * 60 + 5) * 1000};
  EXPECT_EQ(XDATE(), serverDay);
  EXPECT_EQ(XTIME(), "13:04:05");
  EXPECT_EQ(XDATE(true), p.clock().now().julian);  // any argument: the workstation
  g.XFEC_HORA_LOCAL = 1;
  EXPECT_EQ(XDATE(), p.clock().now().julian);
  g.XFEC_HORA_LOCAL = 0;
  s.time = server::ServerTime{xbase::julianFromYmd(1650, 1, 1), 0};  // not usable
  EXPECT_EQ(XDATE(), p.clock().now().julian);
}

TEST(StorageChoice, WithoutItsOwnConnectionTheProgramGoesOnWithTheWorkstationClock) {
  ProgramFolder p;
  FakeServer& s = installFakeServer();
  s.connects = false;
  s.time = server::ServerTime{xbase::julianFromYmd(2030, 5, 17), 0};
  writeFile(p.path() + "/ADS.DEF", "host=db");
  ASSERT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].text, "No se pudo establecer ADSCONNECT60");
  EXPECT_EQ(p.messages().shown[0].title, "Atención");
  EXPECT_EQ(XDATE(), p.clock().now().julian);
}

TEST(StartCore, DummyadsIsKeptOpenWhenPresent) {
  ProgramFolder p;
  EXPECT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  EXPECT_FALSE(G().XDUMMYADSTABLE);
  createFromCatalogue(p, "DUMMYADS");
  EXPECT_EQ(app::startCore(p.path(), true), app::StartResult::Ready);
  ASSERT_TRUE(G().XDUMMYADSTABLE);
  EXPECT_TRUE(G().XDUMMYADSTABLE->Used());
  app::EXIT_LOGIN();
  EXPECT_FALSE(G().XDUMMYADSTABLE);
}

TEST(SystemParameters, EveryFieldIsOptionalWithItsDefault) {
  ProgramFolder p;
  // An F_SYS with only some fields.
  p.table("F_SYS.DBF", {{"P_FONT", 'C', 30}, {"REFRESH_B", 'N', 1}, {"NO_DATE", 'N', 1}, {"MULTITASK", 'N', 3}});
  {
    auto t = USE(nullptr, "F_SYS");
    ADD(*t, [&] {
      t->FieldPut("REFRESH_B", Value::num(1));
      t->FieldPut("NO_DATE", Value::num(1));
      t->FieldPut("MULTITASK", Value::num(20));
    });
  }
  app::LOAD_F_SYS();
  Globals& g = G();
  EXPECT_EQ(g.XPRINT_FONT, "Calibri");  // present but blank
  EXPECT_EQ(g.XREFRESH_BROWSE, 0);
  EXPECT_EQ(g.XSEL_DATE, "NO");
  EXPECT_EQ(g.XMULTITASK, (std::array<int, 2>{1, 20}));
  EXPECT_EQ(g.XMAIN_FONT_SIZE, 8);
  EXPECT_EQ(g.XGRAYED, 1);
  EXPECT_EQ(g.XTEMPPATH.flag, 0);

  fs::remove(p.bases("F_SYS.DBF"));
  p.table("F_SYS.DBF", {{"T_SIZE", 'N', 2}});
  resetGlobals();
  G().PATH = p.path() + "/";
  G().DEF_RDD = "DBFCDX";
  app::LOAD_F_SYS();  // no records: every default
  EXPECT_EQ(G().XPRINT_FONT, "Times New Roman");
  EXPECT_EQ(G().XREFRESH_BROWSE, 1);
}

TEST(SystemParameters, MailFontsTranslationsAndTextSearch) {
  ProgramFolder p;
  for (auto name : {"DEFMAIL", "FONTS", "TRADUCT", "NEGOCIOS", "F_TXT_S"}) createFromCatalogue(p, name);
  {
    auto m = USE(nullptr, "DEFMAIL");
    ADD(*m, [&] {
      m->FieldPut("HOST", Value::chars("smtp.hotel.local"));
      m->FieldPut("SMTP_PORT", Value::num(2525));
      m->FieldPut("ID_NAME", Value::chars("Hotel Central"));
      m->FieldPut("SENDMAIL", Value::num(1));
    });
    auto f = USE(nullptr, "FONTS", "FONTS");
    for (auto font : {"Verdana", "Arial"}) ADD(*f, [&] { f->FieldPut("T_FONT", Value::chars(font)); });
    auto t = USE(nullptr, "TRADUCT", "TRADUCT");
    ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("SEQUENCE1", Value::chars("Habitación"));
      t->FieldPut("SEQUENCE2", Value::chars("Cuarto"));
    });
    ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("02"));
      t->FieldPut("SEQUENCE1", Value::chars("Otro"));
    });
    auto s = USE(nullptr, "F_TXT_S");
    ADD(*s, [&] {
      s->FieldPut("TABLA", Value::chars("HUESPED"));
      s->FieldPut("DOCUMENTO", Value::chars("CODIGO"));
    });
  }
  Globals& g = G();
  EXPECT_EQ(g.XEMAIL_ID, "Desconocido");
  app::LOAD_DEFMAIL();
  EXPECT_EQ(g.XEMAILHOST, "smtp.hotel.local");
  EXPECT_EQ(g.XEMAIL_SMTP_PORT, 2525);
  EXPECT_EQ(g.XEMAIL_ID, "Hotel Central");
  EXPECT_EQ(g.XEMAILSEND, 1);
  EXPECT_EQ(g.XAVAILABLE_FONTS.size(), 12u);
  app::LOAD_FONTS();
  EXPECT_EQ(g.XAVAILABLE_FONTS, (std::vector<std::string>{"Arial", "Verdana"}));
  app::LOAD_TRADUCT("01");
  ASSERT_EQ(g.XTRADUCT.size(), 1u);
  EXPECT_EQ(g.XTRADUCT[0].from, "Habitación");
  EXPECT_EQ(g.XTRADUCT[0].to, "Cuarto");
  app::LOAD_TXT_SRCH();
  ASSERT_EQ(g.XTXT_SRCH_FILES.size(), 1u);
  EXPECT_TRUE(g.XTXT_SRCH_OBJ);
}

TEST(LocalTemporaryFolder, MissingDrivesMoveToTheNextLetterAndTenFailuresFallBack) {
  ProgramFolder p;
  testing_support::TempDir root;
  fs::create_directories(root.path() + "/D");
  app::SET_LOCAL_TEMP(1, root.path() + "/A/LOCAL ", root.path());
  EXPECT_EQ(G().XTEMPPATH.flag, 1);
  EXPECT_EQ(G().XTEMPPATH.path, root.path() + "/D/LOCAL");
  EXPECT_TRUE(fs::is_directory(root.path() + "/D/LOCAL/TEMP"));

  fs::create_directories(root.path() + "/C");
  app::SET_LOCAL_TEMP(1, root.path() + "/I/X", root.path());  // after I comes C
  EXPECT_EQ(G().XTEMPPATH.path, root.path() + "/C/X");

  fs::remove_all(root.path() + "/C");
  fs::remove_all(root.path() + "/D");
  app::SET_LOCAL_TEMP(1, root.path() + "/E/X", root.path());  // no drive works: back to TEMP/
  EXPECT_EQ(G().XTEMPPATH.flag, 0);
  EXPECT_EQ(temporaryFolder(), p.path() + "/TEMP/");
  EXPECT_TRUE(p.messages().shown.empty());

  app::SET_LOCAL_TEMP(1, "", root.path());  // no drive at all
  ASSERT_EQ(p.messages().shown.size(), 1u);
  EXPECT_EQ(p.messages().shown[0].title, "Error");
  EXPECT_EQ(G().XTEMPPATH.flag, 0);
}

TEST(LocalTemporaryFolder, CleaningErasesModuleFilesOrphansAndHotFiles) {
  ProgramFolder p;
  testing_support::TempDir local;
  fs::create_directories(local.path() + "/TEMP");
  G().XTEMPPATH = {1, local.path()};
  for (auto f :
       {"T1.CNF", "T1.CDX", "T1.FPT", "T2.cdx", "T3.FPT", "T4.HOT", "T4.CDX", "KEEP.DBF", "KEEP.CDX", "T5.RES"})
    writeFile(local.path() + "/TEMP/" + f, "x");
  app::BORRAR_TEMPS();
  std::vector<std::string> left;
  for (auto& e : fs::directory_iterator(local.path() + "/TEMP")) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"KEEP.CDX", "KEEP.DBF", "T5.RES"}));
}

TEST(Session, LogoutWritesTheExitTimeIntoTheSessionRecord) {
  ProgramFolder p;
  createFromCatalogue(p, "LOG_E_S");
  {
    auto t = USE(nullptr, "LOG_E_S");
    ADD(*t, [&] { t->FieldPut("USUARIO", Value::chars("Ana")); });
    G().XREC_E_S = t->RecNo();
  }
  p.clock().advance(3600 * 1000);
  app::EXIT_SESSION();
  auto t = USE(nullptr, "LOG_E_S");
  t->GoTo(G().XREC_E_S);
  EXPECT_EQ(t->D("FECHA_SAL"), XDATE());
  EXPECT_EQ(t->S("HORA_SAL"), XTIME());
}
