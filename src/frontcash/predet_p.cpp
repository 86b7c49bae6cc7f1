#include "frontcash/predet_p.h"

#include <array>

#include "lib/messages.h"
#include "lib/printer_profile.h"
#include "lib/profile_file.h"
#include "lib/text.h"
#include "screens/messages.h"
#include "screens/print_document.h"
#include "screens/unique_code.h"
#include "win/controls.h"
#include "win/message_box.h"

namespace frontcash {

namespace {

constexpr int kCode = 500;
constexpr int kMainPrinter = 601, kRunner = 606, kMainStation = 607;
constexpr int kByPatterns = 1002, kPrintAlso = 1009, kWindowsNT = 1001;
constexpr std::array<int, 3> kMainPatterns = {503, 504, 505};

// The controls of time window n (1..3).
struct Window {
  int enabled, from, to, printer, byPatterns, station, printAlso;
  std::array<int, 3> patterns;
};
constexpr std::array<Window, 3> kWindows = {{
    {1003, 506, 507, 603, 1006, 608, 1010, {512, 513, 514}},
    {1004, 508, 509, 604, 1007, 609, 1011, {515, 516, 517}},
    {1005, 510, 511, 605, 1008, 610, 1012, {518, 519, 520}},
}};

lib::ProfileFile workstation() {
  return lib::ProfileFile(lib::profilePath("SALTMERE.INI"));
}

void say(const std::string& text) {
  win::MESSAGE_BOX(nullptr, text, "ERROR", lib::MB_OK | lib::MB_ICONERROR);
}

}  // namespace

PREDET_P::PREDET_P(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"PREDET_P", "PREDET_P", kMenuId, {{"Cód", "CODIGO", "!!", 0, 12}, {"Descripción", "DESCRIP", std::string(40, 'X')}}}) {}

void PREDET_P::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  USE("STAT_COC", "STAT_COC");
}

void PREDET_P::ConfigBrow() {
  LIST_SCREEN::ConfigBrow();
  OB->nubWidth = 20;
}

void PREDET_P::ADD_PRINTER() {
  screens::OPEN<E_PREDET_P>(this, NEGOCIO, E_PREDET_P::kAdd);
}

void PREDET_P::MOD_PRINTER() {
  if (hasRecord()) screens::OPEN<E_PREDET_P>(this, NEGOCIO, E_PREDET_P::kModify);
}

// The workstation keys stay: a profile added again with the same code finds them.
void PREDET_P::DEL_PRINTER() {
  CALL_LEVEL();
  BORRA_REGISTRO("¿Desea borrar el item?", {});
}

E_PREDET_P::E_PREDET_P(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "E_PREDET_P", negocio, mode) {}

void E_PREDET_P::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(kCode, t, "CODIGO");
  FORM_.TEXT(501, t, "DESCRIP");
  FORM_.TEXT(502, t, "COMANDA");
  FORM_.CODE_OR_BLANK(kRunner, t, "RUNNER");
}

// Every installed printer in the four printer lists; the profiles as runners; the display
// stations, each list starting with its "none".
void E_PREDET_P::LOAD_LISTAS() {
  const auto printers = screens::GETPTRLIST();
  for (int id : {kMainPrinter, kWindows[0].printer, kWindows[1].printer, kWindows[2].printer}) {
    win::CCOMBOBOX list(this, id);
    for (const std::string& entry : printers) list.Add(entry, 0, entry);
  }
  win::CCOMBOBOX(this, kRunner).Add("***Sin Uso", 0, "  ");
  screens::LOAD_LISTA(*this, {kRunner}, "PREDET_P", "PREDET_P", NEGOCIO);
  for (int id : {kMainStation, kWindows[0].station, kWindows[1].station, kWindows[2].station})
    win::CCOMBOBOX(this, id).Add("Ninguno", 0, "    ");
  screens::LOAD_LISTA(*this, {kMainStation, kWindows[0].station, kWindows[1].station, kWindows[2].station},
                      "STAT_COC", "STAT_COC", NEGOCIO, "DESCRIP", true);
}

// The table's fields, then this workstation's keys: those of the profile under the list's
// cursor, so that an added profile starts with its printers, stations and windows.
void E_PREDET_P::CARGAR() {
  EDITOR::CARGAR();
  highlighted_ = LISTA->hasRecord() ? LISTA->TABLA->S("CODIGO") : "";
  if (MODO_E == kAdd) {
    win::CCOMBOBOX runner(this, kRunner);
    screens::SEEK_CODIGO(runner, "");
  }
  const lib::ProfileFile ini = workstation();
  const std::string k = lib::predetKey(NEGOCIO, highlighted_);
  auto get = [&](const std::string& suffix) { return ini.getString(lib::kPredetSection, k + suffix); };
  const bool modify = MODO_E == kModify;
  auto flag = [&](int id, const std::string& suffix) { CheckDlgButton(id, modify && lib::predetFlag(get(suffix))); };
  auto text = [&](int id, const std::string& suffix) { SetDlgItemText(id, modify ? lib::trim(get(suffix)) : ""); };

  flag(kWindowsNT, "NT");
  flag(kByPatterns, "BP");
  flag(kPrintAlso, "ICF");
  for (int n = 0; n < 3; ++n) text(kMainPatterns[n], "P" + std::to_string(n + 1));
  for (int w = 0; w < 3; ++w) {
    const Window& win = kWindows[w];
    const std::string n = std::to_string(w + 1);
    flag(win.byPatterns, "BPP" + n);
    flag(win.printAlso, "ICF" + n);
    for (int p = 0; p < 3; ++p) text(win.patterns[p], "PP" + n + std::to_string(p + 1));
    CheckDlgButton(win.enabled, get("HA" + n) == "1");
    SetDlgItemText(win.from, get("HI" + n));
    SetDlgItemText(win.to, get("HF" + n));
  }

  // A list whose pattern box is on selects every entry matching its patterns in turn (the
  // last one stays); otherwise the entry equal to the stored printer.
  auto selectPrinter = [&](int listId, int patternBox, const std::string& stored, const std::array<int, 3>& patterns) {
    win::CCOMBOBOX list(this, listId);
    const bool byPatterns = IsDlgButtonChecked(patternBox);
    const std::string p1 = lib::trim(GetDlgItemText(patterns[0])), p2 = lib::trim(GetDlgItemText(patterns[1])),
                      p3 = lib::trim(GetDlgItemText(patterns[2]));
    const std::vector<std::string> entries = list.GET_CARGOS();
    for (size_t i = 0; i < entries.size(); ++i) {
      const bool match = byPatterns ? lib::matchesPatterns(entries[i], p1, p2, p3) : entries[i] == stored;
      if (match) list.SetCurItem(static_cast<int>(i) + 1);
    }
  };
  selectPrinter(kMainPrinter, kByPatterns, lib::printerEntry(get("")), kMainPatterns);
  for (int w = 0; w < 3; ++w)
    selectPrinter(kWindows[w].printer, kWindows[w].byPatterns, lib::printerEntry(get("HP" + std::to_string(w + 1))),
                  kWindows[w].patterns);
  auto selectStation = [&](int listId, const std::string& stored) {
    win::CCOMBOBOX list(this, listId);
    screens::SEEK_CODIGO(list, lib::trim(stored));
  };
  selectStation(kMainStation, get("ESTAC"));
  for (int w = 0; w < 3; ++w) selectStation(kWindows[w].station, get("EST" + std::to_string(w + 1)));
}

bool E_PREDET_P::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir un Código válido", kCode);
  if (lib::trim(GetDlgItemText(501)).empty()) return REHUSA("Debe definir una Descripción válida", 501);
  // Two profiles of one code would leave the workstation keys to whichever is read first.
  if (screens::CODIGO_DEFINIDO(*REGISTRO, NEGOCIO, code, XRECNO)) return REHUSA("Código Ya definido...", kCode);
  return true;
}

bool E_PREDET_P::AGREGA(const std::string& code) {
  EDITOR::AGREGA(code);
  GUARDA_ESTACION(code);
  return true;
}

bool E_PREDET_P::MODIFICA(const std::string& code) {
  EDITOR::MODIFICA(code);
  GUARDA_ESTACION(code);
  return true;
}

// The keys in the order the suite's programs write them; what could not be kept is told
// once everything is written, and undoes nothing.
void E_PREDET_P::GUARDA_ESTACION(const std::string& code) {
  lib::ProfileFile ini = workstation();
  const std::string k = lib::predetKey(NEGOCIO, code);
  bool written = true, pp33Written = true;
  auto put = [&](const std::string& suffix, const std::string& value) {
    written = ini.writeString(lib::kPredetSection, k + suffix, value);
  };
  auto flag = [&](const std::string& suffix, int id) { put(suffix, IsDlgButtonChecked(id) ? "1" : "0"); };
  auto text = [&](const std::string& suffix, int id) { put(suffix, lib::trim(GetDlgItemText(id))); };

  flag("NT", kWindowsNT);
  flag("BP", kByPatterns);
  for (int n = 0; n < 3; ++n) text("P" + std::to_string(n + 1), kMainPatterns[n]);
  flag("ICF", kPrintAlso);
  for (int w = 0; w < 3; ++w) {
    const std::string n = std::to_string(w + 1);
    flag("BPP" + n, kWindows[w].byPatterns);
    for (int p = 0; p < 3; ++p) text("PP" + n + std::to_string(p + 1), kWindows[w].patterns[p]);
    if (w == 2) pp33Written = written;  // the last pattern tells whether the folder takes writes
    flag("ICF" + n, kWindows[w].printAlso);
  }

  std::vector<std::string> problems;
  const std::string mainPrinter = win::CCOMBOBOX(this, kMainPrinter).CurCargo();
  const bool byPatterns = IsDlgButtonChecked(kByPatterns);
  if (!mainPrinter.empty()) {
    put("", mainPrinter);
    if (!screens::CHECKVALIDPRINTER(mainPrinter) && !byPatterns) problems.push_back("La impresora definida por Windows no es válida");
  } else if (!byPatterns) {
    problems.push_back("El registro de Impresora Predefinida\rno tiene impresora asociada.");
  }
  if (!pp33Written)
    problems.push_back("Error en Escritura de Datos\rPuede ser que la carpeta WINDOWS no tiene Escritura habilitada");

  for (int w = 0; w < 3; ++w) {
    const std::string printer = win::CCOMBOBOX(this, kWindows[w].printer).CurCargo();
    if (!printer.empty()) put("HP" + std::to_string(w + 1), printer);
  }
  auto station = [&](const std::string& suffix, int id) {
    win::CCOMBOBOX list(this, id);
    if (list.CurItem() > 0) put(suffix, lib::padded(list.CurCargo(), 4));
  };
  station("ESTAC", kMainStation);
  for (int w = 0; w < 3; ++w) station("EST" + std::to_string(w + 1), kWindows[w].station);
  for (int w = 0; w < 3; ++w) {
    const std::string n = std::to_string(w + 1);
    text("HI" + n, kWindows[w].from);
    text("HF" + n, kWindows[w].to);
  }
  for (int w = 0; w < 3; ++w) flag("HA" + std::to_string(w + 1), kWindows[w].enabled);
  for (const std::string& p : problems) say(p);
}

}  // namespace frontcash
