#include "guests/b_huesp.h"

#include <memory>

#include "guests/b_huesp2.h"
#include "guests/dup_huesp.h"
#include "guests/e_huesp.h"
#include "guests/frequent_guest.h"
#include "guests/guest_exchange.h"
#include "guests/guest_rules.h"
#include "guests/guest_sync.h"
#include "guests/import_review.h"
#include "lib/messages.h"
#include "lib/multitask.h"
#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"
#include "win/dialog_window.h"
#include "win/message_box.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace guests {

namespace {

using lib::Value;

constexpr int kHistoryButton = 201;
constexpr int kPhones = 801, kBox = 802, kAddress = 803, kCountry = 804, kNotes = 805, kReservationNotes = 806;
constexpr int kNotesLabel = 811, kReservationNotesLabel = 812;
constexpr uint32_t kInactive = 0xFFFF80, kActive = 0x5AFF5A;
constexpr int kFirstYear = 1990;

// The texts shown in a dialog while a long run goes on.
struct WaitCursor {
  int previous = win::WDIAG::WAIT_CURSOR();
  ~WaitCursor() { win::WDIAG::SET_CURSOR(previous); }
};

void confirmation(const std::string& text) {
  screens::notice(text, "Confirmación");
}

}  // namespace

B_HUESP::B_HUESP(const std::string& dialog, const std::string& negocio)
    : LIST_SCREEN(dialog, negocio,
                  {"H_HUES",
                   "H_HUES9",
                   kMenuId,
                   {{"Nombre", "NOMBRE_C", std::string(40, 'X')},
                    {"Cédula", "CEDULA", std::string(20, 'X')},
                    {"#Cliente Frec", "CLIENTE_F", std::string(15, 'X'), 0, 10},
                    {"email", "EMAIL", std::string(40, 'X')}},
                   true}) {}

void B_HUESP::AbrirBases() {
  LIST_SCREEN::AbrirBases();
  PAISES = USE("PAISES", "PAISES");
  DET_PAIS = USE("DET_PAIS", "DET_PAIS");
  frecuentes_ = programaFrecuente();
}

void B_HUESP::BOTONES() {
  ADD_BUTTON(kHistoryButton, [this] { HISTORIA(); });
  for (int id : {kNotes, kReservationNotes})
    if (HasControl(id)) ADD(std::make_unique<win::WEDIT>(this, id))->ReadOnly(true);
}

// The three orders by heading; members of the programme coloured while it is on.
void B_HUESP::ConfigBrow() {
  FIX_OBJ(kHistoryButton, 2);
  for (int id : {kPhones, kBox, kAddress, kCountry}) FIX_OBJ(id, 2);
  for (int id : {kNotes, kReservationNotes, kNotesLabel, kReservationNotesLabel}) FIX_OBJ(id, 3);
  lib::SELECT(TABLA->Area);
  OB->useMaintenanceLook();
  if (frecuentes_)
    OB->rowColorBlock = [this](win::WBLISTBOX&) -> std::optional<uint32_t> {
      if (TABLA->N("CLIEN_FREC") != 1) return std::nullopt;
      return TABLA->N("STAT_FREC") == 1 ? kInactive : kActive;
    };
  OB->selectblock = [this](win::WBLISTBOX&) { MUESTRA_DETALLE(); };
  BROWMARKS(*OB, {{1, "H_HUES9"}, {2, "H_HUES4"}, {3, "H_HUES14"}}, 1, NEGOCIO);
  MUESTRA_DETALLE();
}

bool B_HUESP::programaFrecuente() const {
  bool on = false;
  lib::EACH_RECORD("F_HOTEL3", "F_HOTEL3", lib::businessKey(NEGOCIO),
                   [&](const lib::WDBTable& h) { on = on || h.N("CLIE_FREC") == 1; });
  return on;
}

void B_HUESP::MUESTRA_DETALLE() {
  if (!window()) return;
  std::string phones, box, address, country, notes, reservationNotes;
  if (hasRecord()) {
    const lib::WDBTable& t = *TABLA;
    phones = lib::trim(t.S("TELEFONO1")) + "/" + lib::trim(t.S("TELEFONO2"));
    box = lib::trim(t.S("APARTADO"));
    address = lib::trim(t.S("CIUDAD"));
    const std::string code = t.S("PAIS"), state = t.S("ESTADO_GEO");
    const std::string key = lib::businessKey(NEGOCIO) + PAISES->KeyPart("CODIGO", code);
    country = PAISES->Seek(key) ? lib::trim(PAISES->S("DESCRIP")) : lib::trim(code);
    const std::string stateKey =
        lib::businessKey(NEGOCIO) + DET_PAIS->KeyPart("COD_PAIS", code) + DET_PAIS->KeyPart("CODIGO", state);
    country += "  Estado: " + (DET_PAIS->Seek(stateKey) ? lib::trim(DET_PAIS->S("DESCRIP")) : lib::trim(state));
    notes = t.S("ANOTACION");
    reservationNotes = t.S("NOTAS_RES");
  }
  SetDlgItemText(kPhones, "Teléfonos: " + phones);
  SetDlgItemText(kBox, "Apartado: " + box);
  SetDlgItemText(kAddress, "Direccion: " + address);
  SetDlgItemText(kCountry, "País: " + country);
  SetDlgItemText(kNotes, notes);
  SetDlgItemText(kReservationNotes, reservationNotes);
}

bool B_HUESP::hayHuesped() {
  if (hasRecord()) return true;
  screens::error("No hay un huésped seleccionado.");
  return false;
}

void B_HUESP::ADD_HUESP() {
  screens::OPEN<E_HUESP>(this, NEGOCIO, E_HUESP::kAdd);
}

void B_HUESP::MOD_HUESP() {
  if (hasRecord()) screens::OPEN<E_HUESP>(this, NEGOCIO, E_HUESP::kModify);
}

// The guest and its family members (unless another guest of the business unit has the
// same document); its notes and reservation history stay.
void B_HUESP::DEL_HUESP() {
  CALL_LEVEL();
  if (!hasRecord()) return;
  const uint32_t guest = TABLA->RecNo();
  const std::string document = lib::trim(TABLA->S("CEDULA"));
  BORRA_REGISTRO("Desea borrar el dato?", [&](win::WAIT&) {
    if (document.empty()) return;
    bool shared = false;
    lib::EACH_RECORD("H_HUES", "H_HUES4", lib::businessKey(NEGOCIO) + TABLA->KeyPart("CEDULA", document),
                     [&](const lib::WDBTable& h) { shared = shared || h.RecNo() != guest; });
    if (shared) return;
    auto family = lib::USE(nullptr, "D_HUES", "D_HUES");
    family->SetScope(lib::businessKey(NEGOCIO) + family->KeyPart("CEDULA", document));
    std::vector<uint32_t> members;
    for (family->GoTop(); !family->Eof(); family->Skip()) members.push_back(family->RecNo());
    family->ClearScope();
    for (uint32_t m : members) {
      family->GoTo(m);
      lib::MODIFY(*family, [&] { family->Delete(); });
    }
    lib::KILLTABLA(family);
  });
  MUESTRA_DETALLE();
}

// A guest without a profile there has nothing to delete or to bring: refused.
void B_HUESP::BORRAR_SYNC() {
  CALL_LEVEL();
  if (!hayHuesped()) return;
  lib::WDBTable& t = *TABLA;
  if (lib::trim(t.S("ID_ORIG")).empty() && lib::trim(t.S("ID_SABRE")).empty()) {
    screens::error("El huésped no tiene Profile de Sabre");
    return;
  }
  if (!screens::confirm("Desea borrar el Profile Sabre?")) return;
  SabreRequest request;
  request.tipo = kDeleteProfile;
  request.agencia = t.S("ID_ORIG");
  QUEUE_SABRE(NEGOCIO, request);
  lib::MODIFY(t, [&] {
    screens::CON_HISTORIAL(t, [&] {
      t.FieldPut("ID_ORIG", Value::chars(""));
      t.FieldPut("ID_SABRE", Value::chars(""));
    });
  });
  REFRESCA(false, t.RecNo());
}

void B_HUESP::SYNC_FECHAS() {
  CALL_LEVEL();
  int32_t from = 0, to = 0;
  const int answer = win::DIALOG_BOX("SYNC_FECHAS", this,
                                     {[](win::ModalDialog& d) {
                                        d.SetDlgItemText(501, lib::DTOC(lib::XDATE()));
                                        d.SetDlgItemText(502, lib::DTOC(lib::XDATE()));
                                        d.SetFocusTo(501);
                                      },
                                      [&](win::ModalDialog& d) {
                                        const lib::TypedDate a = lib::readDate(d.GetDlgItemText(501)),
                                                             b = lib::readDate(d.GetDlgItemText(502));
                                        for (auto [date, id] : {std::pair{a, 501}, {b, 502}})
                                          if (date.unreadable || date.empty()) {
                                            screens::error("Fecha inválida");
                                            d.SetFocusTo(id);
                                            return false;
                                          }
                                        if (a.julian > b.julian || xbase::ymdFromJulian(a.julian).year < kFirstYear ||
                                            xbase::ymdFromJulian(b.julian).year < kFirstYear) {
                                          screens::error("Rango de fechas mal definido");
                                          d.SetFocusTo(501);
                                          return false;
                                        }
                                        from = a.julian;
                                        to = b.julian;
                                        return true;
                                      }});
  if (answer != win::IDOK) return;
  SabreRequest request;
  request.tipo = kSyncRequest;
  request.subtipo = 0;
  request.desde = from;
  request.hasta = to;
  QUEUE_SABRE(NEGOCIO, request);
  confirmation("Sincronización programada");
}

void B_HUESP::SYNC_PROFILE() {
  CALL_LEVEL();
  if (!hayHuesped()) return;
  if (lib::trim(TABLA->S("ID_SABRE")).empty()) {
    screens::error("El huésped no tiene Profile de Sabre");
    return;
  }
  if (!screens::confirm("Desea sincronizar el Profile desde Sabre?")) return;
  SabreRequest request;
  request.tipo = kSyncRequest;
  request.subtipo = 1;
  request.idPms = TABLA->S("ID_SABRE");
  QUEUE_SABRE(NEGOCIO, request);
  confirmation("Sincronización programada");
}

// The dialog proposes the date of the last export and "??????", the mail option on; the
// document of each guest whose stays are copied is shown while the export runs.
void B_HUESP::EXPORTAR() {
  CALL_LEVEL();
  int32_t last = 0;
  lib::EACH_RECORD("F_HOTEL", "F_HOTEL", lib::businessKey(NEGOCIO),
                   [&](const lib::WDBTable& h) { last = h.D("F_H_HUESP"); });
  ExportResult result;
  std::string name;
  const int answer =
      win::DIALOG_BOX("EXPORTA_H_HUESP", this,
                      {[&](win::ModalDialog& d) {
                         d.SetDlgItemText(501, lib::DTOC(last));
                         d.SetDlgItemText(502, "??????");
                         win::WEDIT(&d, 502).SetLimit(6);
                         d.CheckDlgButton(1001, true);
                         d.SetFocusTo(502);
                       },
                       [&](win::ModalDialog& d) {
                         const lib::TypedDate from = lib::readDate(d.GetDlgItemText(501));
                         if (from.unreadable) {
                           screens::error("Fecha inválida");
                           d.SetFocusTo(501);
                           return false;
                         }
                         name = lib::trim(d.GetDlgItemText(502));
                         if (std::string problem = FILE_NAME_PROBLEM(name); !problem.empty()) {
                           screens::error(problem);
                           d.SetFocusTo(502);
                           return false;
                         }
                         if (d.IsDlgButtonChecked(1001))
                           if (std::string problem = EXPORT_MAIL_PROBLEM(d.GetDlgItemText(503)); !problem.empty()) {
                             screens::error(problem);
                             d.SetFocusTo(503);
                             return false;
                           }
                         WaitCursor cursor;
                         result = EXPORTA_HUESPEDES(NEGOCIO, from.julian, name, [&](const std::string& document) {
                           d.SetDlgItemText(801, document);
                           lib::MULTITASK();
                         });
                         return true;
                       }});
  if (answer != win::IDOK) return;
  screens::notice("Archivos EH" + name + " y RH" + name + " creados en F_EXPORT.\nHuéspedes: " +
                  std::to_string(result.guests) + "\nReservas: " + std::to_string(result.stays));
}

// The files are checked before anything is written: the records left out are listed in the
// dialog with their record numbers and reasons (a second "Aceptar" goes on without them), and
// the user is asked before the import writes.
void B_HUESP::IMPORTAR() {
  CALL_LEVEL();
  std::string name, checked;
  ImportCheck check;
  const int answer = win::DIALOG_BOX("IMPORTA_H_HUESP", this,
                                     {[&](win::ModalDialog& d) {
                                        win::CLISTBOX files(&d, 901);
                                        for (const std::string& n : ARCHIVOS_IMPORTACION()) files.Add(n, n);
                                        d.SetDlgItemText(502, "??????");
                                        win::WEDIT(&d, 502).SetLimit(6);
                                        d.SetFocusTo(502);
                                      },
                                      [&](win::ModalDialog& d) {
                                        name = lib::trim(d.GetDlgItemText(502));
                                        if (std::string problem = FILE_NAME_PROBLEM(name); !problem.empty()) {
                                          screens::error(problem);
                                          d.SetFocusTo(502);
                                          return false;
                                        }
                                        if (auto missing = FALTANTES_IMPORTACION(name); !missing.empty()) {
                                          screens::error("Archivo no se encuentra: " + missing.front());
                                          d.SetFocusTo(502);
                                          return false;
                                        }
                                        if (name == checked) return true;  // the problems shown, the user goes on
                                        {
                                          WaitCursor cursor;
                                          check = CHECK_IMPORT(NEGOCIO, name);
                                        }
                                        checked = name;
                                        win::CLISTBOX problems(&d, 903);
                                        problems.Clear();
                                        for (const std::string& line : LINEAS_PROBLEMAS(check)) problems.Add(line);
                                        d.SetDlgItemText(803, RESUMEN_PROBLEMAS(check));
                                        return check.problems.empty();
                                      },
                                      [](win::ModalDialog& d, int id, int notification) {
                                        if (id != 901 || notification != win::LBN_SELCHANGE) return false;
                                        d.SetDlgItemText(502, win::CLISTBOX(&d, 901).CurCargo());
                                        return true;
                                      }});
  if (answer != win::IDOK || !screens::confirm(PREGUNTA_IMPORTACION(check))) return;
  ImportResult result;
  SIN_GRID([&] {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Importando huéspedes...");
    result = IMPORTA_HUESPEDES(NEGOCIO, name, check, [&](int done) {
      wait.PUT_TEXT("Un momento por favor...", "Importando huéspedes...",
                    "Rev: " + lib::TRANSFORM_NUMBER(done, "999,999,999,999"));
      lib::MULTITASK();
    });
    wait.TERMINAR();
  });
  OB->CountScope();
  OB->GOTOP();
  OB->REFRESHALL();
  MUESTRA_DETALLE();
  screens::notice("Huéspedes nuevos: " + std::to_string(result.added) + "\nHuéspedes actualizados: " +
                  std::to_string(result.updated) + "\nReservas: " + std::to_string(result.stays));
}

void B_HUESP::ACT_MAILS() {
  CALL_LEVEL();
  if (!screens::confirm("Desea actualizar ref. mails válidos?")) return;
  SIN_GRID([&] {
    win::WAIT wait(this);
    wait.PUT_TEXT("Un momento por favor...", "Actualizando índice...");
    auto guests = lib::USE(nullptr, "H_HUES", "H_HUES");
    guests->SetScope(lib::businessKey(NEGOCIO));
    long count = 0;
    for (guests->GoTop(); !guests->Eof(); guests->Skip()) {
      const int valid = VALID_MAIL(guests->S("EMAIL"));
      if (guests->N("VALID_MAIL") != valid)
        lib::MODIFY(*guests, [&] { guests->FieldPut("VALID_MAIL", Value::num(valid)); });
      if (++count % 100 == 0) {
        lib::MULTITASK();
        wait.PUT_TEXT("Un momento por favor...", "Actualizando índice...",
                      "Rev: " + lib::TRANSFORM_NUMBER(double(count), "999,999,999,999"));
      }
    }
    lib::KILLTABLA(guests);
    wait.TERMINAR();
  });
  REFRESCA(false);
}

void B_HUESP::REG_FRECUENTE() {
  CALL_LEVEL();
  if (!frecuentes_) {
    screens::error("El programa de cliente frecuente no está activado");
    return;
  }
  if (!hayHuesped()) return;
  if (TABLA->N("CLIEN_FREC") == 1) {
    screens::error("No se puede registrar un cliente frecuente dos veces");
    return;
  }
  if (E_HUESP2(this, *TABLA, NEGOCIO)) REFRESCA(false, TABLA->RecNo());
}

void B_HUESP::QUITAR_FRECUENTE() {
  CALL_LEVEL();
  if (!frecuentes_) {
    screens::error("El programa de cliente frecuente no está activado");
    return;
  }
  if (!hayHuesped()) return;
  if (TABLA->N("CLIEN_FREC") != 1) {
    screens::error("El huesped no pertenece al programa de cliente frecuente. No se puede quitar la membresia");
    return;
  }
  if (E_HUESP3(this, *TABLA)) REFRESCA(false, TABLA->RecNo());
}

void B_HUESP::ACTIVAR_FRECUENTE() {
  CALL_LEVEL();
  if (!frecuentes_) {
    screens::error("El programa de cliente frecuente no está activado");
    return;
  }
  if (!hayHuesped()) return;
  if (TABLA->N("CLIEN_FREC") != 1) {
    screens::error("El huesped no pertenece al programa de cliente frecuente. No se puede activar la membresia");
    return;
  }
  if (TABLA->N("STAT_FREC") == 0) {
    screens::error("El huesped ya tiene la membresia activa.");
    return;
  }
  screens::OPEN<E_HUESP>(this, NEGOCIO, E_HUESP::kModify, true);
}

void B_HUESP::DUPLICADOS() {
  CALL_LEVEL();
  screens::OPEN<DUP_HUESP>(NEGOCIO);
}

void B_HUESP::HISTORIA() {
  CALL_LEVEL();
  if (!hayHuesped()) return;
  screens::OPEN<B_HUESP2>(this, NEGOCIO, TABLA->S("CEDULA"), lib::trim(TABLA->S("NOMBRE_C")));
}

}  // namespace guests
