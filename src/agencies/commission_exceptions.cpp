#include "agencies/commission_exceptions.h"

#include "agencies/commission_schedule.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/messages.h"

namespace agencies {

namespace {

using lib::Value;

}  // namespace

E_COMIS2::E_COMIS2(screens::SCREEN* editor, lib::WDBTable* working, const std::string& negocio)
    : LIST_SCREEN("E_COMIS2", negocio,
                  {"DET_AG3W",
                   "DET_AG3W",
                   0,
                   {{"Tipo", "COD_RACK", "!!!!"},
                    {"Tarifa", "", std::string(30, 'X'), 0, 0,
                     [this]() {
                       const std::string key = lib::businessKey(NEGOCIO) + lib::padded(working_->S("COD_RACK"), 4);
                       return Value::chars(ENC_RACK && ENC_RACK->Seek(key) ? ENC_RACK->S("DESCRIP") : std::string());
                     }},
                    {"D.I", "D_INICIO", "99"},
                    {"M.I", "M_INICIO", "99"},
                    {"D.F", "D_FINAL", "99"},
                    {"M.F", "M_FINAL", "99"},
                    {"Hosp", "A_COMIS", "999.99", 2}}}),
      editor_(editor),
      working_(working) {}

void E_COMIS2::AbrirBases() {
  TABLA = working_;  // the editor's, released with it
  if (lib::IS_FILE(nullptr, "ENC_RACK")) ENC_RACK = USE("ENC_RACK", "ENC_RACK");
}

void E_COMIS2::INIT() {
  LIST_SCREEN::INIT();
  if (window()) EDITOR_OF(editor_);
}

void E_COMIS2::BOTONES() {
  ADD_BUTTON(201, [this] { AGREGAR(); });
  ADD_BUTTON(202, [this] { MODIFICAR(); });
  ADD_BUTTON(203, [this] { BORRAR(); });
}

// The whole working copy: it holds one agency's rows only.
void E_COMIS2::ConfigBrow() {
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  BROWMARKS(*OB, {{1, "DET_AG3W"}}, 1, "");
}

void E_COMIS2::AGREGAR() {
  CALL_LEVEL();
  CommissionSchedule schedule;
  schedule.onConfirmation = schedule.lowerAdults = schedule.lowerChildren = true;
  ExceptionWindow window;
  if (!E_COMIS(this, NEGOCIO, ScheduleMode::NewException, schedule, &window)) return;
  lib::ADD(*TABLA, [&] {
    TABLA->FieldPut("NUM_REC", Value::num(0));
    window.write(*TABLA);
    schedule.write(*TABLA);
  });
  REFRESCA(true, TABLA->RecNo());
}

void E_COMIS2::MODIFICAR() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  CommissionSchedule schedule = CommissionSchedule::read(*TABLA);
  ExceptionWindow window = ExceptionWindow::read(*TABLA);
  if (!E_COMIS(this, NEGOCIO, ScheduleMode::Exception, schedule, &window)) return;
  lib::MODIFY(*TABLA, [&] {
    window.write(*TABLA);
    schedule.write(*TABLA);
  });
  REFRESCA(false, TABLA->RecNo());
}

void E_COMIS2::BORRAR() {
  CALL_LEVEL();
  BORRA_REGISTRO("Desea borrar la Temporada?", {});
}

void CARGA_EXCEPCIONES(lib::WDBTable& working, const std::string& negocio, const std::string& agency) {
  lib::EACH_RECORD("DET_AGE3", "DET_AGE3", lib::businessKey(negocio) + lib::padded(agency, 15),
                   [&](const lib::WDBTable& row) {
                     const CommissionSchedule schedule = CommissionSchedule::read(row);
                     const ExceptionWindow window = ExceptionWindow::read(row);
                     lib::ADD(working, [&] {
                       working.FieldPut("NUM_REC", Value::num(row.RecNo()));
                       window.write(working);
                       schedule.write(working);
                     });
                   });
  working.GoTop();
}

void GRABA_EXCEPCIONES(lib::WDBTable& working, const std::string& negocio, const std::string& agency) {
  auto stored = lib::USE(nullptr, "DET_AGE3", "DET_AGE3");
  working.driver().setDeletedHidden(false);  // the rows the user removed are in the copy still
  working.SetOrder("");
  for (working.GoTop(); !working.Eof(); working.Skip()) {
    const uint32_t from = uint32_t(working.N("NUM_REC"));
    const CommissionSchedule schedule = CommissionSchedule::read(working);
    const ExceptionWindow window = ExceptionWindow::read(working);
    if (working.Deleted()) {
      if (!from) continue;  // added and removed again
      stored->GoTo(from);
      if (!stored->Eof() && !stored->Deleted()) lib::MODIFY(*stored, [&] { stored->Delete(); });
    } else if (!from) {
      lib::ADD(*stored, [&] {
        stored->FieldPut("NEGOCIO", Value::chars(negocio));
        stored->FieldPut("AGENCIA", Value::chars(agency));
        window.write(*stored);
        schedule.write(*stored);
      });
    } else {
      stored->GoTo(from);
      if (stored->Eof() || stored->Deleted()) continue;  // another workstation deleted it meanwhile
      lib::MODIFY(*stored, [&] {
        stored->FieldPut("AGENCIA", Value::chars(agency));
        window.write(*stored);
        schedule.write(*stored);
      });
    }
  }
  working.driver().setDeletedHidden(true);
  lib::KILLTABLA(stored);
}

}  // namespace agencies
