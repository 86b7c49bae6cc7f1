#include "processes/congruen.h"

#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "processes/repair_journal.h"
#include "rooms/availability_screens.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/wait.h"

namespace processes {

namespace {

using lib::Value;

constexpr int kHistoric = 1001, kInHouse = 1002, kFuture = 1003, kAttributes = 1004;
constexpr int kRuns = 601, kEntries = 901, kUndo = 201;

// One line of the journal as the user reads it.
std::string entryText(const JournalEntry& e) {
  std::string what = e.action == "A"   ? "agregado"
                     : e.action == "D" ? "borrado"
                                       : e.field + ": \"" + e.before + "\" -> \"" + e.after + "\"";
  return e.table + " #" + std::to_string(e.record) + " " + what + "  (" + e.finding + ")";
}

void listEntries(win::WDIAG& d, const std::string& negocio, const std::string& run) {
  win::CLISTBOX list(&d, kEntries);
  list.Clear();
  for (const JournalEntry& e : JOURNAL_OF(negocio, run)) list.Add(entryText(e));
}

}  // namespace

void CONGRUEN::INIT() {
  TABLA = USE("CONGRUEN.CNF", "CONGRUEN");
  if (!Init(nullptr, DIALOG)) return;
  OB = std::make_unique<win::WBLISTBOX>(this, 700, TABLA);
  ADD(OB.get());
  ADD_BUTTON(201, [this] { ENCONTRAR(); });
  ADD_BUTTON(202, [this] { CORREGIR(); });
  ADD_BUTTON(205, [] { screens::NO_DISPONIBLE("ACT_BASE", "Actualizar Folios y Tarifas"); });
  ADD_BUTTON(211, [this] { DIARIO(); });
  ADD_BUTTON(win::IDCANCEL, [this] { ENDDIALOG(); });
  CREATE(DIALOG);
  // The printed list and the one-shot utilities are not part of this version.
  for (int id : {203, 204, 206, 207, 208, 209, 210}) EnableItem(id, false);
  CheckDlgButton(kHistoric, false);
  for (int id : {kInHouse, kFuture, kAttributes}) CheckDlgButton(id, true);
  win::AGREGARCOL(*OB, TABLA, "Error", "COMENTA", std::string(84, 'X'));
  win::AGREGARCOL(*OB, TABLA, "Room", "ROOM", std::string(6, 'X'));
  win::AGREGARCOL(*OB, TABLA, "Inicio", "F_INICIO");
  win::AGREGARCOL(*OB, TABLA, "Final", "F_FINAL");
  win::AGREGARCOL(*OB, TABLA, "Reserva", "COD_RES", std::string(10, 'X'));
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "CONGRUEN"}}, 1, "");
}

void CONGRUEN::REVISAR(bool repair) {
  CALL_LEVEL_AS(routine(repair ? "CORREGIR" : "ENCONTRAR"));
  CongruenceOptions options;
  options.historic = IsDlgButtonChecked(kHistoric);
  options.inHouse = IsDlgButtonChecked(kInHouse);
  options.future = IsDlgButtonChecked(kFuture);
  options.attributes = IsDlgButtonChecked(kAttributes);
  const int cursor = WAIT_CURSOR();
  {
    win::WAIT wait(this);
    rooms::WaitProgress progress(wait);
    if (repair) {
      RepairJournal journal(NEGOCIO, RUN_NOW());
      lastRun = CONGRUENCIA(NEGOCIO, options, &journal, progress);
    } else {
      lastRun = CONGRUENCIA(NEGOCIO, options, nullptr, progress);
    }
    wait.TERMINAR();
  }
  SET_CURSOR(cursor);
  MOSTRAR(lastRun);
}

// The findings of the run replace those of the last one.
void CONGRUEN::MOSTRAR(const CongruenceResult& result) {
  DISABLE_BROWSE(*OB);
  // The workstation's own table, open for it alone: emptied for good, so that the grid counts
  // only this run's rows.
  TABLA->SetOrder("");
  for (TABLA->GoTop(); !TABLA->Eof(); TABLA->Skip()) lib::MODIFY(*TABLA, [&] { TABLA->Delete(); });
  TABLA->Pack();
  TABLA->SetOrder("CONGRUEN");
  long n = 0;
  for (const Finding& f : result.findings)
    lib::ADD(*TABLA, [&] {
      TABLA->FieldPut("COMENTA", Value::chars(f.text));
      TABLA->FieldPut("ROOM", Value::chars(f.room));
      TABLA->FieldPut("F_INICIO", Value::date(f.arrival));
      TABLA->FieldPut("F_FINAL", Value::date(f.departure));
      TABLA->FieldPut("COD_RES", Value::chars(f.reservation));
      TABLA->FieldPut("NUM", Value::num(double(++n)));
    });
  TABLA->GoTop();
  ENABLE_BROWSE(*OB);
  OB->CountScope();
  OB->GOTOP();
  OB->REFRESHALL();
}

// The runs that repaired something, newest first, and what the chosen one changed.
void CONGRUEN::DIARIO() {
  CALL_LEVEL();
  const std::vector<std::string> runs = JOURNAL_RUNS(NEGOCIO);
  if (runs.empty()) {
    screens::notice("No hay reparaciones registradas");
    return;
  }
  auto chosen = [](win::WDIAG& d) { return win::CCOMBOBOX(&d, kRuns).CurCargo(); };
  win::DIALOG_BOX("CONG_LOG", this,
                  {[&](win::ModalDialog& d) {
                     win::CCOMBOBOX list(&d, kRuns);
                     for (const std::string& run : runs) list.Add(run, 0, run);
                     list.SetCurItem(1);
                     listEntries(d, NEGOCIO, runs.front());
                   },
                   [](win::ModalDialog&) { return true; },
                   [&](win::ModalDialog& d, int id, int notification) {
                     if (id == kRuns && notification == win::CBN_SELCHANGE) {
                       listEntries(d, NEGOCIO, chosen(d));
                       return true;
                     }
                     if (id != kUndo) return false;
                     const std::string run = chosen(d);
                     if (run.empty() || !screens::confirm("Desea deshacer las reparaciones de la corrida escogida?"))
                       return true;
                     const UndoResult r = DESHACER(NEGOCIO, run);
                     std::string text = "Cambios deshechos: " + std::to_string(r.restored);
                     if (r.refused)
                       text += "\rNo se tocaron " + std::to_string(r.refused) +
                               " cambios: sus registros cambiaron después de la reparación.";
                     screens::notice(text);
                     return true;
                   }});
}

void CONGRUEN::CerrarBases() {
  if (OB) CLOSEBROWSE(*OB);
  SCREEN::CerrarBases();
  TABLA = nullptr;
}

}  // namespace processes
