// Reads Windows resource scripts: the dialogs and string tables the screens are built from.
// Every other resource a script may hold (menus, icons, version blocks...) is skipped. The
// text goes first through a small preprocessor (comments, object-like #define, conditionals);
// #include is not followed, so a script #defines the ids it uses or writes numbers.
//
// Built without Qt: the fuzz target includes this file directly.
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "win/dialog_template.h"

namespace win {

// Generated at build time from resources/dialogs/*.rc.
const char* embeddedDialogText();

namespace {

constexpr size_t kMaxScriptBytes = size_t{4} << 20;
constexpr size_t kMaxExpansion = 200000;                // tokens that macros may produce, nested ones included
constexpr size_t kMaxMacroDepth = 32;                   // a macro that names a macro that names a macro...
constexpr size_t kMaxConditionals = 64;                 // #if inside #if
constexpr int kMaxExpressionDepth = 100;                // parentheses and unary operators
constexpr int kMaxBlockDepth = 256;                     // BEGIN inside BEGIN in skipped resources
constexpr size_t kMaxControls = 4096;                   // per dialog
constexpr int64_t kMaxCoordinate = 32767;               // dialog units, what a DLGTEMPLATE holds
constexpr uint64_t kNumberCeiling = 0xFFFFFFFFFFFFull;  // literals saturate here instead of wrapping
constexpr std::string_view kFileMarker = "#@file";
constexpr std::string_view kBuiltInName = "recursos incorporados";

// Win32 values of the style bits the defaults below are made of.
constexpr uint32_t WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u, WS_CAPTION = 0x00C00000u, WS_SYSMENU = 0x00080000u,
                   DS_SETFONT = 0x40u;

[[noreturn]] void fail(const std::string& file, int line, const std::string& what) {
  throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

char upperChar(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = upperChar(c);
  return r;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upperChar(a[i]) != upperChar(b[i])) return false;
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isIdentStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentChar(char c) {
  return isIdentStart(c) || isDigit(c);
}

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decimal or 0x hexadecimal with any L/U suffix, as rc reads them (a leading 0 is not octal).
bool parseNumber(std::string_view s, uint64_t& out) {
  size_t i = 0;
  uint64_t base = 10;
  if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) base = 16, i = 2;
  uint64_t value = 0;
  size_t digits = 0;
  for (; i < s.size(); ++i, ++digits) {
    int d = hexValue(s[i]);
    if (d < 0 || uint64_t(d) >= base) break;
    value = value >= kNumberCeiling ? kNumberCeiling : value * base + uint64_t(d);
  }
  if (digits == 0) return false;
  for (; i < s.size(); ++i)
    if (s[i] != 'l' && s[i] != 'L' && s[i] != 'u' && s[i] != 'U') return false;
  out = value;
  return true;
}

// ---------------------------------------------------------------------------------------
// Names a script may use as numbers: the styles of windows, dialogs and the common controls,
// and the ids windows.h and winres.h give.

struct Constant {
  std::string_view name;
  int64_t value;
};

constexpr Constant kConstants[] = {
    // Window styles.
    {"WS_OVERLAPPED", 0x00000000},
    {"WS_TILED", 0x00000000},
    {"WS_POPUP", 0x80000000},
    {"WS_CHILD", 0x40000000},
    {"WS_CHILDWINDOW", 0x40000000},
    {"WS_MINIMIZE", 0x20000000},
    {"WS_ICONIC", 0x20000000},
    {"WS_VISIBLE", 0x10000000},
    {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_MAXIMIZE", 0x01000000},
    {"WS_CAPTION", 0x00C00000},
    {"WS_BORDER", 0x00800000},
    {"WS_DLGFRAME", 0x00400000},
    {"WS_VSCROLL", 0x00200000},
    {"WS_HSCROLL", 0x00100000},
    {"WS_SYSMENU", 0x00080000},
    {"WS_THICKFRAME", 0x00040000},
    {"WS_SIZEBOX", 0x00040000},
    {"WS_GROUP", 0x00020000},
    {"WS_TABSTOP", 0x00010000},
    {"WS_MINIMIZEBOX", 0x00020000},
    {"WS_MAXIMIZEBOX", 0x00010000},
    {"WS_OVERLAPPEDWINDOW", 0x00CF0000},
    {"WS_TILEDWINDOW", 0x00CF0000},
    {"WS_POPUPWINDOW", 0x80880000},
    // Extended window styles.
    {"WS_EX_DLGMODALFRAME", 0x1},
    {"WS_EX_NOPARENTNOTIFY", 0x4},
    {"WS_EX_TOPMOST", 0x8},
    {"WS_EX_ACCEPTFILES", 0x10},
    {"WS_EX_TRANSPARENT", 0x20},
    {"WS_EX_MDICHILD", 0x40},
    {"WS_EX_TOOLWINDOW", 0x80},
    {"WS_EX_WINDOWEDGE", 0x100},
    {"WS_EX_CLIENTEDGE", 0x200},
    {"WS_EX_CONTEXTHELP", 0x400},
    {"WS_EX_RIGHT", 0x1000},
    {"WS_EX_LEFT", 0x0},
    {"WS_EX_RTLREADING", 0x2000},
    {"WS_EX_LTRREADING", 0x0},
    {"WS_EX_LEFTSCROLLBAR", 0x4000},
    {"WS_EX_RIGHTSCROLLBAR", 0x0},
    {"WS_EX_CONTROLPARENT", 0x10000},
    {"WS_EX_STATICEDGE", 0x20000},
    {"WS_EX_APPWINDOW", 0x40000},
    {"WS_EX_OVERLAPPEDWINDOW", 0x300},
    {"WS_EX_PALETTEWINDOW", 0x188},
    {"WS_EX_LAYERED", 0x80000},
    {"WS_EX_NOINHERITLAYOUT", 0x100000},
    {"WS_EX_LAYOUTRTL", 0x400000},
    {"WS_EX_COMPOSITED", 0x2000000},
    {"WS_EX_NOACTIVATE", 0x8000000},
    // Dialog styles.
    {"DS_ABSALIGN", 0x1},
    {"DS_SYSMODAL", 0x2},
    {"DS_3DLOOK", 0x4},
    {"DS_FIXEDSYS", 0x8},
    {"DS_NOFAILCREATE", 0x10},
    {"DS_LOCALEDIT", 0x20},
    {"DS_SETFONT", 0x40},
    {"DS_MODALFRAME", 0x80},
    {"DS_NOIDLEMSG", 0x100},
    {"DS_SETFOREGROUND", 0x200},
    {"DS_CONTROL", 0x400},
    {"DS_CENTER", 0x800},
    {"DS_CENTERMOUSE", 0x1000},
    {"DS_CONTEXTHELP", 0x2000},
    {"DS_SHELLFONT", 0x48},
    {"DS_USEPIXELS", 0x8000},
    // Edit controls.
    {"ES_LEFT", 0x0},
    {"ES_CENTER", 0x1},
    {"ES_RIGHT", 0x2},
    {"ES_MULTILINE", 0x4},
    {"ES_UPPERCASE", 0x8},
    {"ES_LOWERCASE", 0x10},
    {"ES_PASSWORD", 0x20},
    {"ES_AUTOVSCROLL", 0x40},
    {"ES_AUTOHSCROLL", 0x80},
    {"ES_NOHIDESEL", 0x100},
    {"ES_OEMCONVERT", 0x400},
    {"ES_READONLY", 0x800},
    {"ES_WANTRETURN", 0x1000},
    {"ES_NUMBER", 0x2000},
    // Static controls.
    {"SS_LEFT", 0x0},
    {"SS_CENTER", 0x1},
    {"SS_RIGHT", 0x2},
    {"SS_ICON", 0x3},
    {"SS_BLACKRECT", 0x4},
    {"SS_GRAYRECT", 0x5},
    {"SS_WHITERECT", 0x6},
    {"SS_BLACKFRAME", 0x7},
    {"SS_GRAYFRAME", 0x8},
    {"SS_WHITEFRAME", 0x9},
    {"SS_USERITEM", 0xA},
    {"SS_SIMPLE", 0xB},
    {"SS_LEFTNOWORDWRAP", 0xC},
    {"SS_OWNERDRAW", 0xD},
    {"SS_BITMAP", 0xE},
    {"SS_ENHMETAFILE", 0xF},
    {"SS_ETCHEDHORZ", 0x10},
    {"SS_ETCHEDVERT", 0x11},
    {"SS_ETCHEDFRAME", 0x12},
    {"SS_TYPEMASK", 0x1F},
    {"SS_REALSIZECONTROL", 0x40},
    {"SS_NOPREFIX", 0x80},
    {"SS_NOTIFY", 0x100},
    {"SS_CENTERIMAGE", 0x200},
    {"SS_RIGHTJUST", 0x400},
    {"SS_REALSIZEIMAGE", 0x800},
    {"SS_SUNKEN", 0x1000},
    {"SS_EDITCONTROL", 0x2000},
    {"SS_ENDELLIPSIS", 0x4000},
    {"SS_PATHELLIPSIS", 0x8000},
    {"SS_WORDELLIPSIS", 0xC000},
    {"SS_ELLIPSISMASK", 0xC000},
    // Buttons.
    {"BS_PUSHBUTTON", 0x0},
    {"BS_DEFPUSHBUTTON", 0x1},
    {"BS_CHECKBOX", 0x2},
    {"BS_AUTOCHECKBOX", 0x3},
    {"BS_RADIOBUTTON", 0x4},
    {"BS_3STATE", 0x5},
    {"BS_AUTO3STATE", 0x6},
    {"BS_GROUPBOX", 0x7},
    {"BS_USERBUTTON", 0x8},
    {"BS_AUTORADIOBUTTON", 0x9},
    {"BS_PUSHBOX", 0xA},
    {"BS_OWNERDRAW", 0xB},
    {"BS_SPLITBUTTON", 0xC},
    {"BS_DEFSPLITBUTTON", 0xD},
    {"BS_COMMANDLINK", 0xE},
    {"BS_DEFCOMMANDLINK", 0xF},
    {"BS_TYPEMASK", 0xF},
    {"BS_LEFTTEXT", 0x20},
    {"BS_RIGHTBUTTON", 0x20},
    {"BS_TEXT", 0x0},
    {"BS_ICON", 0x40},
    {"BS_BITMAP", 0x80},
    {"BS_LEFT", 0x100},
    {"BS_RIGHT", 0x200},
    {"BS_CENTER", 0x300},
    {"BS_TOP", 0x400},
    {"BS_BOTTOM", 0x800},
    {"BS_VCENTER", 0xC00},
    {"BS_PUSHLIKE", 0x1000},
    {"BS_MULTILINE", 0x2000},
    {"BS_NOTIFY", 0x4000},
    {"BS_FLAT", 0x8000},
    // Combo boxes.
    {"CBS_SIMPLE", 0x1},
    {"CBS_DROPDOWN", 0x2},
    {"CBS_DROPDOWNLIST", 0x3},
    {"CBS_OWNERDRAWFIXED", 0x10},
    {"CBS_OWNERDRAWVARIABLE", 0x20},
    {"CBS_AUTOHSCROLL", 0x40},
    {"CBS_OEMCONVERT", 0x80},
    {"CBS_SORT", 0x100},
    {"CBS_HASSTRINGS", 0x200},
    {"CBS_NOINTEGRALHEIGHT", 0x400},
    {"CBS_DISABLENOSCROLL", 0x800},
    {"CBS_UPPERCASE", 0x2000},
    {"CBS_LOWERCASE", 0x4000},
    // List boxes.
    {"LBS_NOTIFY", 0x1},
    {"LBS_SORT", 0x2},
    {"LBS_NOREDRAW", 0x4},
    {"LBS_MULTIPLESEL", 0x8},
    {"LBS_OWNERDRAWFIXED", 0x10},
    {"LBS_OWNERDRAWVARIABLE", 0x20},
    {"LBS_HASSTRINGS", 0x40},
    {"LBS_USETABSTOPS", 0x80},
    {"LBS_NOINTEGRALHEIGHT", 0x100},
    {"LBS_MULTICOLUMN", 0x200},
    {"LBS_WANTKEYBOARDINPUT", 0x400},
    {"LBS_EXTENDEDSEL", 0x800},
    {"LBS_DISABLENOSCROLL", 0x1000},
    {"LBS_NODATA", 0x2000},
    {"LBS_NOSEL", 0x4000},
    {"LBS_COMBOBOX", 0x8000},
    {"LBS_STANDARD", 0x00A00003},
    // Scroll bars.
    {"SBS_HORZ", 0x0},
    {"SBS_VERT", 0x1},
    {"SBS_TOPALIGN", 0x2},
    {"SBS_LEFTALIGN", 0x2},
    {"SBS_BOTTOMALIGN", 0x4},
    {"SBS_RIGHTALIGN", 0x4},
    {"SBS_SIZEBOXTOPLEFTALIGN", 0x2},
    {"SBS_SIZEBOXBOTTOMRIGHTALIGN", 0x4},
    {"SBS_SIZEBOX", 0x8},
    {"SBS_SIZEGRIP", 0x10},
    // Tree views.
    {"TVS_HASBUTTONS", 0x1},
    {"TVS_HASLINES", 0x2},
    {"TVS_LINESATROOT", 0x4},
    {"TVS_EDITLABELS", 0x8},
    {"TVS_DISABLEDRAGDROP", 0x10},
    {"TVS_SHOWSELALWAYS", 0x20},
    {"TVS_RTLREADING", 0x40},
    {"TVS_NOTOOLTIPS", 0x80},
    {"TVS_CHECKBOXES", 0x100},
    {"TVS_TRACKSELECT", 0x200},
    {"TVS_SINGLEEXPAND", 0x400},
    {"TVS_INFOTIP", 0x800},
    {"TVS_FULLROWSELECT", 0x1000},
    {"TVS_NOSCROLL", 0x2000},
    {"TVS_NONEVENHEIGHT", 0x4000},
    {"TVS_NOHSCROLL", 0x8000},
    // Tab controls.
    {"TCS_SCROLLOPPOSITE", 0x1},
    {"TCS_BOTTOM", 0x2},
    {"TCS_RIGHT", 0x2},
    {"TCS_MULTISELECT", 0x4},
    {"TCS_FLATBUTTONS", 0x8},
    {"TCS_FORCEICONLEFT", 0x10},
    {"TCS_FORCELABELLEFT", 0x20},
    {"TCS_HOTTRACK", 0x40},
    {"TCS_VERTICAL", 0x80},
    {"TCS_TABS", 0x0},
    {"TCS_BUTTONS", 0x100},
    {"TCS_SINGLELINE", 0x0},
    {"TCS_MULTILINE", 0x200},
    {"TCS_RIGHTJUSTIFY", 0x0},
    {"TCS_FIXEDWIDTH", 0x400},
    {"TCS_RAGGEDRIGHT", 0x800},
    {"TCS_FOCUSONBUTTONDOWN", 0x1000},
    {"TCS_OWNERDRAWFIXED", 0x2000},
    {"TCS_TOOLTIPS", 0x4000},
    {"TCS_FOCUSNEVER", 0x8000},
    // List views.
    {"LVS_ICON", 0x0},
    {"LVS_REPORT", 0x1},
    {"LVS_SMALLICON", 0x2},
    {"LVS_LIST", 0x3},
    {"LVS_TYPEMASK", 0x3},
    {"LVS_SINGLESEL", 0x4},
    {"LVS_SHOWSELALWAYS", 0x8},
    {"LVS_SORTASCENDING", 0x10},
    {"LVS_SORTDESCENDING", 0x20},
    {"LVS_SHAREIMAGELISTS", 0x40},
    {"LVS_NOLABELWRAP", 0x80},
    {"LVS_AUTOARRANGE", 0x100},
    {"LVS_EDITLABELS", 0x200},
    {"LVS_OWNERDRAWFIXED", 0x400},
    {"LVS_ALIGNTOP", 0x0},
    {"LVS_ALIGNLEFT", 0x800},
    {"LVS_OWNERDATA", 0x1000},
    {"LVS_NOSCROLL", 0x2000},
    {"LVS_NOCOLUMNHEADER", 0x4000},
    {"LVS_NOSORTHEADER", 0x8000},
    // Month calendars, date pickers, progress bars, up-downs, track bars, animations.
    {"MCS_DAYSTATE", 0x1},
    {"MCS_MULTISELECT", 0x2},
    {"MCS_WEEKNUMBERS", 0x4},
    {"MCS_NOTODAYCIRCLE", 0x8},
    {"MCS_NOTODAY", 0x10},
    {"DTS_UPDOWN", 0x1},
    {"DTS_SHOWNONE", 0x2},
    {"DTS_SHORTDATEFORMAT", 0x0},
    {"DTS_LONGDATEFORMAT", 0x4},
    {"DTS_SHORTDATECENTURYFORMAT", 0xC},
    {"DTS_TIMEFORMAT", 0x9},
    {"DTS_APPCANPARSE", 0x10},
    {"DTS_RIGHTALIGN", 0x20},
    {"PBS_SMOOTH", 0x1},
    {"PBS_VERTICAL", 0x4},
    {"PBS_MARQUEE", 0x8},
    {"UDS_WRAP", 0x1},
    {"UDS_SETBUDDYINT", 0x2},
    {"UDS_ALIGNRIGHT", 0x4},
    {"UDS_ALIGNLEFT", 0x8},
    {"UDS_AUTOBUDDY", 0x10},
    {"UDS_ARROWKEYS", 0x20},
    {"UDS_HORZ", 0x40},
    {"UDS_NOTHOUSANDS", 0x80},
    {"UDS_HOTTRACK", 0x100},
    {"TBS_AUTOTICKS", 0x1},
    {"TBS_VERT", 0x2},
    {"TBS_HORZ", 0x0},
    {"TBS_TOP", 0x4},
    {"TBS_BOTTOM", 0x0},
    {"TBS_LEFT", 0x4},
    {"TBS_RIGHT", 0x0},
    {"TBS_BOTH", 0x8},
    {"TBS_NOTICKS", 0x10},
    {"TBS_ENABLESELRANGE", 0x20},
    {"TBS_FIXEDLENGTH", 0x40},
    {"TBS_NOTHUMB", 0x80},
    {"TBS_TOOLTIPS", 0x100},
    {"ACS_CENTER", 0x1},
    {"ACS_TRANSPARENT", 0x2},
    {"ACS_AUTOPLAY", 0x4},
    {"ACS_TIMER", 0x8},
    // Common control bars.
    {"CCS_TOP", 0x1},
    {"CCS_NOMOVEY", 0x2},
    {"CCS_BOTTOM", 0x3},
    {"CCS_NORESIZE", 0x4},
    {"CCS_NOPARENTALIGN", 0x8},
    {"CCS_ADJUSTABLE", 0x20},
    {"CCS_NODIVIDER", 0x40},
    {"CCS_VERT", 0x80},
    {"SBARS_SIZEGRIP", 0x100},
    // Dialog ids.
    {"IDC_STATIC", -1},
    {"IDOK", 1},
    {"IDCANCEL", 2},
    {"IDABORT", 3},
    {"IDRETRY", 4},
    {"IDIGNORE", 5},
    {"IDYES", 6},
    {"IDNO", 7},
    {"IDCLOSE", 8},
    {"IDHELP", 9},
    {"IDTRYAGAIN", 10},
    {"IDCONTINUE", 11},
};

const Constant* findConstant(std::string_view name) {
  static const std::unordered_map<std::string, const Constant*> index = [] {
    std::unordered_map<std::string, const Constant*> m;
    for (const Constant& c : kConstants) m.emplace(std::string(c.name), &c);
    return m;
  }();
  auto it = index.find(upper(name));
  return it == index.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------------------
// Tokens and the preprocessor.

enum class Tok { Ident, Number, String, Punct };

struct Token {
  Tok kind;
  std::string text;  // identifier, number as written, decoded string or operator
  int line;
};

bool isPunct(const Token* t, std::string_view p) {
  return t && t->kind == Tok::Punct && t->text == p;
}

bool isWord(const Token* t, std::string_view word) {
  return t && t->kind == Tok::Ident && iequals(t->text, word);
}

class Lexer {
 public:
  Lexer(std::string_view text, const std::string& file) : s_(text), file_(file) {}

  std::vector<Token> run() {
    if (s_.size() > kMaxScriptBytes) fail(file_, 1, "el script es demasiado grande");
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    bool lineStart = true;
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_, ++pos_, lineStart = true;
      } else if (isBlank(c)) {
        ++pos_;
      } else if (c == '/' && peekChar(1) == '/') {
        skipToEndOfLine();
      } else if (c == '/' && peekChar(1) == '*') {
        skipBlockComment();
      } else if (lineStart && c == '#') {
        directive();
      } else if (!active()) {
        skipToEndOfLine();
      } else {
        lineStart = false;
        Token t = scanToken(s_, pos_, line_);
        emit(std::move(t), out_, 0);
      }
    }
    if (!conditionals_.empty()) fail(file_, conditionals_.back().line, "falta #endif");
    return std::move(out_);
  }

 private:
  struct Conditional {
    bool parentActive;
    bool active;
    bool taken;  // some branch was already chosen
    bool sawElse;
    int line;
  };

  char peekChar(size_t ahead) const { return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0'; }
  bool active() const { return conditionals_.empty() || conditionals_.back().active; }

  void skipToEndOfLine() {
    while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
  }

  void skipBlockComment() {
    int startLine = line_;
    pos_ += 2;
    while (pos_ < s_.size() && !(s_[pos_] == '*' && peekChar(1) == '/')) {
      if (s_[pos_] == '\n') ++line_;
      ++pos_;
    }
    if (pos_ >= s_.size()) fail(file_, startLine, "comentario sin terminar");
    pos_ += 2;
  }

  // One token starting at s[pos], which is neither blank nor the start of a comment.
  Token scanToken(std::string_view s, size_t& pos, int line) const {
    char c = s[pos];
    if (c == 'L' && pos + 1 < s.size() && s[pos + 1] == '"') ++pos, c = '"';  // wide strings read the same
    if (c == '"') return {Tok::String, scanString(s, pos, line), line};
    size_t begin = pos;
    if (isIdentStart(c) || isDigit(c)) {
      while (pos < s.size() && isIdentChar(s[pos])) ++pos;
      return {isDigit(c) ? Tok::Number : Tok::Ident, std::string(s.substr(begin, pos - begin)), line};
    }
    static constexpr std::string_view kPairs[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
    for (std::string_view pair : kPairs) {
      if (s.substr(pos, 2) == pair) {
        pos += 2;
        return {Tok::Punct, std::string(pair), line};
      }
    }
    ++pos;
    return {Tok::Punct, std::string(1, c), line};
  }

  // "..." with "" for a quote and the C escapes; bytes are kept as they are (UTF-8).
  std::string scanString(std::string_view s, size_t& pos, int line) const {
    std::string out;
    ++pos;
    for (;;) {
      if (pos >= s.size() || s[pos] == '\n') fail(file_, line, "cadena sin terminar");
      char c = s[pos++];
      if (c == '"') {
        if (pos < s.size() && s[pos] == '"') {
          out += '"', ++pos;
          continue;
        }
        return out;
      }
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos >= s.size() || s[pos] == '\n') fail(file_, line, "cadena sin terminar");
      char e = s[pos++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case '\\':
          out += '\\';
          break;
        case '"':
          out += '"';
          break;
        case 'x':
        case 'X': {
          int value = 0, digits = 0;
          while (digits < 2 && pos < s.size() && hexValue(s[pos]) >= 0)
            value = value * 16 + hexValue(s[pos++]), ++digits;
          if (digits == 0)
            out += '\\', out += e;  // not an escape after all
          else
            out += char(value);
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            int value = e - '0', digits = 1;
            while (digits < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7')
              value = value * 8 + (s[pos++] - '0'), ++digits;
            out += char(value & 0xFF);
          } else {
            out += '\\', out += e;  // unknown escapes stay as written
          }
      }
    }
  }

  // Tokens of one directive's text (comments already gone).
  std::vector<Token> tokensOf(std::string_view s, int line) const {
    std::vector<Token> out;
    size_t pos = 0;
    while (pos < s.size()) {
      if (isBlank(s[pos])) {
        ++pos;
        continue;
      }
      out.push_back(scanToken(s, pos, line));
    }
    return out;
  }

  // The rest of a directive line after '#', with continuation lines joined and comments removed.
  std::string directiveText() {
    std::string out;
    ++pos_;
    while (pos_ < s_.size() && s_[pos_] != '\n') {
      char c = s_[pos_];
      if (c == '\\' && (peekChar(1) == '\n' || (peekChar(1) == '\r' && peekChar(2) == '\n'))) {
        pos_ += peekChar(1) == '\n' ? 2 : 3;
        ++line_;
        out += ' ';
      } else if (c == '/' && peekChar(1) == '/') {
        skipToEndOfLine();
      } else if (c == '/' && peekChar(1) == '*') {
        skipBlockComment();
        out += ' ';
      } else if (c == '"') {
        // Copied as is, so that "//" inside a string is no comment.
        out += c, ++pos_;
        while (pos_ < s_.size() && s_[pos_] != '\n') {
          char d = s_[pos_];
          out += d, ++pos_;
          if (d == '\\' && pos_ < s_.size() && s_[pos_] != '\n') {
            out += s_[pos_++];
          } else if (d == '"') {
            if (pos_ < s_.size() && s_[pos_] == '"')
              out += s_[pos_++];
            else
              break;
          }
        }
      } else {
        out += c, ++pos_;
      }
    }
    return out;
  }

  void directive() {
    const int line = line_;
    const std::string text = directiveText();
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    size_t nameBegin = i;
    while (i < text.size() && isIdentChar(text[i])) ++i;
    const std::string name = upper(std::string_view(text).substr(nameBegin, i - nameBegin));
    const std::string_view rest = std::string_view(text).substr(i);

    if (name == "IF" || name == "IFDEF" || name == "IFNDEF") {
      if (conditionals_.size() >= kMaxConditionals) fail(file_, line, "demasiados #if anidados");
      bool parent = active();
      bool value = false;
      if (parent) value = name == "IF" ? evaluate(rest, line) : (isDefined(rest, line) == (name == "IFDEF"));
      conditionals_.push_back({parent, parent && value, value, false, line});
    } else if (name == "ELIF") {
      if (conditionals_.empty()) fail(file_, line, "#elif sin #if");
      Conditional& c = conditionals_.back();
      if (c.sawElse) fail(file_, line, "#elif después de #else");
      if (!c.parentActive || c.taken) {
        c.active = false;
      } else {
        c.active = c.taken = evaluate(rest, line);
      }
    } else if (name == "ELSE") {
      if (conditionals_.empty()) fail(file_, line, "#else sin #if");
      Conditional& c = conditionals_.back();
      if (c.sawElse) fail(file_, line, "#else repetido");
      c.sawElse = true;
      c.active = c.parentActive && !c.taken;
      c.taken = true;
    } else if (name == "ENDIF") {
      if (conditionals_.empty()) fail(file_, line, "#endif sin #if");
      conditionals_.pop_back();
    } else if (!active()) {
      return;
    } else if (name == "DEFINE") {
      define(rest, line);
    } else if (name == "UNDEF") {
      std::vector<Token> tokens = tokensOf(rest, line);
      if (tokens.empty() || tokens[0].kind != Tok::Ident) fail(file_, line, "falta el nombre tras #undef");
      macros_.erase(tokens[0].text);
    }
    // #include, #pragma, #line, #error and the rest mean nothing for the templates.
  }

  void define(std::string_view rest, int line) {
    size_t i = 0;
    while (i < rest.size() && isBlank(rest[i])) ++i;
    size_t begin = i;
    if (i < rest.size() && isIdentStart(rest[i]))
      while (i < rest.size() && isIdentChar(rest[i])) ++i;
    if (i == begin) fail(file_, line, "falta el nombre tras #define");
    std::string name(rest.substr(begin, i - begin));
    if (i < rest.size() && rest[i] == '(') {
      macros_.erase(name);  // macros with arguments are not expanded
      return;
    }
    macros_[name] = tokensOf(rest.substr(i), line);
  }

  bool isDefined(std::string_view rest, int line) const {
    std::vector<Token> tokens = tokensOf(rest, line);
    if (tokens.empty() || tokens[0].kind != Tok::Ident) fail(file_, line, "falta el nombre de la macro");
    return macros_.count(tokens[0].text) != 0;
  }

  bool evaluate(std::string_view rest, int line);

  // Appends `t` to `out`, replacing a macro by its tokens (never inside its own expansion).
  void emit(Token t, std::vector<Token>& out, size_t depth) {
    if (depth > 0 && ++expanded_ > kMaxExpansion) fail(file_, t.line, "las macros producen demasiados elementos");
    if (t.kind == Tok::Ident) {
      auto it = macros_.find(t.text);
      if (it != macros_.end()) {
        bool expanding = false;
        for (const std::string& name : expanding_) expanding = expanding || name == t.text;
        if (!expanding) {
          if (depth >= kMaxMacroDepth) fail(file_, t.line, "macros anidadas en exceso");
          expanding_.push_back(t.text);
          for (const Token& b : it->second) emit({b.kind, b.text, t.line}, out, depth + 1);
          expanding_.pop_back();
          return;
        }
      }
    }
    out.push_back(std::move(t));
  }

  std::string_view s_;
  const std::string& file_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<Token> out_;
  std::unordered_map<std::string, std::vector<Token>> macros_;
  std::vector<std::string> expanding_;
  std::vector<Conditional> conditionals_;
  size_t expanded_ = 0;
};

// ---------------------------------------------------------------------------------------
// Expressions: numbers, names, + - * / % & | ^ ~ << >> and parentheses; in #if also the C
// comparisons and logical operators (an unknown name there is 0, as in C).

class Expression {
 public:
  Expression(const std::vector<Token>& tokens, size_t& pos, const std::string& file, bool preprocessor)
      : t_(tokens), pos_(pos), file_(file), preprocessor_(preprocessor) {}

  int64_t value() { return binary(1); }

  // A style: '|'-separated terms over `base`; NOT X clears X's bits from what is there so far.
  uint32_t style(uint32_t base) {
    uint64_t acc = base;
    do {
      if (isWord(peek(), "NOT")) {
        ++pos_;
        acc &= ~uint64_t(unary());
      } else {
        acc |= uint64_t(binary(kOrPrecedence + 1));
      }
    } while (accept("|"));
    return uint32_t(acc);
  }

 private:
  static constexpr int kOrPrecedence = 3;

  class Depth {
   public:
    explicit Depth(Expression& e) : e_(e) {
      if (++e_.depth_ > kMaxExpressionDepth) e_.failHere("expresión demasiado anidada");
    }
    ~Depth() { --e_.depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

   private:
    Expression& e_;
  };

  const Token* peek() const { return pos_ < t_.size() ? &t_[pos_] : nullptr; }
  bool accept(std::string_view p) {
    if (!isPunct(peek(), p)) return false;
    ++pos_;
    return true;
  }
  int line() const {
    if (pos_ < t_.size()) return t_[pos_].line;
    return t_.empty() ? 1 : t_.back().line;
  }
  [[noreturn]] void failHere(const std::string& what) const { fail(file_, line(), what); }

  int precedence(const Token* t) const {
    if (!t || t->kind != Tok::Punct) return 0;
    struct Op {
      std::string_view text;
      int precedence;
      bool onlyPreprocessor;
    };
    static constexpr Op kOps[] = {
        {"||", 1, true},  {"&&", 2, true}, {"|", 3, false}, {"^", 4, false},  {"&", 5, false},  {"==", 6, true},
        {"!=", 6, true},  {"<", 7, true},  {">", 7, true},  {"<=", 7, true},  {">=", 7, true},  {"<<", 8, false},
        {">>", 8, false}, {"+", 9, false}, {"-", 9, false}, {"*", 10, false}, {"/", 10, false}, {"%", 10, false}};
    for (const Op& op : kOps)
      if (t->text == op.text) return op.onlyPreprocessor && !preprocessor_ ? 0 : op.precedence;
    return 0;
  }

  int64_t binary(int minPrecedence) {
    Depth depth(*this);
    int64_t lhs = unary();
    for (;;) {
      int p = precedence(peek());
      if (p == 0 || p < minPrecedence) return lhs;
      std::string op = t_[pos_++].text;
      int64_t rhs = binary(p + 1);
      lhs = apply(op, lhs, rhs);
    }
  }

  // Wrapping arithmetic, as the resource compiler's 32-bit words would; never undefined.
  int64_t apply(const std::string& op, int64_t lhs, int64_t rhs) const {
    uint64_t a = uint64_t(lhs), b = uint64_t(rhs);
    if (op == "+") return int64_t(a + b);
    if (op == "-") return int64_t(a - b);
    if (op == "*") return int64_t(a * b);
    if (op == "/" || op == "%") {
      if (rhs == 0) failHere("división por cero");
      if (rhs == -1) return op == "/" ? int64_t(0 - a) : 0;
      return op == "/" ? lhs / rhs : lhs % rhs;
    }
    if (op == "&") return int64_t(a & b);
    if (op == "|") return int64_t(a | b);
    if (op == "^") return int64_t(a ^ b);
    if (op == "<<") return int64_t(a << (b & 63));
    if (op == ">>") return lhs >> (b & 63);
    if (op == "&&") return lhs && rhs;
    if (op == "||") return lhs || rhs;
    if (op == "==") return lhs == rhs;
    if (op == "!=") return lhs != rhs;
    if (op == "<") return lhs < rhs;
    if (op == ">") return lhs > rhs;
    if (op == "<=") return lhs <= rhs;
    return lhs >= rhs;
  }

  int64_t unary() {
    Depth depth(*this);
    const Token* t = peek();
    if (!t) failHere("falta un valor al final de la expresión");
    if (t->kind == Tok::Punct) {
      const std::string& p = t->text;
      if (p == "-" || p == "+" || p == "~" || p == "!") {
        ++pos_;
        int64_t v = unary();
        if (p == "-") return int64_t(0 - uint64_t(v));
        if (p == "~") return ~v;
        if (p == "!") return !v;
        return v;
      }
      if (p == "(") {
        ++pos_;
        int64_t v = binary(1);
        if (!accept(")")) failHere("falta ')' en la expresión");
        return v;
      }
      failHere("se esperaba un número y se encontró '" + p + "'");
    }
    if (t->kind == Tok::Number) {
      uint64_t v = 0;
      if (!parseNumber(t->text, v)) failHere("número no válido: " + t->text);
      ++pos_;
      return int64_t(v);
    }
    if (t->kind == Tok::Ident) {
      if (preprocessor_) {
        ++pos_;
        return 0;
      }
      if (iequals(t->text, "NOT")) failHere("NOT sólo puede ir delante de un estilo");
      const Constant* c = findConstant(t->text);
      if (!c) failHere("constante desconocida: " + t->text);
      ++pos_;
      return c->value;
    }
    failHere("se esperaba un número y se encontró una cadena");
  }

  const std::vector<Token>& t_;
  size_t& pos_;
  const std::string& file_;
  bool preprocessor_;
  int depth_ = 0;
};

bool Lexer::evaluate(std::string_view rest, int line) {
  std::vector<Token> raw = tokensOf(rest, line);
  std::vector<Token> expanded;
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i].kind == Tok::Ident && raw[i].text == "defined") {
      bool paren = i + 1 < raw.size() && isPunct(&raw[i + 1], "(");
      size_t nameAt = i + (paren ? 2 : 1);
      if (nameAt >= raw.size() || raw[nameAt].kind != Tok::Ident) fail(file_, line, "falta el nombre tras defined");
      if (paren && (nameAt + 1 >= raw.size() || !isPunct(&raw[nameAt + 1], ")")))
        fail(file_, line, "falta ')' tras defined");
      expanded.push_back({Tok::Number, macros_.count(raw[nameAt].text) ? "1" : "0", line});
      i = nameAt + (paren ? 1 : 0);
      continue;
    }
    emit(raw[i], expanded, 0);
  }
  if (expanded.empty()) fail(file_, line, "falta la expresión de #if");
  size_t pos = 0;
  int64_t value = Expression(expanded, pos, file_, true).value();
  if (pos != expanded.size()) fail(file_, line, "expresión de #if no válida");
  return value != 0;
}

// ---------------------------------------------------------------------------------------
// The statements.

enum class Shape {
  TextId,   // "text", id, x, y, cx, cy [, style [, exstyle]]
  Id,       // id, x, y, cx, cy [, style [, exstyle]]
  Icon,     // text, id, x, y [, cx, cy [, style [, exstyle]]]
  Control,  // "text", id, class, style, x, y, cx, cy [, exstyle]
};

struct ControlForm {
  std::string_view keyword;
  Shape shape;
  ControlKind kind;
  uint32_t style;  // what the statement implies, besides WS_CHILD | WS_VISIBLE
};

constexpr uint32_t kTab = styles::WS_TABSTOP, kGroup = styles::WS_GROUP, kBorder = styles::WS_BORDER;

constexpr ControlForm kControlForms[] = {
    {"LTEXT", Shape::TextId, ControlKind::Static, 0x0 | kGroup},
    {"RTEXT", Shape::TextId, ControlKind::Static, styles::SS_RIGHT | kGroup},
    {"CTEXT", Shape::TextId, ControlKind::Static, styles::SS_CENTER | kGroup},
    {"PUSHBUTTON", Shape::TextId, ControlKind::Button, 0x0 | kTab},
    {"DEFPUSHBUTTON", Shape::TextId, ControlKind::Button, 0x1 | kTab},
    {"PUSHBOX", Shape::TextId, ControlKind::Button, 0xA | kTab},
    {"CHECKBOX", Shape::TextId, ControlKind::CheckBox, 0x2 | kTab},
    {"AUTOCHECKBOX", Shape::TextId, ControlKind::CheckBox, 0x3 | kTab},
    {"STATE3", Shape::TextId, ControlKind::CheckBox, 0x5 | kTab},
    {"AUTO3STATE", Shape::TextId, ControlKind::CheckBox, 0x6 | kTab},
    {"RADIOBUTTON", Shape::TextId, ControlKind::RadioButton, 0x4},
    {"AUTORADIOBUTTON", Shape::TextId, ControlKind::RadioButton, 0x9},
    {"GROUPBOX", Shape::TextId, ControlKind::GroupBox, 0x7},
    {"EDITTEXT", Shape::Id, ControlKind::Edit, 0x0 | kBorder | kTab},
    {"COMBOBOX", Shape::Id, ControlKind::ComboBox, 0x1 | kTab},
    {"LISTBOX", Shape::Id, ControlKind::ListBox, 0x1 | kBorder},
    {"SCROLLBAR", Shape::Id, ControlKind::Other, 0x0},
    {"ICON", Shape::Icon, ControlKind::Static, 0x3},
    {"CONTROL", Shape::Control, ControlKind::Other, 0x0},
};

const ControlForm* findControlForm(const Token* t) {
  if (!t || t->kind != Tok::Ident) return nullptr;
  for (const ControlForm& f : kControlForms)
    if (iequals(t->text, f.keyword)) return &f;
  return nullptr;
}

// Words that start a statement, so never a value: "LTEXT "x",\n PUSHBUTTON" lacks the id.
bool isReserved(const Token* t) {
  static constexpr std::string_view kWords[] = {
      "BEGIN", "END",  "DIALOG", "DIALOGEX", "STRINGTABLE",     "STYLE",   "EXSTYLE", "CAPTION",
      "FONT",  "MENU", "CLASS",  "LANGUAGE", "CHARACTERISTICS", "VERSION", "NOT",
  };
  if (findControlForm(t)) return true;
  if (!t || t->kind != Tok::Ident) return false;
  for (std::string_view w : kWords)
    if (iequals(t->text, w)) return true;
  return false;
}

bool startsValue(const Token* t) {
  if (!t) return false;
  if (t->kind == Tok::Number) return true;
  if (t->kind == Tok::Ident) return !isReserved(t);
  if (t->kind == Tok::Punct) return t->text == "-" || t->text == "+" || t->text == "~" || t->text == "(";
  return false;
}

bool isMemoryOption(const Token* t) {
  static constexpr std::string_view kWords[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                                "PURE",    "IMPURE",     "SHARED", "NONSHARED"};
  if (!t || t->kind != Tok::Ident) return false;
  for (std::string_view w : kWords)
    if (iequals(t->text, w)) return true;
  return false;
}

// Statements that may come between a resource's header and its BEGIN.
bool isResourceOption(const Token* t) {
  static constexpr std::string_view kWords[] = {"LANGUAGE",       "CHARACTERISTICS", "VERSION",   "FILEVERSION",
                                                "PRODUCTVERSION", "FILEFLAGSMASK",   "FILEFLAGS", "FILEOS",
                                                "FILETYPE",       "FILESUBTYPE"};
  if (isMemoryOption(t)) return true;
  if (!t || t->kind != Tok::Ident) return false;
  for (std::string_view w : kWords)
    if (iequals(t->text, w)) return true;
  return false;
}

bool isBegin(const Token* t) {
  return isWord(t, "BEGIN") || isPunct(t, "{");
}

bool isEnd(const Token* t) {
  return isWord(t, "END") || isPunct(t, "}");
}

ControlKind kindOfClass(const std::string& className, uint32_t style) {
  if (iequals(className, "Button")) {
    switch (style & 0xF) {
      case 0x2:
      case 0x3:
      case 0x5:
      case 0x6:
        return ControlKind::CheckBox;
      case 0x4:
      case 0x9:
        return ControlKind::RadioButton;
      case 0x7:
        return ControlKind::GroupBox;
      default:
        return ControlKind::Button;
    }
  }
  struct Class {
    std::string_view name;
    ControlKind kind;
  };
  static constexpr Class kClasses[] = {
      {"Edit", ControlKind::Edit},
      {"Static", ControlKind::Static},
      {"ListBox", ControlKind::ListBox},
      {"ComboBox", ControlKind::ComboBox},
      {"SysTreeView32", ControlKind::Tree},
      {"TREEVIEW", ControlKind::Tree},
      {"WBROWSE", ControlKind::Grid},
      {"SysTabControl32", ControlKind::TabStrip},
      {"SysMonthCal32", ControlKind::Calendar},
      {"msctls_progress32", ControlKind::Progress},
  };
  for (const Class& c : kClasses)
    if (iequals(className, c.name)) return c.kind;
  return ControlKind::Other;
}

// Class names a script may write without quotes: the windows.h macros and the predefined atoms.
std::string classOfName(const std::string& name) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"WC_BUTTON", "Button"},
      {"WC_EDIT", "Edit"},
      {"WC_STATIC", "Static"},
      {"WC_LISTBOX", "ListBox"},
      {"WC_COMBOBOX", "ComboBox"},
      {"WC_SCROLLBAR", "ScrollBar"},
      {"WC_TREEVIEW", "SysTreeView32"},
      {"WC_TABCONTROL", "SysTabControl32"},
      {"WC_LISTVIEW", "SysListView32"},
      {"MONTHCAL_CLASS", "SysMonthCal32"},
      {"PROGRESS_CLASS", "msctls_progress32"},
  };
  for (const auto& [macro, className] : kNames)
    if (iequals(name, macro)) return std::string(className);
  return name;
}

struct ParsedString {
  std::string text;
  int line;
};

struct Parsed {
  std::map<std::string, DialogTemplate> dialogs;
  std::map<int, ParsedString> strings;
};

class Parser {
 public:
  Parser(std::vector<Token> tokens, const std::string& file, Parsed& out)
      : t_(std::move(tokens)), file_(file), out_(out) {}

  void run() {
    while (cur()) statement();
  }

 private:
  const Token* cur() const { return p_ < t_.size() ? &t_[p_] : nullptr; }
  bool accept(std::string_view p) {
    if (!isPunct(cur(), p)) return false;
    ++p_;
    return true;
  }
  // Where something missing is reported: the end of what was written.
  int lastLine() const {
    if (p_ > 0) return t_[p_ - 1].line;
    return t_.empty() ? 1 : t_.front().line;
  }
  int currentLine() const { return cur() ? cur()->line : lastLine(); }
  [[noreturn]] void failMissing(const std::string& what) const { fail(file_, lastLine(), "falta " + what); }
  [[noreturn]] void failHere(const std::string& what) const { fail(file_, currentLine(), what); }

  static std::string describe(const Token* t) {
    if (!t) return "el final del archivo";
    if (t->kind == Tok::String) return "una cadena";
    return "'" + t->text + "'";
  }

  void skipLine(int line) {
    while (cur() && cur()->line == line) ++p_;
  }

  // From a BEGIN to just past its END.
  void skipBlock() {
    int line = cur()->line, depth = 0;
    while (cur()) {
      if (isBegin(cur())) {
        if (++depth > kMaxBlockDepth) failHere("bloques BEGIN anidados en exceso");
      } else if (isEnd(cur())) {
        if (--depth == 0) {
          ++p_;
          return;
        }
      }
      ++p_;
    }
    fail(file_, line, "falta el END del bloque");
  }

  int64_t number(const std::string& what) {
    if (!startsValue(cur())) failMissing(what);
    return Expression(t_, p_, file_, false).value();
  }

  int64_t nextNumber(const std::string& what) {
    if (!accept(",")) failMissing(what);
    return number(what);
  }

  uint32_t style(const std::string& what, uint32_t base) {
    if (!startsValue(cur()) && !isWord(cur(), "NOT")) failMissing(what);
    return Expression(t_, p_, file_, false).style(base);
  }

  int checked(int64_t v, int64_t lo, int64_t hi, int line, const std::string& what) const {
    if (v < lo || v > hi) fail(file_, line, what + " está fuera de rango (" + std::to_string(v) + ")");
    return int(v);
  }

  // A position or size in dialog units, after its comma unless `first`.
  int coordinate(const std::string& what, bool size, bool first = false) {
    int line = cur() ? cur()->line : lastLine();
    int64_t v = first ? number(what) : nextNumber(what);
    return checked(v, size ? 0 : -kMaxCoordinate, kMaxCoordinate, line, what);
  }

  // Adjacent strings make one.
  std::string strings() {
    std::string s;
    while (cur() && cur()->kind == Tok::String) s += t_[p_++].text;
    return s;
  }

  // A text: a string, or for icons and pictures a resource number or name.
  std::string text(const std::string& what) {
    const Token* t = cur();
    if (t && t->kind == Tok::String) return strings();
    if (t && (t->kind == Tok::Number || (t->kind == Tok::Ident && !isReserved(t)))) return t_[p_++].text;
    failMissing(what);
  }

  // A resource or menu name: identifier, number or string.
  std::string name(const std::string& what) {
    const Token* t = cur();
    if (t && t->kind == Tok::String) return strings();
    if (t && t->kind == Tok::Number) {
      uint64_t v = 0;
      if (!parseNumber(t->text, v)) failHere("número no válido: " + t->text);
      ++p_;
      return std::to_string(v);
    }
    if (t && t->kind == Tok::Ident && !isReserved(t)) return t_[p_++].text;
    failMissing(what);
  }

  void statement() {
    const Token* first = cur();
    if (isWord(first, "LANGUAGE") || isWord(first, "VERSION") || isWord(first, "CHARACTERISTICS")) {
      skipLine(first->line);
      return;
    }
    if (isWord(first, "STRINGTABLE")) {
      stringTable();
      return;
    }
    if (isBegin(first) || isEnd(first) || first->kind == Tok::Punct || isReserved(first))
      failHere("se esperaba un recurso y se encontró " + describe(first));
    const int line = first->line;
    std::string resource = name("el nombre del recurso");
    const Token* type = cur();
    if (!type || type->line != line || type->kind == Tok::Punct)
      fail(file_, line, "falta el tipo del recurso " + resource);
    if (isWord(type, "DIALOG") || isWord(type, "DIALOGEX")) {
      dialog(upper(resource), line);
    } else {
      skipResource(resource);
    }
  }

  // Any resource but a dialog or a string table: a file name on its line, or a block.
  void skipResource(const std::string& resource) {
    const int line = cur()->line;
    ++p_;
    while (cur() && cur()->line == line) {
      if (isBegin(cur())) {
        skipBlock();
        return;
      }
      bool argument = cur()->kind == Tok::Number || isPunct(cur(), ",") || isMemoryOption(cur());
      if (!argument) {  // a file name, quoted or not
        skipLine(line);
        return;
      }
      ++p_;
    }
    while (cur() && !isBegin(cur())) {
      if (!isResourceOption(cur())) fail(file_, line, "falta BEGIN o el nombre de archivo del recurso " + resource);
      skipLine(cur()->line);
    }
    if (!cur()) fail(file_, line, "falta BEGIN en el recurso " + resource);
    skipBlock();
  }

  void dialog(const std::string& dialogName, int line) {
    if (dialogName.empty()) fail(file_, line, "el diálogo no tiene nombre");
    DialogTemplate d;
    d.name = dialogName;
    d.source = file_;
    d.line = line;
    const bool extended = isWord(cur(), "DIALOGEX");
    ++p_;
    while (isMemoryOption(cur())) ++p_;
    d.x = coordinate("la posición x del diálogo", false, true);
    d.y = coordinate("la posición y del diálogo", false);
    d.cx = coordinate("el ancho del diálogo", true);
    d.cy = coordinate("el alto del diálogo", true);
    if (accept(",")) number("el identificador de ayuda del diálogo");

    bool styleGiven = false, captionGiven = false, fontGiven = false;
    while (!isBegin(cur())) {
      const Token* t = cur();
      if (!t) fail(file_, lastLine(), "falta BEGIN en el diálogo " + dialogName);
      ++p_;
      if (isWord(t, "STYLE")) {
        d.style = style("el estilo del diálogo", 0);  // replaces the default
        styleGiven = true;
      } else if (isWord(t, "EXSTYLE")) {
        d.exStyle = style("el estilo extendido del diálogo", 0);
      } else if (isWord(t, "CAPTION")) {
        if (!cur() || cur()->kind != Tok::String) failMissing("el texto de CAPTION");
        d.caption = strings();
        captionGiven = true;
      } else if (isWord(t, "FONT")) {
        font(d.font);
        fontGiven = true;
      } else if (isWord(t, "MENU")) {
        d.menu = name("el nombre del menú");
      } else if (isWord(t, "CLASS")) {
        name("el nombre de la clase");
      } else if (isWord(t, "CHARACTERISTICS") || isWord(t, "VERSION")) {
        number("el valor de " + upper(t->text));
      } else if (isWord(t, "LANGUAGE")) {
        skipLine(t->line);
      } else {
        fail(file_, t->line, "instrucción desconocida en el diálogo " + dialogName + ": " + describe(t));
      }
    }
    if (!styleGiven) d.style = WS_POPUP | styles::WS_BORDER | WS_SYSMENU;
    if (captionGiven) d.style |= WS_CAPTION;
    if (fontGiven) d.style |= DS_SETFONT;

    const int beginLine = cur()->line;
    ++p_;
    while (!isEnd(cur())) {
      if (!cur()) fail(file_, beginLine, "falta END en el diálogo " + dialogName);
      if (d.controls.size() >= kMaxControls) failHere("el diálogo " + dialogName + " tiene demasiados controles");
      d.controls.push_back(control(dialogName, extended));
    }
    ++p_;

    if (auto it = out_.dialogs.find(dialogName); it != out_.dialogs.end())
      fail(file_, line,
           "el diálogo " + dialogName + " ya está definido en " + it->second.source + ":" +
               std::to_string(it->second.line));
    out_.dialogs.emplace(dialogName, std::move(d));
  }

  void font(FontTemplate& f) {
    int line = currentLine();
    f.pointSize = checked(number("el tamaño de la letra"), 1, 1000, line, "el tamaño de la letra");
    if (!accept(",") || !cur() || cur()->kind != Tok::String) failMissing("el nombre de la letra");
    f.face = strings();
    f.weight = 400;
    f.italic = false;
    if (accept(",")) {
      line = currentLine();
      f.weight = checked(number("el grosor de la letra"), 0, 1000, line, "el grosor de la letra");
      if (accept(",")) {
        f.italic = number("la cursiva de la letra") != 0;
        if (accept(",")) number("el juego de caracteres de la letra");
      }
    }
  }

  ControlTemplate control(const std::string& dialogName, bool extended) {
    const Token* keyword = cur();
    const ControlForm* form = findControlForm(keyword);
    if (!form) failHere("instrucción desconocida en el diálogo " + dialogName + ": " + describe(keyword));
    ControlTemplate c;
    c.statement = std::string(form->keyword);
    c.kind = form->kind;
    c.line = keyword->line;
    ++p_;
    const uint32_t base = form->style | WS_CHILD | styles::WS_VISIBLE;
    c.style = base;

    if (form->shape != Shape::Id) {
      c.text = text("el texto del control");
      if (!accept(",")) failMissing("el identificador del control");
    }
    int idLine = currentLine();
    c.id = checked(number("el identificador del control"), -32768, 65535, idLine, "el identificador del control");
    bool styleDone = false;
    if (form->shape == Shape::Control) {
      if (!accept(",")) failMissing("la clase del control");
      c.className = controlClass();
      if (!accept(",")) failMissing("el estilo del control");
      c.style = style("el estilo del control", base);
      styleDone = true;
    }
    c.x = coordinate("la posición x del control", false);
    c.y = coordinate("la posición y del control", false);
    bool sized = true;
    if (form->shape == Shape::Icon) sized = isPunct(cur(), ",");  // an icon takes its own size
    if (sized) {
      c.cx = coordinate("el ancho del control", true);
      c.cy = coordinate("el alto del control", true);
    }
    if (!styleDone && accept(",")) c.style = style("el estilo del control", base);
    if (accept(",")) c.exStyle = style("el estilo extendido del control", 0);
    if (extended && accept(",")) number("el identificador de ayuda del control");
    if (isPunct(cur(), ",")) failHere("sobran argumentos en el control");
    if (isBegin(cur())) skipBlock();  // DIALOGEX control data, which the layer does not use

    if (form->shape == Shape::Control) c.kind = kindOfClass(c.className, c.style);
    return c;
  }

  std::string controlClass() {
    const Token* t = cur();
    if (t && t->kind == Tok::String) return strings();
    if (t && t->kind == Tok::Ident) return classOfName(t_[p_++].text);
    if (t && t->kind == Tok::Number) {
      // The predefined class atoms.
      static constexpr std::string_view kAtoms[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
      uint64_t v = 0;
      if (parseNumber(t->text, v) && v >= 0x80 && v <= 0x85) {
        ++p_;
        return std::string(kAtoms[v - 0x80]);
      }
      failHere("clase de control no válida: " + t->text);
    }
    failMissing("la clase del control");
  }

  void stringTable() {
    const int line = cur()->line;
    ++p_;
    while (cur() && !isBegin(cur())) {
      if (isMemoryOption(cur())) {
        ++p_;
      } else if (isWord(cur(), "LANGUAGE")) {
        skipLine(cur()->line);
      } else if (isWord(cur(), "CHARACTERISTICS") || isWord(cur(), "VERSION")) {
        ++p_;
        number("el valor de la opción");
      } else {
        failHere("se esperaba BEGIN tras STRINGTABLE y se encontró " + describe(cur()));
      }
    }
    if (!cur()) fail(file_, line, "falta BEGIN en STRINGTABLE");
    ++p_;
    while (!isEnd(cur())) {
      if (!cur()) fail(file_, line, "falta END en STRINGTABLE");
      const int entryLine = cur()->line;
      if (!startsValue(cur())) failHere("falta el identificador de la cadena y se encontró " + describe(cur()));
      int id = checked(number("el identificador de la cadena"), 0, 65535, entryLine, "el identificador de la cadena");
      accept(",");
      if (!cur() || cur()->kind != Tok::String) failMissing("el texto de la cadena " + std::to_string(id));
      std::string value = strings();
      if (auto it = out_.strings.find(id); it != out_.strings.end())
        fail(file_, entryLine,
             "la cadena " + std::to_string(id) + " ya está definida en " + file_ + ":" +
                 std::to_string(it->second.line));
      out_.strings.emplace(id, ParsedString{std::move(value), entryLine});
    }
    ++p_;
  }

  std::vector<Token> t_;
  size_t p_ = 0;
  const std::string& file_;
  Parsed& out_;
};

}  // namespace

const ControlTemplate* DialogTemplate::control(int id) const {
  for (const ControlTemplate& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

void ResourceSet::parse(const std::string& text, const std::string& fileName) {
  Parsed parsed;
  Parser(Lexer(text, fileName).run(), fileName, parsed).run();
  // All checked before anything is added: a failed script leaves the set as it was.
  for (const auto& [name, d] : parsed.dialogs) {
    auto it = dialogs_.find(name);
    if (it != dialogs_.end())
      fail(fileName, d.line,
           "el diálogo " + name + " ya está definido en " + it->second.source + ":" + std::to_string(it->second.line));
  }
  for (const auto& [id, s] : parsed.strings)
    if (strings_.count(id))
      fail(fileName, s.line, "la cadena " + std::to_string(id) + " ya está definida en otro script");
  for (auto& [name, d] : parsed.dialogs) dialogs_.emplace(name, std::move(d));
  for (auto& [id, s] : parsed.strings) strings_.emplace(id, std::move(s.text));
}

const ResourceSet& ResourceSet::builtIn() {
  static const ResourceSet set = [] {
    ResourceSet s;
    const char* data = embeddedDialogText();
    std::string_view all = data ? data : "";
    // Each embedded file starts with a "#@file NAME" line; its lines count from the next one.
    std::string file(kBuiltInName), body;
    bool pending = false;
    size_t pos = 0;
    while (pos < all.size()) {
      size_t end = all.find('\n', pos);
      size_t next = end == std::string_view::npos ? all.size() : end + 1;
      std::string_view line = all.substr(pos, next - pos);
      if (line.substr(0, kFileMarker.size()) == kFileMarker &&
          (line.size() == kFileMarker.size() || isBlank(line[kFileMarker.size()]) ||
           line[kFileMarker.size()] == '\n')) {
        if (pending) s.parse(body, file);
        std::string_view rest = line.substr(kFileMarker.size());
        while (!rest.empty() && (isBlank(rest.front()) || rest.front() == '\n')) rest.remove_prefix(1);
        while (!rest.empty() && (isBlank(rest.back()) || rest.back() == '\n')) rest.remove_suffix(1);
        file = rest.empty() ? std::string(kBuiltInName) : std::string(rest);
        body.clear();
        pending = true;
      } else {
        body += line;
        pending = true;
      }
      pos = next;
    }
    if (pending) s.parse(body, file);
    return s;
  }();
  return set;
}

const DialogTemplate* ResourceSet::dialog(const std::string& name) const {
  auto it = dialogs_.find(upper(name));
  return it == dialogs_.end() ? nullptr : &it->second;
}

std::vector<std::string> ResourceSet::dialogNames() const {
  std::vector<std::string> names;
  names.reserve(dialogs_.size());
  for (const auto& entry : dialogs_) names.push_back(entry.first);
  return names;
}

std::optional<std::string> ResourceSet::string(int id) const {
  auto it = strings_.find(id);
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

}  // namespace win
