// Dialog templates as Windows resource scripts describe them: a dialog with its caption,
// size in dialog units, styles and font, and its controls with their ids, classes, texts,
// positions and styles; plus the string table. The window layer builds real windows from
// these; screens address the controls by id.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace win {

// The command ids of the accept, cancel and abort buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;

// What kind of window a control is, from its statement or its class name.
enum class ControlKind {
  Edit,         // EDITTEXT, CONTROL "Edit"
  Static,       // LTEXT, RTEXT, CTEXT, CONTROL "Static" (text; SS_ICON/SS_BITMAP pictures too)
  Button,       // PUSHBUTTON, DEFPUSHBUTTON, CONTROL "Button" with a push style
  CheckBox,     // CHECKBOX, AUTOCHECKBOX, BS_(AUTO)CHECKBOX, BS_(AUTO)3STATE
  RadioButton,  // RADIOBUTTON, AUTORADIOBUTTON, BS_(AUTO)RADIOBUTTON
  GroupBox,     // GROUPBOX, BS_GROUPBOX
  ComboBox,     // COMBOBOX
  ListBox,      // LISTBOX
  Tree,         // CONTROL "SysTreeView32" or "TREEVIEW"
  Grid,         // CONTROL "WBROWSE" (the browse grid)
  TabStrip,     // CONTROL "SysTabControl32"
  Calendar,     // CONTROL "SysMonthCal32"
  Progress,     // CONTROL "msctls_progress32"
  Other,        // any other class: an empty frame, so that layouts stay right
};

struct ControlTemplate {
  ControlKind kind = ControlKind::Other;
  std::string statement;  // LTEXT, CONTROL, ... as written
  std::string className;  // for CONTROL statements
  std::string text;       // UTF-8
  int id = -1;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int line = 0;  // where it was written, for messages
  bool defaultButton() const { return statement == "DEFPUSHBUTTON" || (style & 0x1u && kind == ControlKind::Button); }
};

struct FontTemplate {
  int pointSize = 8;
  std::string face = "MS Shell Dlg";
  int weight = 400;
  bool italic = false;
};

struct DialogTemplate {
  std::string name;  // upper case
  std::string caption;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  uint32_t style = 0;
  uint32_t exStyle = 0;
  FontTemplate font;
  std::string menu;
  std::vector<ControlTemplate> controls;
  std::string source;  // file it came from
  int line = 0;

  const ControlTemplate* control(int id) const;
};

// Every dialog and string of a set of resource scripts.
class ResourceSet {
 public:
  // Parses one script; a malformed one throws std::runtime_error("FILE:LINE: what").
  void parse(const std::string& text, const std::string& fileName);
  // The scripts compiled into the program (resources/dialogs/*.rc at build time).
  static const ResourceSet& builtIn();

  const DialogTemplate* dialog(const std::string& name) const;  // without regard to case
  std::vector<std::string> dialogNames() const;
  std::optional<std::string> string(int id) const;

 private:
  std::map<std::string, DialogTemplate> dialogs_;
  std::map<int, std::string> strings_;
};

// Style bits the layer reads (the Win32 values).
namespace styles {
inline constexpr uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr uint32_t WS_DISABLED = 0x08000000u;
inline constexpr uint32_t WS_TABSTOP = 0x00010000u;
inline constexpr uint32_t WS_GROUP = 0x00020000u;
inline constexpr uint32_t WS_VSCROLL = 0x00200000u;
inline constexpr uint32_t WS_HSCROLL = 0x00100000u;
inline constexpr uint32_t WS_BORDER = 0x00800000u;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr uint32_t ES_CENTER = 0x1u, ES_RIGHT = 0x2u, ES_MULTILINE = 0x4u, ES_UPPERCASE = 0x8u,
                          ES_PASSWORD = 0x20u, ES_READONLY = 0x800u, ES_NUMBER = 0x2000u;
inline constexpr uint32_t SS_CENTER = 0x1u, SS_RIGHT = 0x2u;
inline constexpr uint32_t CBS_DROPDOWN = 0x2u, CBS_DROPDOWNLIST = 0x3u, CBS_SORT = 0x100u;
inline constexpr uint32_t LBS_SORT = 0x2u, LBS_MULTIPLESEL = 0x8u, LBS_EXTENDEDSEL = 0x800u;
}  // namespace styles

}  // namespace win
