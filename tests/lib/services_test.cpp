// The small services of the data layer: message pumping in long loops, text-search
// registration and maintenance, passwords, program dates.
#include <gtest/gtest.h>

#include "lib/multitask.h"
#include "lib/passwords.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text_search.h"
#include "lib/use.h"
#include "support/program_folder.h"
#include "xbase/date.h"

using namespace lib;
using testing_support::ProgramFolder;

TEST(Multitask, OnlyEveryIntervalThCallPumpsAndItNeverReenters) {
  ProgramFolder p;
  Globals& g = G();
  int pumps = 0;
  g.pumpMessages = [&] {
    ++pumps;
    MULTITASK(1, true);  // a message handler looping back: returns at once
  };
  g.XMULTITASK = {1, 3};
  for (int i = 0; i < 9; ++i) MULTITASK();
  // counter 1 is not a multiple of 3: counts 1, 2 → 3 pumps and resets; and so on.
  EXPECT_EQ(pumps, 3);
  MULTITASK(2, true);
  EXPECT_EQ(pumps, 5);
  g.XMULTITASK = {1, 0};
  MULTITASK();
  EXPECT_EQ(pumps, 6);
}

TEST(TextSearch, RegisteredTablesTakeTheirTextsOutWhenLockedAndBackWhenReleased) {
  struct Recorder : TextSearch {
    std::vector<std::string> calls;
    void setBusiness(const std::string& b) override { calls.push_back("negocio " + b); }
    void removeText(const std::string& d, const std::string& t, const std::string& table) override {
      calls.push_back("quita " + d + "|" + t + "|" + table);
    }
    void addText(const std::string& d, const std::string& t, const std::string& table) override {
      calls.push_back("agrega " + d + "|" + t + "|" + table);
    }
  };
  ProgramFolder p;
  p.table("HUESPED.DBF",
          {{"NEGOCIO", 'C', 2}, {"CODIGO", 'C', 6}, {"NOMBRE", 'C', 12}, {"INFO_USER", 'C', 20}, {"CORTO", 'C', 9}});
  Globals& g = G();
  g.XTXT_SRCH_FILES = {{"HUESPED", "CODIGO"}};
  auto* rec = new Recorder;
  g.XTXT_SRCH_OBJ.reset(rec);
  auto t = USE(nullptr, "HUESPED");
  EXPECT_EQ(t->SEARCH_TXT, 1);
  EXPECT_EQ(g.XTXT_SRCH_VECTOR[size_t(t->Area)].document, "CODIGO");
  ADD(*t, [&] {  // appending adds nothing until the release
    EXPECT_TRUE(rec->calls.empty());
    t->FieldPut("NEGOCIO", Value::chars("01"));
    t->FieldPut("CODIGO", Value::chars("H1"));
    t->FieldPut("NOMBRE", Value::chars("Ana Pérez"));
  });
  // Only character fields of 10 or more, and not INFO_U...
  EXPECT_EQ(rec->calls, (std::vector<std::string>{"negocio 01", "agrega H1    |Ana Pérez   |HUESPED"}));
  rec->calls.clear();
  MODIFY(*t, [&] { t->FieldPut("NOMBRE", Value::chars("Ana Pérez Gil")); });
  EXPECT_EQ(rec->calls, (std::vector<std::string>{"negocio 01", "quita H1    |Ana Pérez   |HUESPED", "negocio 01",
                                                  "agrega H1    |Ana Pérez Gi|HUESPED"}));
  rec->calls.clear();
  MODIFY(*t, [&] { t->Delete(); });  // a deleted record goes out and stays out
  EXPECT_EQ(rec->calls.size(), 2u);
  int area = t->Area;
  KILLTABLA(t);
  EXPECT_EQ(g.XTXT_SRCH_VECTOR[size_t(area)].registered, 0);
}

TEST(Passwords, ScramblingIsItsOwnInverseAndKeepsTheLength) {
  EXPECT_EQ(ENCRYPT_STRING("ADMIN     "), "@FNMK     ");
  EXPECT_EQ(DECRYPT_STRING("@FNMK     "), "ADMIN     ");
  EXPECT_EQ(ENCRYPT_STRING("  AB  "), "@@    ");  // positions count from the first non-blank
  EXPECT_EQ(ENCRYPT_STRING("SECRETO", 0), "SECRETO");
  EXPECT_TRUE(samePassword("ADMIN", "ADMIN     XYZ"));
  EXPECT_FALSE(samePassword("ADMIN", "ADMINS"));
}

TEST(ProgramDates, ShownAsDayMonthTwoDigitYearInTheWindowFrom1980) {
  EXPECT_EQ(DTOC(xbase::julianFromYmd(2024, 2, 28)), "28/02/24");
  EXPECT_EQ(DTOC(0), "  /  /  ");
  EXPECT_EQ(CTOD("05/11/79"), xbase::julianFromYmd(2079, 11, 5));
  EXPECT_EQ(CTOD("05/11/80"), xbase::julianFromYmd(1980, 11, 5));
  EXPECT_EQ(CTOD("31/02/24"), 0);
  EXPECT_EQ(CTOD("01/01/1975"), xbase::julianFromYmd(1975, 1, 1));
  EXPECT_EQ(timeText(((23 * 60 + 5) * 60 + 9) * 1000 + 999), "23:05:09");
  ProgramFolder p;
  EXPECT_EQ(INFO_TEXT(), "tester / ESTACION1 " + DTOC(XDATE()) + " " + XTIME());
}

TEST(ProgramDates, TypedWithTwoOrFourDigitYearsAndUnreadableTextToldFromTheEmptyDate) {
  const int32_t march1 = xbase::julianFromYmd(2026, 3, 1);
  for (const char* text : {"01/03/2026", "01/03/26", "1/3/26", " 1/ 3/2026 ", "01/03/26  "}) {
    EXPECT_EQ(readDate(text).julian, march1) << text;
    EXPECT_FALSE(readDate(text).unreadable) << text;
    EXPECT_EQ(CTOD(text), march1) << text;
  }
  EXPECT_EQ(CTOD("01/03/1979"), xbase::julianFromYmd(1979, 3, 1));  // four digits: no window
  EXPECT_EQ(CTOD("01/03/2079"), xbase::julianFromYmd(2079, 3, 1));
  EXPECT_EQ(CTOD("29/02/2028"), xbase::julianFromYmd(2028, 2, 29));
  for (const char* text : {"", "  /  /  ", "  /  /    ", "/ /"}) {
    EXPECT_TRUE(readDate(text).empty()) << "[" << text << "]";
    EXPECT_EQ(CTOD(text), 0) << "[" << text << "]";
  }
  for (const char* text :
       {"01/03/202", "01/03/20261", "31/02/2026", "29/02/2025", "01/13/26", "00/03/26", "1/3", "1/3/26/1", "01/03/",
        "  /03/26", "hola", "01-03-2026", "+1/03/26", "01/03/26 10:00", "001/03/26"}) {
    const TypedDate typed = readDate(text);
    EXPECT_TRUE(typed.unreadable) << text;
    EXPECT_FALSE(typed.empty()) << text;
    EXPECT_EQ(typed.julian, 0) << text;
    EXPECT_EQ(CTOD(text), 0) << text;
  }
}
