// The process-wide state of the program: every global the start-up creates, with its
// initial value, and the services the data layer calls (clock, message boxes, database
// server, text search). One object, created first; code reaches it through G(). Tests
// replace it with a fresh one (resetGlobals()).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "lib/clock.h"
#include "lib/messages.h"
#include "server/server_client.h"

namespace lib {

class WDBTable;
class WorkAreas;
class StorageDriver;
class TextSearch;

struct OpenTableEntry {
  int area = 0;
  std::string name;
};

struct FileBagEntry {
  std::string name;
  int area = 0;
};

struct TextSearchSlot {
  int registered = 0;
  std::string document;  // the field naming the document
  std::string table;
  std::string extra;
};

// A lock to release when a server transaction ends: kind 1 keeps {area, record}, kind 2
// only the area (record 0).
struct TransactionLock {
  int area = 0;
  uint32_t recno = 0;
};

struct Translation {
  std::string from, to;
  int embedded = 0;
};

struct Globals {
  Globals();
  ~Globals();

  // Identity and windows.
  void* OAPP = nullptr;
  void* XAPPSELF = nullptr;
  void* XAPPHANDLE = nullptr;
  void* XTBARSELF = nullptr;
  std::string PATH;  // program folder, ending in '/'
  std::string EXT_MODULO = "XXX";
  int XREMOTE_SESSION = 0;
  int XDOTRANSPARENCY = 1;

  // Storage.
  std::string DEF_RDD;
  std::vector<std::string> XADSPARAMS = std::vector<std::string>(26);
  std::string XADS_TS = std::string(100, '0');
  std::string XADS_DIR;
  std::string XADSDIRECTORY;
  int XADSCACHERECORDS = 0;
  bool XADS_MYCONNECTION = false;             // the program's own server connection is open
  std::vector<std::string> XADS_INSTALLINFO;  // from the management connection at start-up
  int XADSTRANS = 0;
  int XTRANS_TIPO = 1;
  std::optional<int> XTRANS_ID;
  std::vector<TransactionLock> XA_RECORDS;
  std::string XADS_T_ERR;
  std::vector<FileBagEntry> XADSFILEBAG;
  std::vector<OpenTableEntry> XFILES_AREA;
  struct {
    std::string folder;  // sub-database folder below BASES/, "" for the main database
    std::string code;
  } XDBACCESS;
  struct {
    int flag = 0;
    std::string path;
  } XTEMPPATH;
  std::array<long, 3> XRETRIES{};  // failed opens, failed locks and appends, failed releases
  int XCOMMITALL = 0;
  std::unique_ptr<WDBTable> XDUMMYADSTABLE;
  WDBTable* XADS_SERIALES = nullptr;
  std::string XLAST_SERIAL;  // the last serial handed out

  // Session and user.
  int XUSER_NUMBER = 0;
  std::string XUSER_ABREVIA;
  std::string XU_COMP;
  int XSUPERACCESS = 0;
  int XNO_SALIR = 0;
  std::optional<int32_t> XFECHA_CLAVE;
  int XIDIOMA = 1;
  int XBUTTON_STYLE = 3;
  uint32_t XREC_E_S = 0;
  int XID_MENU = 0;

  // Dates and time.
  int XFEC_HORA_LOCAL = 0;

  // Mail.
  std::optional<int> XEMAIL_SMTP_PORT, XEMAIL_POP3_PORT;
  std::string XEMAILHOST, XEMAILNAME, XEMAILADDR, XEMAIL_ID = "Desconocido", XEMAILDEST;
  int XEMAILSEND = 0, XEMAILAUTH = 0;
  std::string XEMAIL_AU, XEMAIL_AP, XEMAIL_CC1, XEMAIL_CC2;

  // Screen.
  std::string XMAIN_FONT_NAME;
  int XMAIN_FONT_SIZE = 8;
  std::string XGLOBAL_FONT_NAME;
  int XGLOBAL_FONT_SIZE = 8;
  std::string XPRINT_FONT;
  int XNUMCOLORS = 256;
  int XGRAYED = 1;
  int XREFRESH_BROWSE = 1;
  std::string XSEL_DATE;
  std::string XLOGOFILE, XLOGO2;
  std::vector<std::string> XAVAILABLE_FONTS;
  int XMANEJO_TC = 0;

  // Message loop.
  std::array<int, 2> XMULTITASK{1, 3};
  int XINMULTITASK = 0;
  int XMAXTIMEOUT = 0;  // F_SYS: minutes without input before the session locks (0: never)
  int XNO_TIMEOUT = 0;   // F_SYS: 1 switches the inactivity lock off
  int XAPP_IN_MESSAGETIME = 0;
  int64_t XAPP_LAST_MESSAGETIME = 0;

  // Error handling.
  bool XINERRORSYS = false;

  // Translation and search.
  std::vector<Translation> XTRADUCT;
  std::vector<std::pair<std::string, std::string>> XTXT_SRCH_FILES;  // {table, document field}
  std::vector<TextSearchSlot> XTXT_SRCH_VECTOR = std::vector<TextSearchSlot>(5000);
  std::unique_ptr<TextSearch> XTXT_SRCH_OBJ;

  // Menus.
  int XNEXT_MENU_ID = 30000;

  // Services. The program installs real ones; tests install fakes.
  std::unique_ptr<Clock> clock;
  std::unique_ptr<MessageSink> messages;
  std::unique_ptr<server::ServerClient> server;
  std::function<void()> pumpMessages;  // lets pending window messages run
  std::function<std::string()> windowsUser, computerName;
  std::unique_ptr<WorkAreas> areas;
};

Globals& G();
// A fresh state with the initial values (tests; the program creates it once at start).
Globals& resetGlobals();

// The storage driver called `name` ("DBFCDX", "ADSCDX"), or the default one (DEF_RDD).
StorageDriver& storageDriver(const std::string& name = "");
void registerStorageDriver(std::unique_ptr<StorageDriver> driver);

}  // namespace lib
