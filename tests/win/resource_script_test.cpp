// Resource scripts: every dialog statement, style expressions, the preprocessor, strings and
// string tables, the resources that are skipped, errors with file and line, duplicates, and
// the scripts built into the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "win/dialog_template.h"

// The built-in scripts of this test program: two files, as the build embeds them.
namespace win {
const char* embeddedDialogText();
const char* embeddedDialogText() {
  return "#@file A.rc\n"
         "ONE DIALOGEX 0, 0, 100, 50\n"
         "BEGIN\n"
         "  LTEXT \"uno\", 10, 1, 2, 3, 4\n"
         "END\n"
         "\n"
         "#@file B.rc\n"
         "\n"
         "two DIALOG 0, 0, 10, 10\n"
         "BEGIN\n"
         "END\n"
         "STRINGTABLE BEGIN 7 \"siete\" END\n"
         "\n";
}
}  // namespace win

namespace {

using win::ControlKind;
using win::ControlTemplate;
using win::DialogTemplate;
using win::ResourceSet;
namespace st = win::styles;

constexpr uint32_t kChildVisible = 0x40000000u | st::WS_VISIBLE;
constexpr uint32_t WS_POPUP = 0x80000000u, WS_CAPTION = 0x00C00000u, WS_SYSMENU = 0x00080000u;
constexpr uint32_t DS_SETFONT = 0x40u, DS_MODALFRAME = 0x80u;

ResourceSet parsed(const std::string& text, const std::string& file = "T.rc") {
  ResourceSet set;
  set.parse(text, file);
  return set;
}

// The message a script fails with, or "" when it parses.
std::string errorOf(const std::string& text, const std::string& file = "T.rc") {
  try {
    parsed(text, file);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

// A dialog D holding `body` as its controls.
std::string dialogWith(const std::string& body, const std::string& header = "D DIALOGEX 0, 0, 200, 100\n") {
  return header + "BEGIN\n" + body + "\nEND\n";
}

std::vector<ControlTemplate> controlsOf(const std::string& body) {
  ResourceSet set = parsed(dialogWith(body));
  const DialogTemplate* d = set.dialog("D");
  if (!d) throw std::logic_error("no dialog D");
  return d->controls;
}

ControlTemplate controlOf(const std::string& statement) {
  std::vector<ControlTemplate> controls = controlsOf(statement);
  if (controls.size() != 1) throw std::logic_error("expected one control");
  return controls.front();
}

uint32_t styleOf(const std::string& statement) {
  return controlOf(statement).style;
}

// --- Dialog headers and optional statements -------------------------------------------------

TEST(ResourceDialog, HeaderAndEveryOptionalStatement) {
  ResourceSet set = parsed(
      "rooms DIALOGEX 10, 20, 300, 150, 77\n"
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
      "EXSTYLE WS_EX_TOOLWINDOW\n"
      "CAPTION \"Habitaciones\"\n"
      "FONT 9, \"Tahoma\", 700, 1, 0x1\n"
      "MENU IDR_MENU\n"
      "CLASS \"MiClase\"\n"
      "CHARACTERISTICS 3\n"
      "VERSION 2\n"
      "LANGUAGE LANG_SPANISH, SUBLANG_SPANISH\n"
      "BEGIN\n"
      "END\n",
      "ROOMS.rc");
  const DialogTemplate* d = set.dialog("ROOMS");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->name, "ROOMS");
  EXPECT_EQ(d->caption, "Habitaciones");
  EXPECT_EQ(d->x, 10);
  EXPECT_EQ(d->y, 20);
  EXPECT_EQ(d->cx, 300);
  EXPECT_EQ(d->cy, 150);
  EXPECT_EQ(d->style, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT);
  EXPECT_EQ(d->exStyle, 0x80u);
  EXPECT_EQ(d->font.pointSize, 9);
  EXPECT_EQ(d->font.face, "Tahoma");
  EXPECT_EQ(d->font.weight, 700);
  EXPECT_TRUE(d->font.italic);
  EXPECT_EQ(d->menu, "IDR_MENU");
  EXPECT_EQ(d->source, "ROOMS.rc");
  EXPECT_EQ(d->line, 1);
  EXPECT_TRUE(d->controls.empty());
}

TEST(ResourceDialog, DefaultsWithoutStyleAndFont) {
  ResourceSet set = parsed("X DIALOG 0, 0, 10, 10\nBEGIN\nEND\n");
  const DialogTemplate* d = set.dialog("X");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->style, WS_POPUP | st::WS_BORDER | WS_SYSMENU);
  EXPECT_EQ(d->font.pointSize, 8);
  EXPECT_EQ(d->font.face, "MS Shell Dlg");
  EXPECT_EQ(d->font.weight, 400);
  EXPECT_FALSE(d->font.italic);
  EXPECT_EQ(d->caption, "");
}

TEST(ResourceDialog, CaptionAddsTitleBarAndFontAddsSetFont) {
  ResourceSet set = parsed("X DIALOG 0, 0, 10, 10\nCAPTION \"T\"\nFONT 8, \"MS Sans Serif\"\nBEGIN\nEND\n");
  const DialogTemplate* d = set.dialog("X");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->style, WS_POPUP | st::WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT);
  EXPECT_EQ(d->font.face, "MS Sans Serif");
  EXPECT_EQ(d->font.weight, 400);
}

TEST(ResourceDialog, BracesLowerCaseKeywordsAndMemoryOptions) {
  ResourceSet set = parsed(
      "Clientes dialogex discardable 0, 0, 50, 40\n"
      "caption \"c\"\n"
      "{\n"
      "  ltext \"a\", 1, 0, 0, 10, 8\n"
      "}\n");
  EXPECT_EQ(set.dialogNames(), std::vector<std::string>{"CLIENTES"});
  const DialogTemplate* d = set.dialog("clientes");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->controls.size(), 1u);
  EXPECT_EQ(d->controls[0].statement, "LTEXT");
  EXPECT_EQ(set.dialog("Clientes"), d);
  EXPECT_EQ(set.dialog("OTRO"), nullptr);
}

TEST(ResourceDialog, NamesFromStringsAndNumbers) {
  ResourceSet set = parsed(
      "\"quoted\" DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"
      "0x64 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n");
  EXPECT_EQ(set.dialogNames(), (std::vector<std::string>{"100", "QUOTED"}));
}

TEST(ResourceDialog, NamesAreSortedAndControlLookupFindsTheFirst) {
  ResourceSet set = parsed(
      "ZETA DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"
      "ALFA DIALOG 0, 0, 1, 1\nBEGIN\n"
      "  LTEXT \"a\", -1, 0, 0, 1, 1\n"
      "  LTEXT \"b\", -1, 0, 2, 1, 1\n"
      "  EDITTEXT 5, 0, 4, 1, 1\n"
      "END\n");
  EXPECT_EQ(set.dialogNames(), (std::vector<std::string>{"ALFA", "ZETA"}));
  const DialogTemplate* d = set.dialog("alfa");
  ASSERT_NE(d, nullptr);
  ASSERT_NE(d->control(-1), nullptr);
  EXPECT_EQ(d->control(-1)->text, "a");
  ASSERT_NE(d->control(5), nullptr);
  EXPECT_EQ(d->control(5)->kind, ControlKind::Edit);
  EXPECT_EQ(d->control(6), nullptr);
}

// --- Control statements -----------------------------------------------------------------------

struct ShortForm {
  const char* statement;
  ControlKind kind;
  uint32_t style;  // without WS_CHILD | WS_VISIBLE
};

TEST(ResourceControls, EveryShortFormHasItsKindAndDefaultStyle) {
  const ShortForm forms[] = {
      {"LTEXT \"t\", 1, 2, 3, 4, 5", ControlKind::Static, 0x0 | st::WS_GROUP},
      {"RTEXT \"t\", 1, 2, 3, 4, 5", ControlKind::Static, st::SS_RIGHT | st::WS_GROUP},
      {"CTEXT \"t\", 1, 2, 3, 4, 5", ControlKind::Static, st::SS_CENTER | st::WS_GROUP},
      {"PUSHBUTTON \"t\", 1, 2, 3, 4, 5", ControlKind::Button, 0x0 | st::WS_TABSTOP},
      {"DEFPUSHBUTTON \"t\", 1, 2, 3, 4, 5", ControlKind::Button, 0x1 | st::WS_TABSTOP},
      {"PUSHBOX \"t\", 1, 2, 3, 4, 5", ControlKind::Button, 0xA | st::WS_TABSTOP},
      {"CHECKBOX \"t\", 1, 2, 3, 4, 5", ControlKind::CheckBox, 0x2 | st::WS_TABSTOP},
      {"AUTOCHECKBOX \"t\", 1, 2, 3, 4, 5", ControlKind::CheckBox, 0x3 | st::WS_TABSTOP},
      {"STATE3 \"t\", 1, 2, 3, 4, 5", ControlKind::CheckBox, 0x5 | st::WS_TABSTOP},
      {"AUTO3STATE \"t\", 1, 2, 3, 4, 5", ControlKind::CheckBox, 0x6 | st::WS_TABSTOP},
      {"RADIOBUTTON \"t\", 1, 2, 3, 4, 5", ControlKind::RadioButton, 0x4},
      {"AUTORADIOBUTTON \"t\", 1, 2, 3, 4, 5", ControlKind::RadioButton, 0x9},
      {"GROUPBOX \"t\", 1, 2, 3, 4, 5", ControlKind::GroupBox, 0x7},
      {"EDITTEXT 1, 2, 3, 4, 5", ControlKind::Edit, st::WS_BORDER | st::WS_TABSTOP},
      {"COMBOBOX 1, 2, 3, 4, 5", ControlKind::ComboBox, 0x1 | st::WS_TABSTOP},
      {"LISTBOX 1, 2, 3, 4, 5", ControlKind::ListBox, 0x1 | st::WS_BORDER},
      {"SCROLLBAR 1, 2, 3, 4, 5", ControlKind::Other, 0x0},
      {"ICON \"t\", 1, 2, 3, 4, 5", ControlKind::Static, 0x3},
  };
  for (const ShortForm& f : forms) {
    SCOPED_TRACE(f.statement);
    ControlTemplate c = controlOf(f.statement);
    EXPECT_EQ(c.kind, f.kind);
    EXPECT_EQ(c.style, f.style | kChildVisible);
    EXPECT_EQ(c.exStyle, 0u);
    EXPECT_EQ(c.id, 1);
    EXPECT_EQ(c.x, 2);
    EXPECT_EQ(c.y, 3);
    EXPECT_EQ(c.cx, 4);
    EXPECT_EQ(c.cy, 5);
    EXPECT_EQ(c.statement, std::string(f.statement).substr(0, std::string(f.statement).find(' ')));
    EXPECT_EQ(c.className, "");
    EXPECT_EQ(c.line, 3);
  }
}

TEST(ResourceControls, TextStatementWithStyleAndExtendedStyle) {
  ControlTemplate c = controlOf("  LTEXT \"Nombre:\", 101, 7, 9, 40, 8, SS_NOPREFIX | SS_SUNKEN, WS_EX_STATICEDGE");
  EXPECT_EQ(c.text, "Nombre:");
  EXPECT_EQ(c.id, 101);
  EXPECT_EQ(c.style, kChildVisible | st::WS_GROUP | 0x80u | 0x1000u);
  EXPECT_EQ(c.exStyle, 0x20000u);
}

TEST(ResourceControls, EditComboAndListWithStyles) {
  std::vector<ControlTemplate> c = controlsOf(
      "EDITTEXT 10, 1, 2, 30, 12, ES_AUTOHSCROLL | ES_UPPERCASE, WS_EX_CLIENTEDGE\n"
      "COMBOBOX 11, 1, 20, 60, 80, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL\n"
      "LISTBOX 12, 1, 40, 60, 50, LBS_SORT | LBS_EXTENDEDSEL\n"
      "SCROLLBAR 13, 1, 95, 60, 5, SBS_VERT\n");
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].style, kChildVisible | st::WS_BORDER | st::WS_TABSTOP | 0x80u | st::ES_UPPERCASE);
  EXPECT_EQ(c[0].exStyle, 0x200u);
  EXPECT_EQ(c[1].style, kChildVisible | st::WS_TABSTOP | st::CBS_DROPDOWNLIST | st::CBS_SORT | st::WS_VSCROLL);
  EXPECT_EQ(c[2].style, kChildVisible | st::WS_BORDER | 0x1u | st::LBS_SORT | st::LBS_EXTENDEDSEL);
  EXPECT_EQ(c[3].style, kChildVisible | 0x1u);
  EXPECT_EQ(c[3].kind, ControlKind::Other);
}

TEST(ResourceControls, IconWithAndWithoutSize) {
  std::vector<ControlTemplate> c = controlsOf(
      "ICON IDR_MAINFRAME, IDC_STATIC, 11, 17\n"
      "ICON 101, 5, 40, 17, 21, 20, SS_CENTERIMAGE\n");
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].text, "IDR_MAINFRAME");
  EXPECT_EQ(c[0].id, -1);
  EXPECT_EQ(c[0].kind, ControlKind::Static);
  EXPECT_EQ(c[0].cx, 0);
  EXPECT_EQ(c[0].cy, 0);
  EXPECT_EQ(c[1].text, "101");
  EXPECT_EQ(c[1].cx, 21);
  EXPECT_EQ(c[1].cy, 20);
  EXPECT_EQ(c[1].style, kChildVisible | 0x3u | 0x200u);
}

TEST(ResourceControls, GenericControlWithQuotedAndUnquotedClasses) {
  std::vector<ControlTemplate> c = controlsOf(
      "CONTROL \"Activo\", 20, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 6, 70, 10\n"
      "CONTROL \"\", 21, EDIT, ES_LEFT | WS_BORDER, 5, 20, 70, 12, WS_EX_CLIENTEDGE\n"
      "CONTROL \"x\", 22, WC_TREEVIEW, TVS_HASLINES, 5, 40, 70, 12\n"
      "CONTROL \"y\", 23, 0x82, SS_RIGHT, 5, 60, 70, 12\n");
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].statement, "CONTROL");
  EXPECT_EQ(c[0].className, "Button");
  EXPECT_EQ(c[0].kind, ControlKind::CheckBox);
  EXPECT_EQ(c[0].style, kChildVisible | 0x3u | st::WS_TABSTOP);
  EXPECT_EQ(c[0].x, 5);
  EXPECT_EQ(c[0].cx, 70);
  EXPECT_EQ(c[1].className, "EDIT");
  EXPECT_EQ(c[1].kind, ControlKind::Edit);
  EXPECT_EQ(c[1].exStyle, 0x200u);
  EXPECT_EQ(c[2].className, "SysTreeView32");
  EXPECT_EQ(c[2].kind, ControlKind::Tree);
  EXPECT_EQ(c[3].className, "Static");
  EXPECT_EQ(c[3].kind, ControlKind::Static);
}

TEST(ResourceControls, KindsFromClassNames) {
  struct Case {
    const char* className;
    ControlKind kind;
  };
  const Case cases[] = {
      {"SysTreeView32", ControlKind::Tree},
      {"TREEVIEW", ControlKind::Tree},
      {"WBROWSE", ControlKind::Grid},
      {"SysTabControl32", ControlKind::TabStrip},
      {"SysMonthCal32", ControlKind::Calendar},
      {"msctls_progress32", ControlKind::Progress},
      {"Edit", ControlKind::Edit},
      {"Static", ControlKind::Static},
      {"ListBox", ControlKind::ListBox},
      {"ComboBox", ControlKind::ComboBox},
      {"LISTBOX", ControlKind::ListBox},
      {"sysmonthcal32", ControlKind::Calendar},
      {"SysListView32", ControlKind::Other},
      {"ScrollBar", ControlKind::Other},
      {"RichEdit20A", ControlKind::Other},
      {"", ControlKind::Other},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.className);
    ControlTemplate c = controlOf(std::string("CONTROL \"\", 1, \"") + k.className + "\", 0, 0, 0, 10, 10");
    EXPECT_EQ(c.kind, k.kind);
    EXPECT_EQ(c.className, k.className);
  }
  std::vector<ControlTemplate> unquoted = controlsOf(
      "CONTROL \"\", 1, BUTTON, 0, 0, 0, 1, 1\n"
      "CONTROL \"\", 2, STATIC, 0, 0, 0, 1, 1\n"
      "CONTROL \"\", 3, LISTBOX, 0, 0, 0, 1, 1\n"
      "CONTROL \"\", 4, COMBOBOX, 0, 0, 0, 1, 1\n"
      "CONTROL \"\", 5, SCROLLBAR, 0, 0, 0, 1, 1\n");
  ASSERT_EQ(unquoted.size(), 5u);
  EXPECT_EQ(unquoted[0].kind, ControlKind::Button);
  EXPECT_EQ(unquoted[1].kind, ControlKind::Static);
  EXPECT_EQ(unquoted[2].kind, ControlKind::ListBox);
  EXPECT_EQ(unquoted[3].kind, ControlKind::ComboBox);
  EXPECT_EQ(unquoted[4].kind, ControlKind::Other);
}

TEST(ResourceControls, ButtonKindsFromStyle) {
  struct Case {
    const char* style;
    ControlKind kind;
  };
  const Case cases[] = {
      {"BS_PUSHBUTTON", ControlKind::Button},
      {"BS_DEFPUSHBUTTON", ControlKind::Button},
      {"BS_CHECKBOX", ControlKind::CheckBox},
      {"BS_AUTOCHECKBOX", ControlKind::CheckBox},
      {"BS_3STATE", ControlKind::CheckBox},
      {"BS_AUTO3STATE", ControlKind::CheckBox},
      {"BS_RADIOBUTTON", ControlKind::RadioButton},
      {"BS_AUTORADIOBUTTON", ControlKind::RadioButton},
      {"BS_GROUPBOX", ControlKind::GroupBox},
      {"BS_OWNERDRAW", ControlKind::Button},
      {"BS_AUTORADIOBUTTON | BS_PUSHLIKE", ControlKind::RadioButton},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.style);
    EXPECT_EQ(controlOf(std::string("CONTROL \"b\", 1, \"Button\", ") + k.style + ", 0, 0, 10, 10").kind, k.kind);
  }
}

TEST(ResourceControls, DefaultButtons) {
  std::vector<ControlTemplate> c = controlsOf(
      "DEFPUSHBUTTON \"Aceptar\", IDOK, 10, 10, 50, 14\n"
      "PUSHBUTTON \"Cancelar\", IDCANCEL, 70, 10, 50, 14\n"
      "CONTROL \"Sí\", IDYES, \"Button\", BS_DEFPUSHBUTTON, 130, 10, 50, 14\n");
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].id, 1);
  EXPECT_TRUE(c[0].defaultButton());
  EXPECT_EQ(c[1].id, 2);
  EXPECT_FALSE(c[1].defaultButton());
  EXPECT_EQ(c[2].id, 6);
  EXPECT_TRUE(c[2].defaultButton());
}

TEST(ResourceControls, HelpIdsAndControlDataInExtendedDialogs) {
  std::vector<ControlTemplate> c = controlsOf(
      "CONTROL \"\", 1, \"Static\", SS_LEFT, 0, 0, 10, 10, 0, 555\n"
      "PUSHBUTTON \"p\", 2, 0, 20, 10, 10, 0, 0, 556\n"
      "CONTROL \"\", 3, \"Custom\", 0, 0, 40, 10, 10\n"
      "BEGIN\n"
      "  1, 2, \"datos\"\n"
      "END\n"
      "LTEXT \"despues\", 4, 0, 60, 10, 10\n");
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[1].style, kChildVisible | st::WS_TABSTOP);  // 0 adds nothing to the default
  EXPECT_EQ(c[2].kind, ControlKind::Other);
  EXPECT_EQ(c[3].text, "despues");
  EXPECT_EQ(c[3].line, 9);
}

TEST(ResourceControls, NegativePositionsAndExpressionsAsCoordinates) {
  ControlTemplate c = controlOf("LTEXT \"t\", -1, -5, 2 + 3, (4 * 10) / 2, 16 - 8");
  EXPECT_EQ(c.id, -1);
  EXPECT_EQ(c.x, -5);
  EXPECT_EQ(c.y, 5);
  EXPECT_EQ(c.cx, 20);
  EXPECT_EQ(c.cy, 8);
}

// --- Style expressions --------------------------------------------------------------------------

TEST(ResourceStyles, NumbersNamesAndOperators) {
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", 0x00000004L, 0, 0, 1, 1"), kChildVisible | 0x4u);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", 12UL, 0, 0, 1, 1"), kChildVisible | 12u);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", 0X10 | 0x1, 0, 0, 1, 1"), kChildVisible | 0x11u);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", WS_BORDER + WS_TABSTOP, 0, 0, 1, 1"),
            kChildVisible | st::WS_BORDER | st::WS_TABSTOP);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", (WS_VSCROLL | WS_HSCROLL) & ~WS_HSCROLL, 0, 0, 1, 1"),
            kChildVisible | st::WS_VSCROLL);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", 1 << 4 | 3 ^ 1, 0, 0, 1, 1"), kChildVisible | 0x12u);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"X\", ws_thickframe, 0, 0, 1, 1"), kChildVisible | st::WS_THICKFRAME);
  EXPECT_EQ(styleOf("EDITTEXT 1, 0, 0, 1, 1, ES_MULTILINE |\n  ES_WANTRETURN | WS_VSCROLL"),
            kChildVisible | st::WS_BORDER | st::WS_TABSTOP | st::ES_MULTILINE | 0x1000u | st::WS_VSCROLL);
}

TEST(ResourceStyles, KnownStyleValues) {
  struct Case {
    const char* name;
    uint32_t value;
  };
  const Case cases[] = {
      {"WS_DISABLED", st::WS_DISABLED},
      {"ES_PASSWORD", st::ES_PASSWORD},
      {"ES_READONLY", st::ES_READONLY},
      {"ES_NUMBER", st::ES_NUMBER},
      {"ES_CENTER", st::ES_CENTER},
      {"ES_RIGHT", st::ES_RIGHT},
      {"CBS_DROPDOWN", st::CBS_DROPDOWN},
      {"LBS_MULTIPLESEL", st::LBS_MULTIPLESEL},
      {"TVS_HASBUTTONS", 0x1},
      {"TCS_MULTILINE", 0x200},
      {"SS_BITMAP", 0xE},
      {"WS_EX_CLIENTEDGE", 0x200},
      {"DS_CENTER", 0x800},
      {"WS_CLIPCHILDREN", 0x02000000},
      {"PBS_SMOOTH", 0x1},
      {"LVS_REPORT", 0x1},
      {"BS_MULTILINE", 0x2000},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(styleOf(std::string("CONTROL \"\", 1, \"X\", ") + k.name + ", 0, 0, 1, 1"), kChildVisible | k.value);
  }
  ResourceSet set = parsed("X DIALOG 0, 0, 1, 1\nSTYLE WS_OVERLAPPEDWINDOW\nBEGIN\nEND\n");
  EXPECT_EQ(set.dialog("X")->style, 0x00CF0000u);
}

TEST(ResourceStyles, NotClearsDefaultBits) {
  EXPECT_EQ(styleOf("PUSHBUTTON \"p\", 1, 0, 0, 1, 1, NOT WS_TABSTOP"), kChildVisible);
  EXPECT_EQ(styleOf("LTEXT \"t\", 1, 0, 0, 1, 1, NOT WS_GROUP | SS_NOPREFIX"), kChildVisible | 0x80u);
  EXPECT_EQ(styleOf("EDITTEXT 1, 0, 0, 1, 1, ES_READONLY | NOT WS_BORDER | NOT WS_TABSTOP"),
            kChildVisible | st::ES_READONLY);
  EXPECT_EQ(styleOf("EDITTEXT 1, 0, 0, 1, 1, not WS_VISIBLE"), 0x40000000u | st::WS_BORDER | st::WS_TABSTOP);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"Static\", SS_LEFT | NOT WS_VISIBLE, 0, 0, 1, 1"), 0x40000000u);
  EXPECT_EQ(styleOf("CONTROL \"\", 1, \"Static\", NOT (WS_VISIBLE | WS_CHILD), 0, 0, 1, 1"), 0u);
  // Applied left to right: a later term puts the bit back.
  EXPECT_EQ(styleOf("LISTBOX 1, 0, 0, 1, 1, NOT WS_BORDER | WS_BORDER"), kChildVisible | 0x1u | st::WS_BORDER);
  ResourceSet set = parsed("X DIALOG 0, 0, 1, 1\nSTYLE WS_POPUP | WS_BORDER | NOT WS_BORDER\nBEGIN\nEND\n");
  EXPECT_EQ(set.dialog("X")->style, WS_POPUP);
}

TEST(ResourceStyles, DefinesAreNumbersEverywhere) {
  ResourceSet set = parsed(
      "#define IDC_NOMBRE 1001\n"
      "#define IDC_APELLIDO (IDC_NOMBRE + 1)\n"
      "#define MIS_ESTILOS ES_UPPERCASE | ES_AUTOHSCROLL\n"
      "#define ANCHO 120L\n"
      "#define TITULO \"Clientes\"\n"
      "#define LARGA 1 + \\\n"
      "   2\n"
      "#define MACRO(x) x\n"
      "#define TEMPORAL 5\n"
      "#undef TEMPORAL\n"
      "D DIALOGEX 0, 0, ANCHO + 10, 50\n"
      "CAPTION TITULO\n"
      "BEGIN\n"
      "  EDITTEXT IDC_NOMBRE, 0, 0, ANCHO, 12, MIS_ESTILOS\n"
      "  EDITTEXT IDC_APELLIDO, 0, LARGA, ANCHO / 2, 12\n"
      "END\n");
  const DialogTemplate* d = set.dialog("D");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->cx, 130);
  EXPECT_EQ(d->caption, "Clientes");
  ASSERT_EQ(d->controls.size(), 2u);
  EXPECT_EQ(d->controls[0].id, 1001);
  EXPECT_EQ(d->controls[0].cx, 120);
  EXPECT_EQ(d->controls[0].style, kChildVisible | st::WS_BORDER | st::WS_TABSTOP | st::ES_UPPERCASE | 0x80u);
  EXPECT_EQ(d->controls[1].id, 1002);
  EXPECT_EQ(d->controls[1].y, 3);
  EXPECT_EQ(d->controls[1].cx, 60);
  EXPECT_EQ(d->controls[1].line, 15);
  EXPECT_EQ(errorOf("#define MACRO(x) x\n" + dialogWith("LTEXT \"\", MACRO(1), 0, 0, 1, 1")),
            "T.rc:4: constante desconocida: MACRO");
  EXPECT_EQ(errorOf("#define T 1\n#undef T\n" + dialogWith("LTEXT \"\", T, 0, 0, 1, 1")),
            "T.rc:5: constante desconocida: T");
}

TEST(ResourceStyles, SelfReferentialAndRunawayMacrosEnd) {
  EXPECT_EQ(errorOf("#define A A\n" + dialogWith("LTEXT \"\", A, 0, 0, 1, 1")), "T.rc:4: constante desconocida: A");
  EXPECT_EQ(errorOf("#define A B\n#define B A\n" + dialogWith("LTEXT \"\", A, 0, 0, 1, 1")),
            "T.rc:5: constante desconocida: A");
  std::string doubling;
  for (int i = 0; i < 30; ++i)
    doubling += "#define M" + std::to_string(i) + " M" + std::to_string(i + 1) + " M" + std::to_string(i + 1) + "\n";
  doubling += "#define M30\nM0\n";
  EXPECT_EQ(errorOf(doubling), "T.rc:32: las macros producen demasiados elementos");
}

// --- Preprocessor -------------------------------------------------------------------------------

TEST(ResourcePreprocessor, CommentsIncludesPragmasAndConditionals) {
  ResourceSet set = parsed(
      "// Cabecera\n"
      "#include \"resource.h\"\n"
      "#include <winres.h>\n"
      "#pragma code_page(65001)\n"
      "/* un comentario\n"
      "   de varias líneas */\n"
      "#if 0\n"
      "NO DIALOG 0, 0, 1, 1 BEGIN LTEXT \"sin cerrar, 1 END\n"
      "#else\n"
      "SI DIALOG 0, 0, 1, 1 BEGIN END  // al final\n"
      "#endif\n"
      "#ifdef APSTUDIO_INVOKED\n"
      "NO2 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#endif\n"
      "#ifndef APSTUDIO_INVOKED\n"
      "SI2 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#endif\n"
      "#define VERSION_RECURSOS 3\n"
      "#if VERSION_RECURSOS > 2 && defined(VERSION_RECURSOS) && !defined OTRA\n"
      "SI3 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#elif 1\n"
      "NO3 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#endif\n"
      "#if DESCONOCIDA\n"
      "NO4 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#elif DESCONOCIDA == 0\n"
      "  #if 0\n"
      "  NO5 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "  #endif\n"
      "SI4 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#else\n"
      "NO6 DIALOG 0, 0, 1, 1 BEGIN END\n"
      "#endif\n"
      "SI5 DIALOG 0, 0, 1, 1 /* en medio */ BEGIN END\n");
  EXPECT_EQ(set.dialogNames(), (std::vector<std::string>{"SI", "SI2", "SI3", "SI4", "SI5"}));
  EXPECT_EQ(set.dialog("SI5")->line, 34);
}

TEST(ResourcePreprocessor, LineNumbersSurviveCrLfCommentsAndContinuations) {
  ResourceSet set = parsed(
      "\xEF\xBB\xBF// con BOM\r\n"
      "/* dos\r\n lineas */\r\n"
      "#define LARGO 1 + \\\r\n 2\r\n"
      "D DIALOG 0, 0, 9, 9\r\n"
      "BEGIN\r\n"
      "  LTEXT \"a\", LARGO, 0, 0, 1, 1\r\n"
      "END\r\n");
  const DialogTemplate* d = set.dialog("D");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->line, 6);
  ASSERT_EQ(d->controls.size(), 1u);
  EXPECT_EQ(d->controls[0].line, 8);
  EXPECT_EQ(d->controls[0].id, 3);
  EXPECT_EQ(d->controls[0].text, "a");
}

TEST(ResourcePreprocessor, ConditionalErrors) {
  EXPECT_EQ(errorOf("#if 1\nX DIALOG 0,0,1,1 BEGIN END\n"), "T.rc:1: falta #endif");
  EXPECT_EQ(errorOf("\n#endif\n"), "T.rc:2: #endif sin #if");
  EXPECT_EQ(errorOf("#else\n"), "T.rc:1: #else sin #if");
  EXPECT_EQ(errorOf("#if 0\n#else\n#else\n#endif\n"), "T.rc:3: #else repetido");
  EXPECT_EQ(errorOf("#if 0\n#else\n#elif 1\n#endif\n"), "T.rc:3: #elif después de #else");
  EXPECT_EQ(errorOf("#if\n#endif\n"), "T.rc:1: falta la expresión de #if");
  EXPECT_EQ(errorOf("#if 1 2\n#endif\n"), "T.rc:1: expresión de #if no válida");
  EXPECT_EQ(errorOf("#if 1 / 0\n#endif\n"), "T.rc:1: división por cero");
  EXPECT_EQ(errorOf("#ifdef\n#endif\n"), "T.rc:1: falta el nombre de la macro");
  EXPECT_EQ(errorOf("#define\n"), "T.rc:1: falta el nombre tras #define");
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "#if 1\n";
  EXPECT_EQ(errorOf(deep), "T.rc:65: demasiados #if anidados");
}

// --- Strings ------------------------------------------------------------------------------------

TEST(ResourceStrings, EscapesQuotesConcatenationAndUtf8) {
  auto captionOf = [](const std::string& literal) {
    ResourceSet set = parsed("X DIALOG 0, 0, 1, 1\nCAPTION " + literal + "\nBEGIN\nEND\n");
    return set.dialog("X")->caption;
  };
  EXPECT_EQ(captionOf("\"Dijo \"\"hola\"\"\""), "Dijo \"hola\"");
  EXPECT_EQ(captionOf("\"a\\\"b\\\\c\""), "a\"b\\c");
  EXPECT_EQ(captionOf("\"l1\\nl2\\r\\tx\""), "l1\nl2\r\tx");
  EXPECT_EQ(captionOf("\"\\x41\\x4a\\x7\""), "AJ\x07");
  EXPECT_EQ(captionOf("\"\\101\\60\\0z\""), std::string("A0\0z", 4));
  EXPECT_EQ(captionOf("\"C:\\q \\x\""), "C:\\q \\x");
  EXPECT_EQ(captionOf("\"uno \" \"dos\"\n  \" tres\""), "uno dos tres");
  EXPECT_EQ(captionOf("L\"ancho\""), "ancho");
  EXPECT_EQ(captionOf("\"Año — ñandú ¿€?\""), "Año — ñandú ¿€?");
  EXPECT_EQ(captionOf("\"\xff\xfe bytes\""), "\xff\xfe bytes");
  EXPECT_EQ(captionOf("\"\""), "");
}

TEST(ResourceStrings, ControlTextsKeepTheirBytes) {
  ControlTemplate c = controlOf("PUSHBUTTON \"&Aceptar \"\"ya\"\"\" \" — sí\", 1, 0, 0, 1, 1");
  EXPECT_EQ(c.text, "&Aceptar \"ya\" — sí");
}

// --- String tables --------------------------------------------------------------------------

TEST(ResourceStringTables, EntriesWithAndWithoutCommasMerge) {
  ResourceSet set = parsed(
      "#define IDS_SALIR 1\n"
      "#define IDS_BASE 200\n"
      "STRINGTABLE DISCARDABLE\n"
      "LANGUAGE LANG_SPANISH, SUBLANG_SPANISH_MODERN\n"
      "BEGIN\n"
      "  IDS_SALIR, \"¿Desea salir?\"\n"
      "  IDS_BASE + 8 \"Diálogo no encontrado\"\n"
      "  0x10 \"dieciséis\" \" y más\"\n"
      "END\n"
      "STRINGTABLE\n"
      "{\n"
      "  65535, \"último\"\n"
      "  0 \"\"\n"
      "}\n");
  EXPECT_EQ(set.string(1), "¿Desea salir?");
  EXPECT_EQ(set.string(208), "Diálogo no encontrado");
  EXPECT_EQ(set.string(16), "dieciséis y más");
  EXPECT_EQ(set.string(65535), "último");
  EXPECT_EQ(set.string(0), "");
  EXPECT_EQ(set.string(2), std::nullopt);
}

TEST(ResourceStringTables, TablesOfSeveralScriptsMerge) {
  ResourceSet set;
  set.parse("STRINGTABLE BEGIN 1 \"uno\" END\n", "A.rc");
  set.parse("STRINGTABLE BEGIN 2 \"dos\" END\n", "B.rc");
  EXPECT_EQ(set.string(1), "uno");
  EXPECT_EQ(set.string(2), "dos");
}

TEST(ResourceStringTables, Errors) {
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n"),
            "T.rc:4: la cadena 1 ya está definida en T.rc:3");
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  65536 \"a\"\nEND\n"),
            "T.rc:3: el identificador de la cadena está fuera de rango (65536)");
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  IDS_X \"a\"\nEND\n"), "T.rc:3: constante desconocida: IDS_X");
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  5\nEND\n"), "T.rc:3: falta el texto de la cadena 5");
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  \"sin número\"\nEND\n"),
            "T.rc:3: falta el identificador de la cadena y se encontró una cadena");
  EXPECT_EQ(errorOf("STRINGTABLE\nBEGIN\n  5 \"a\"\n"), "T.rc:1: falta END en STRINGTABLE");
  EXPECT_EQ(errorOf("STRINGTABLE\n  5 \"a\"\nEND\n"), "T.rc:2: se esperaba BEGIN tras STRINGTABLE y se encontró '5'");
  ResourceSet set;
  set.parse("STRINGTABLE BEGIN 1 \"uno\" END\n", "A.rc");
  try {
    set.parse("\nSTRINGTABLE BEGIN 2 \"dos\" 1 \"otro\" END\n", "B.rc");
    FAIL() << "a repeated string must fail";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "B.rc:2: la cadena 1 ya está definida en otro script");
  }
  EXPECT_EQ(set.string(2), std::nullopt);  // nothing of a failed script is kept
  EXPECT_EQ(set.string(1), "uno");
}

// --- Other resources ----------------------------------------------------------------------------

TEST(ResourceSkipping, OtherResourcesAreSkipped) {
  ResourceSet set = parsed(
      "LANGUAGE LANG_SPANISH, SUBLANG_SPANISH\n"
      "IDI_APP ICON \"res\\\\app.ico\"\n"
      "IDB_LOGO BITMAP DISCARDABLE res\\logo.bmp\n"
      "IDC_MANO CURSOR ..\\res\\mano.cur\n"
      "1 24 \"app.manifest\"\n"
      "IDR_MENU MENU\n"
      "BEGIN\n"
      "  POPUP \"&Archivo\"\n"
      "  BEGIN\n"
      "    MENUITEM \"&Abrir\", 100\n"
      "    MENUITEM SEPARATOR\n"
      "    POPUP \"Recientes\" { MENUITEM \"x\", 101 }\n"
      "  END\n"
      "  MENUITEM \"Ay&uda\", 102\n"
      "END\n"
      "MENU_MAS MENUEX\n"
      "BEGIN\n"
      "  POPUP \"&Ver\", 200, MFT_STRING, MFS_ENABLED\n"
      "  BEGIN\n"
      "    MENUITEM \"&Todo\", 201\n"
      "  END\n"
      "END\n"
      "IDR_ACEL ACCELERATORS\n"
      "BEGIN\n"
      "  \"N\", 100, VIRTKEY, CONTROL\n"
      "END\n"
      "VS_VERSION_INFO VERSIONINFO\n"
      " FILEVERSION 1,0,0,1\n"
      " PRODUCTVERSION 1,0,0,1\n"
      " FILEFLAGSMASK 0x3fL\n"
      " FILEOS 0x40004L\n"
      " FILETYPE 0x1L\n"
      "BEGIN\n"
      "  BLOCK \"StringFileInfo\"\n"
      "  BEGIN\n"
      "    BLOCK \"0c0a04b0\"\n"
      "    BEGIN\n"
      "      VALUE \"CompanyName\", \"Hotel\\0\"\n"
      "    END\n"
      "  END\n"
      "END\n"
      "IDR_DATOS RCDATA\n"
      "BEGIN\n"
      "  1, 2, \"tres\", 0x4L\n"
      "END\n"
      "GUIDELINES DESIGNINFO\n"
      "BEGIN\n"
      "  IDD_X, DIALOG\n"
      "  BEGIN\n"
      "    LEFTMARGIN, 7\n"
      "  END\n"
      "END\n"
      "1 TEXTINCLUDE\n"
      "BEGIN\n"
      "  \"resource.h\\0\"\n"
      "END\n"
      "IDR_BARRA TOOLBAR 16, 15\n"
      "BEGIN\n"
      "  BUTTON 100\n"
      "  SEPARATOR\n"
      "END\n"
      "IDD_X AFX_DIALOG_LAYOUT\n"
      "BEGIN\n"
      "  0\n"
      "END\n"
      "IDR_HTML HTML \"ayuda.htm\"\n"
      "IDR_SIMPLE RCDATA { 1 }\n"
      "FIN DIALOGEX 0, 0, 20, 20\n"
      "BEGIN\n"
      "  LTEXT \"fin\", 1, 0, 0, 10, 10\n"
      "END\n"
      "STRINGTABLE BEGIN 9 \"nueve\" END\n");
  EXPECT_EQ(set.dialogNames(), std::vector<std::string>{"FIN"});
  EXPECT_EQ(set.dialog("FIN")->line, 68);
  EXPECT_EQ(set.string(9), "nueve");
}

TEST(ResourceSkipping, UnfinishedResourcesFail) {
  EXPECT_EQ(errorOf("IDR_MENU MENU\nBEGIN\n  POPUP \"x\"\n  BEGIN\nEND\n"), "T.rc:2: falta el END del bloque");
  EXPECT_EQ(errorOf("IDR_MENU MENU\n"), "T.rc:1: falta BEGIN en el recurso IDR_MENU");
  EXPECT_EQ(errorOf("IDR_MENU MENU\nD DIALOG 0, 0, 1, 1\nBEGIN\nEND\n"),
            "T.rc:1: falta BEGIN o el nombre de archivo del recurso IDR_MENU");
  EXPECT_EQ(errorOf("IDI_APP\nICON \"x.ico\"\n"), "T.rc:1: falta el tipo del recurso IDI_APP");
  std::string deep = "X RCDATA\n";
  for (int i = 0; i < 300; ++i) deep += "BEGIN\n";
  EXPECT_EQ(errorOf(deep), "T.rc:258: bloques BEGIN anidados en exceso");
}

// --- Errors ---------------------------------------------------------------------------------------

TEST(ResourceErrors, MessagesNameFileAndLine) {
  const std::string h = "D DIALOGEX 0, 0, 100, 100\n";  // line 1; BEGIN on 2, controls from 3
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"Nombre\"", h), "ROOMS.rc"), "ROOMS.rc:3: falta el identificador del control");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"Nombre\",\n EDITTEXT 5, 0, 0, 1, 1", h)),
            "T.rc:3: falta el identificador del control");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"Nombre\", 10, 10, 40, 8", h)), "T.rc:3: falta el alto del control");
  EXPECT_EQ(errorOf(dialogWith("EDITTEXT 1, 2, 3, 4", h)), "T.rc:3: falta el alto del control");
  EXPECT_EQ(errorOf(dialogWith("LTEXT , 1, 2, 3, 4, 5", h)), "T.rc:3: falta el texto del control");
  EXPECT_EQ(errorOf(dialogWith("CONTROL \"\", 1, , 0, 0, 0, 1, 1", h)), "T.rc:3: falta la clase del control");
  EXPECT_EQ(errorOf(dialogWith("CONTROL \"\", 1, \"X\", , 0, 0, 1, 1", h)), "T.rc:3: falta el estilo del control");
  EXPECT_EQ(errorOf(dialogWith("CONTROL \"\", 1, 0x99, 0, 0, 0, 1, 1", h)), "T.rc:3: clase de control no válida: 0x99");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2, 3, 4, 5, 0, 0, 0, 0", h)),
            "T.rc:3: sobran argumentos en el control");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2, 3, 4, 5, 0, 0, 0", "D DIALOG 0, 0, 1, 1\n")),
            "T.rc:3: sobran argumentos en el control");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2, 3, 4, 5,", h)), "T.rc:3: falta el estilo del control");
  EXPECT_EQ(errorOf(dialogWith("\n  BUTTON \"a\", 1, 2, 3, 4, 5", h)),
            "T.rc:4: instrucción desconocida en el diálogo D: 'BUTTON'");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", IDC_NADA, 2, 3, 4, 5", h)), "T.rc:3: constante desconocida: IDC_NADA");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2, 3, 4, 5, WS_TABSTOP | NOTHING", h)),
            "T.rc:3: constante desconocida: NOTHING");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2, 3, 4, 5, WS_CHILD + NOT WS_VISIBLE", h)),
            "T.rc:3: NOT sólo puede ir delante de un estilo");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 12abc, 3, 4, 5", h)), "T.rc:3: número no válido: 12abc");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, (2, 3, 4, 5", h)), "T.rc:3: falta ')' en la expresión");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2 / 0, 3, 4, 5", h)), "T.rc:3: división por cero");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 2 *, 3, 4, 5", h)), "T.rc:3: se esperaba un número y se encontró ','");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, \"x\", 3, 4, 5", h)), "T.rc:3: falta la posición x del control");
}

TEST(ResourceErrors, RangesOfPositionsSizesAndIds) {
  const std::string h = "D DIALOGEX 0, 0, 100, 100\n";
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 32768, 0, 4, 5", h)),
            "T.rc:3: la posición x del control está fuera de rango (32768)");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 0, -32768, 4, 5", h)),
            "T.rc:3: la posición y del control está fuera de rango (-32768)");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 0, 0, -4, 5", h)),
            "T.rc:3: el ancho del control está fuera de rango (-4)");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 1, 0, 0, 4, 99999999999999999999999", h)),
            "T.rc:3: el alto del control está fuera de rango (281474976710655)");
  EXPECT_EQ(errorOf(dialogWith("LTEXT \"a\", 65536, 0, 0, 4, 5", h)),
            "T.rc:3: el identificador del control está fuera de rango (65536)");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 40000, 10\nBEGIN\nEND\n"),
            "T.rc:1: el ancho del diálogo está fuera de rango (40000)");
  EXPECT_EQ(controlOf("LTEXT \"a\", 65535, -32767, 32767, 32767, 0").id, 65535);
  EXPECT_EQ(controlOf("LTEXT \"a\", -32768, 0, 0, 0, 0").id, -32768);
}

TEST(ResourceErrors, DialogStructure) {
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n"), "T.rc:2: falta END en el diálogo D");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nCAPTION \"x\"\n"), "T.rc:2: falta BEGIN en el diálogo D");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nTITLE \"x\"\nBEGIN\nEND\n"),
            "T.rc:2: instrucción desconocida en el diálogo D: 'TITLE'");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1\nBEGIN\nEND\n"), "T.rc:1: falta el alto del diálogo");
  EXPECT_EQ(errorOf("D DIALOG\nBEGIN\nEND\n"), "T.rc:1: falta la posición x del diálogo");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nCAPTION\nBEGIN\nEND\n"), "T.rc:2: falta el texto de CAPTION");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nFONT 8\nBEGIN\nEND\n"), "T.rc:2: falta el nombre de la letra");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1\nFONT 0, \"x\"\nBEGIN\nEND\n"),
            "T.rc:2: el tamaño de la letra está fuera de rango (0)");
  EXPECT_EQ(errorOf("\n\nBEGIN\nEND\n"), "T.rc:3: se esperaba un recurso y se encontró 'BEGIN'");
  EXPECT_EQ(errorOf("LTEXT \"a\", 1, 0, 0, 1, 1\n"), "T.rc:1: se esperaba un recurso y se encontró 'LTEXT'");
  EXPECT_EQ(errorOf("D DIALOG 0, 0, 1, 1 BEGIN END\n, x\n"), "T.rc:2: se esperaba un recurso y se encontró ','");
  EXPECT_EQ(errorOf("\"\" DIALOG 0, 0, 1, 1 BEGIN END\n"), "T.rc:1: el diálogo no tiene nombre");
}

TEST(ResourceErrors, LexicalErrors) {
  EXPECT_EQ(errorOf("X DIALOG 0, 0, 1, 1\nCAPTION \"sin cerrar\nBEGIN\nEND\n"), "T.rc:2: cadena sin terminar");
  EXPECT_EQ(errorOf("X DIALOG 0, 0, 1, 1\nCAPTION \"al final \\"), "T.rc:2: cadena sin terminar");
  EXPECT_EQ(errorOf("\n/* sin cerrar\n\n"), "T.rc:2: comentario sin terminar");
  EXPECT_EQ(errorOf("#define X \"sin cerrar\nX DIALOG 0,0,1,1 BEGIN END\n"), "T.rc:1: cadena sin terminar");
  std::string nested = "X DIALOG 0, 0, ";
  for (int i = 0; i < 500; ++i) nested += "(";
  EXPECT_EQ(errorOf(nested + "1"), "T.rc:1: expresión demasiado anidada");
  EXPECT_EQ(errorOf(std::string(4 * 1024 * 1024 + 1, ' ')), "T.rc:1: el script es demasiado grande");
}

TEST(ResourceErrors, TooManyControls) {
  std::string body;
  for (int i = 0; i < 4097; ++i) body += "LTEXT \"\", -1, 0, 0, 1, 1\n";
  EXPECT_EQ(errorOf(dialogWith(body)), "T.rc:4099: el diálogo D tiene demasiados controles");
}

TEST(ResourceErrors, GarbageOnlyEverThrowsRuntimeError) {
  const std::string pieces[] = {"D",       "DIALOGEX", "DIALOG", "BEGIN",       "END", "{",     "}",      ",",
                                "\"t\"",   "1",        "-",      "(",           ")",   "|",     "NOT",    "LTEXT",
                                "CONTROL", "ICON",     "MENU",   "STRINGTABLE", "\n",  "#if 0", "#endif", "#define Q 2",
                                "Q",       "WS_CHILD", "/*",     "*/",          "\"",  "0x"};
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int n = int(random() % 40);
    for (int i = 0; i < n; ++i) text += pieces[random() % std::size(pieces)] + (random() % 3 ? " " : "\n");
    try {
      parsed(text);
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind("T.rc:", 0), 0u) << e.what();
    }
  }
}

// --- Duplicates -----------------------------------------------------------------------------------

TEST(ResourceDuplicates, SameDialogTwiceInOneScript) {
  EXPECT_EQ(errorOf("A DIALOG 0,0,1,1 BEGIN END\n\na dialogex 0,0,1,1 BEGIN END\n", "X.rc"),
            "X.rc:3: el diálogo A ya está definido en X.rc:1");
}

TEST(ResourceDuplicates, SameDialogInTwoScriptsNamesBoth) {
  ResourceSet set;
  set.parse("\nROOMS DIALOG 0, 0, 1, 1 BEGIN END\n", "ROOMS.rc");
  try {
    set.parse("OTRO DIALOG 0,0,1,1 BEGIN END\nSTRINGTABLE BEGIN 3 \"x\" END\nRooms DIALOG 0, 0, 1, 1 BEGIN END\n",
              "COPIA.rc");
    FAIL() << "a repeated dialog must fail";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "COPIA.rc:3: el diálogo ROOMS ya está definido en ROOMS.rc:2");
  }
  EXPECT_EQ(set.dialogNames(), std::vector<std::string>{"ROOMS"});  // nothing of COPIA.rc was kept
  EXPECT_EQ(set.string(3), std::nullopt);
  EXPECT_EQ(set.dialog("ROOMS")->source, "ROOMS.rc");
}

// --- The built-in scripts --------------------------------------------------------------------------

TEST(ResourceBuiltIn, ReadsEveryEmbeddedFile) {
  const ResourceSet& set = ResourceSet::builtIn();
  EXPECT_EQ(&set, &ResourceSet::builtIn());
  EXPECT_EQ(set.dialogNames(), (std::vector<std::string>{"ONE", "TWO"}));
  ASSERT_NE(set.dialog("one"), nullptr);
  EXPECT_EQ(set.dialog("one")->source, "A.rc");
  EXPECT_EQ(set.dialog("one")->line, 1);
  EXPECT_EQ(set.dialog("ONE")->controls.at(0).line, 3);
  ASSERT_NE(set.dialog("TWO"), nullptr);
  EXPECT_EQ(set.dialog("TWO")->source, "B.rc");
  EXPECT_EQ(set.dialog("TWO")->line, 2);
  EXPECT_EQ(set.string(7), "siete");
}

#ifdef CONFIGURA_SOURCE_DIR
// The program's own templates, read from the source tree as the build embeds them.
ResourceSet programScripts() {
  ResourceSet set;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(CONFIGURA_SOURCE_DIR) + "/resources/dialogs")) {
    if (entry.path().extension() != ".rc") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    set.parse(text.str(), entry.path().filename().string());
  }
  return set;
}

bool overlap(const ControlTemplate& a, const ControlTemplate& b) {
  return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

TEST(ResourceProgramScripts, EveryScriptParsesAndControlsStayInside) {
  ResourceSet set = programScripts();
  for (const std::string& name : set.dialogNames()) {
    SCOPED_TRACE(name);
    const DialogTemplate* d = set.dialog(name);
    for (const ControlTemplate& c : d->controls) {
      EXPECT_GE(c.x, 0) << c.line;
      EXPECT_GE(c.y, 0) << c.line;
      EXPECT_LE(c.x + c.cx, d->cx) << c.line;
      // A combo box's height includes its drop-down list, which may hang below.
      if (c.kind != ControlKind::ComboBox) {
        EXPECT_LE(c.y + c.cy, d->cy) << c.line;
      }
    }
  }
}

TEST(ResourceProgramScripts, WaitWindow) {
  ResourceSet set = programScripts();
  const DialogTemplate* d = set.dialog("WAIT");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "Procesando...");
  EXPECT_EQ(d->font.pointSize, 8);
  EXPECT_EQ(d->font.face, "MS Sans Serif");
  EXPECT_NEAR(d->cx, 230, 20);
  EXPECT_NEAR(d->cy, 80, 15);
  for (int id : {301, 500, 501, 502, 503}) {
    ASSERT_NE(d->control(id), nullptr) << id;
    EXPECT_EQ(d->control(id)->kind, ControlKind::Static) << id;
  }
  ASSERT_NE(d->control(2), nullptr);
  EXPECT_EQ(d->control(2)->kind, ControlKind::Button);
  EXPECT_EQ(d->control(2)->text, "Cancelar");
  EXPECT_LT(d->control(301)->y, d->control(500)->y);                        // headline on top
  EXPECT_GT(d->control(503)->x, d->control(500)->x + d->control(500)->cx);  // time on the right
  for (size_t i = 0; i < d->controls.size(); ++i)
    for (size_t j = i + 1; j < d->controls.size(); ++j)
      EXPECT_FALSE(overlap(d->controls[i], d->controls[j])) << d->controls[i].id << " " << d->controls[j].id;
}

TEST(ResourceProgramScripts, Strings) {
  ResourceSet set = programScripts();
  EXPECT_EQ(set.string(1), "¿Desea salir de la aplicación?");
  EXPECT_EQ(set.string(208), "Diálogo no encontrado");
  EXPECT_EQ(set.string(212), "No se encuentra el diálogo: ");
}
#endif

}  // namespace
