#include "app/system_params.h"

#include "app/temp_folder.h"
#include "lib/globals.h"
#include "lib/text_search.h"
#include "lib/use.h"
#include "xbase/file.h"

namespace app {

namespace {

using lib::WDBTable;

// The first record of a parameter table, or nothing when the table has no records.
std::unique_ptr<WDBTable> firstRecord(const std::string& name) {
  auto t = lib::USE(nullptr, name);
  t->GoTop();
  if (t->Eof()) lib::KILLTABLA(t);
  return t;
}

bool has(const WDBTable& t, const char* field) {
  return t.HasField(field);
}

}  // namespace

void LOAD_F_SYS() {
  lib::Globals& g = lib::G();
  g.XPRINT_FONT = "Times New Roman";
  g.XMAIN_FONT_SIZE = 8;
  auto t = firstRecord("F_SYS");
  if (!t) return;
  if (has(*t, "T_FONT")) g.XMAIN_FONT_NAME = t->S("T_FONT");
  if (has(*t, "T_SIZE")) g.XMAIN_FONT_SIZE = t->N("T_SIZE") > 0 ? int(t->N("T_SIZE")) : 8;
  if (has(*t, "P_FONT")) g.XPRINT_FONT = t->S("P_FONT").empty() ? "Calibri" : t->S("P_FONT");
  if (has(*t, "D_FONT")) g.XGLOBAL_FONT_NAME = t->S("D_FONT");
  if (has(*t, "NO_DATE") && t->N("NO_DATE") == 1) g.XSEL_DATE = "NO";
  if (has(*t, "REFRESH_B")) g.XREFRESH_BROWSE = t->N("REFRESH_B") == 1 ? 0 : 1;
  if (has(*t, "GRAYED")) g.XGRAYED = int(t->N("GRAYED"));
  if (has(*t, "MULTITASK")) g.XMULTITASK = {1, int(t->N("MULTITASK"))};
  if (has(*t, "MAXTIMEOUT")) g.XMAXTIMEOUT = int(t->N("MAXTIMEOUT"));
  if (has(*t, "NO_TIMEOUT")) g.XNO_TIMEOUT = int(t->N("NO_TIMEOUT"));
  if (has(*t, "LOCAL_TEMP")) {
    int flag = int(t->N("LOCAL_TEMP"));
    std::string path = has(*t, "LOCAL_PATH") ? t->S("LOCAL_PATH") : std::string();
    lib::KILLTABLA(t);
    SET_LOCAL_TEMP(flag, path);
  }
}

void LOAD_DEFMAIL() {
  lib::Globals& g = lib::G();
  auto t = firstRecord("DEFMAIL");
  if (!t) return;
  auto text = [&](const char* field, std::string& into) {
    if (has(*t, field)) into = t->S(field);
  };
  auto number = [&](const char* field, int& into) {
    if (has(*t, field)) into = int(t->N(field));
  };
  if (has(*t, "SMTP_PORT")) g.XEMAIL_SMTP_PORT = int(t->N("SMTP_PORT"));
  if (has(*t, "POP3_PORT")) g.XEMAIL_POP3_PORT = int(t->N("POP3_PORT"));
  text("HOST", g.XEMAILHOST);
  text("USERNAME", g.XEMAILNAME);
  text("USERADDR", g.XEMAILADDR);
  text("ID_NAME", g.XEMAIL_ID);
  text("DESTINO", g.XEMAILDEST);
  number("SENDMAIL", g.XEMAILSEND);
  number("AUTORIZA", g.XEMAILAUTH);
  text("AUTH_USER", g.XEMAIL_AU);
  text("AUTH_PASS", g.XEMAIL_AP);
  text("CC_CONF1", g.XEMAIL_CC1);
  text("CC_CONF2", g.XEMAIL_CC2);
}

void LOAD_FONTS() {
  auto t = lib::USE(nullptr, "FONTS", "FONTS");
  std::vector<std::string> fonts;
  for (t->GoTop(); !t->Eof(); t->Skip()) fonts.push_back(t->S("T_FONT"));
  if (!fonts.empty()) lib::G().XAVAILABLE_FONTS = fonts;
}

void LOAD_TRADUCT(const std::string& business) {
  lib::Globals& g = lib::G();
  g.XTRADUCT.clear();
  auto t = lib::USE(nullptr, "TRADUCT", "TRADUCT");
  bool embedded = t->HasField("INCRUSTADO");
  t->SetScope(lib::Value::chars(business), lib::Value::chars(business));
  for (t->GoTop(); !t->Eof(); t->Skip())
    g.XTRADUCT.push_back({t->S("SEQUENCE1"), t->S("SEQUENCE2"), embedded ? int(t->N("INCRUSTADO")) : 0});
}

void LOAD_MANEJO_TC(const std::string& business) {
  auto t = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  if (t->HasField("MANEJO_TC") && t->Seek(business)) lib::G().XMANEJO_TC = int(t->N("MANEJO_TC"));
}

void LOAD_TXT_SRCH() {
  lib::Globals& g = lib::G();
  if (!xbase::fileExists(g.PATH + "BASES/F_TXT_S.DBF")) return;
  auto t = lib::USE(nullptr, "F_TXT_S", "T_TXT_S");
  for (t->GoTop(); !t->Eof(); t->Skip()) g.XTXT_SRCH_FILES.emplace_back(t->S("TABLA"), t->S("DOCUMENTO"));
  g.XTXT_SRCH_OBJ = std::make_unique<lib::NullTextSearch>();
}

}  // namespace app
