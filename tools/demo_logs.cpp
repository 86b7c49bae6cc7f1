#include "tools/demo_logs.h"

#include <string>
#include <vector>

#include "tools/demo_data.h"
#include "xbase/date.h"

namespace initdb {

namespace {

int32_t jan(int day) {
  return xbase::julianFromYmd(2026, 1, day);
}

std::string ddmmyy(int day) {
  return (day < 10 ? "0" : "") + std::to_string(day) + "/01/26";
}

// The report the error handler writes (app/error_handler.h): module, date, computer, user,
// message, detail.
std::string report(int day, const std::string& time, const std::string& computer, const std::string& user,
                   const std::string& message, const std::string& file, const std::vector<std::string>& calls) {
  std::string text = "Módulo  : CNF\r\nFecha/H.: " + ddmmyy(day) + " " + time + "\r\nComputer: " + computer +
                     "\r\nV32 WinUser : " + user + "\r\n" + message + "\r\nFile: " + file +
                     " GenCode: 21 OsCode: 2\r\n";
  for (const std::string& c : calls) text += "Called from " + c + "\r\n";
  return text;
}

struct Session {
  int day;
  const char *in, *out;
  const char *name, *abbreviation, *station, *host;
  const char* error;  // the error that ended it, or nullptr
};

}  // namespace

void addLogDemo(const std::string& home) {
  const Session sessions[] = {
      {5, "08:02:11", "16:45:30", "Administrador del Sistema", "ADM", "admin / RECEPCION-01", "RECEPCION-01", nullptr},
      {6, "07:55:40", "15:10:02", "Recepcionista de Turno", "REC", "recepcion / RECEPCION-02", "RECEPCION-02", nullptr},
      {8, "09:12:05", "09:40:18", "Administrador del Sistema", "ADM", "admin / GERENCIA", "GERENCIA",
       "Error DBFCDX/1012  Corrupción detectada en la tabla: BASES/UBIC_ROM.DBF"},
      {12, "08:30:00", "", "Recepcionista de Turno", "REC", "recepcion / RECEPCION-02", "RECEPCION-02", nullptr},
      {14, "10:05:47", "12:00:03", "Administrador del Sistema", "ADM", "admin / RECEPCION-01", "RECEPCION-01", nullptr},
  };
  auto logins = openTable(home, "LOG_E_S");
  for (const Session& s : sessions) {
    logins->append();
    logins->putDate("FECHA", jan(s.day));
    logins->putString("HORA", s.in);
    logins->putString("USUARIO", s.name);
    logins->putString("ID_USUARIO", s.abbreviation);
    logins->putString("INFO_USER", s.station);
    logins->putString("WS_HOST", s.host);
    logins->putString("MODULO", "CNF");
    if (*s.out) {
      logins->putDate("FECHA_SAL", jan(s.day));
      logins->putString("HORA_SAL", s.out);
    }
    if (s.error) {
      logins->putString("DESC_ERR", std::string(s.error) + "|Módulo  : CNF Computer: GERENCIA");
      logins->putString("ERR_CHECK", "*");
    }
  }
  logins.reset();

  struct Error {
    int day;
    const char* time;
    const char *computer, *user, *message, *file;
    std::vector<std::string> calls;
  };
  const Error errors[] = {
      {8,
       "09:40:12",
       "GERENCIA",
       "admin",
       "Error DBFCDX/1012  Corrupción detectada en la tabla: BASES/UBIC_ROM.DBF",
       "BASES/UBIC_ROM.DBF",
       {"UBIC_ROM:INIT(0)", "Principal:DO_ACTION(0)"}},
      {9,
       "11:20:45",
       "RECEPCION-02",
       "recepcion",
       "Error DBFCDX/1001  No se puede abrir el archivo: BASES/TRANSACS.DBF",
       "BASES/TRANSACS.DBF",
       {"TIPO_RO2:SAVE_DATOS(0)"}},
      {13,
       "17:02:31",
       "RECEPCION-01",
       "admin",
       "Error ADSCDX/7005  Se perdió la conexión con el servidor",
       "BASES/ENC_FOL.DBF",
       {"TAB_GENE:PROCESAR(0)"}},
  };
  auto failures = openTable(home, "ERROR");
  for (const Error& e : errors) {
    failures->append();
    failures->putDate("FECHA", jan(e.day));
    failures->putString("HORA", e.time);
    failures->putString("DESCRIP", e.message);
    failures->putString("DETALLE", report(e.day, e.time, e.computer, e.user, e.message, e.file, e.calls));
  }
  failures.reset();

  auto rollbacks = openTable(home, "LOG_ROLL");
  const struct {
    int day;
    const char *time, *user, *station, *reason;
    int transaction;
  } rolled[] = {{7, "12:14:09", "REC", "recepcion / RECEPCION-02 07/01/26 12:14:09",
                 "El dato se encuentra bloqueado: ENC_FOL00012/         5", 45},
                {13, "17:02:30", "ADM", "admin / RECEPCION-01 13/01/26 17:02:30",
                 "Error ADSCDX/7005  Se perdió la conexión con el servidor", 0}};
  for (const auto& r : rolled) {
    rollbacks->append();
    rollbacks->putDate("FECHA", jan(r.day));
    rollbacks->putString("HORA", r.time);
    rollbacks->putString("USUARIO", r.user);
    rollbacks->putString("INFO_USER", r.station);
    rollbacks->putString("MOTIVO", r.reason);
    if (r.transaction) rollbacks->putNumber("TRANS_ID", r.transaction);
  }
  rollbacks.reset();

  // The error mails the handler queued, and a confirmation the front desk sent.
  auto mails = openTable(home, "E_MSGS");
  for (const Error& e : errors) {
    mails->append();
    mails->putDate("FECHA", jan(e.day));
    mails->putString("HORA", e.time);
    mails->putString("TO_USER", "soporte@hotelprincipal.example");
    mails->putString("SUBJECT", "Error: Configuración Hotelería");
    mails->putString("BODY", report(e.day, e.time, e.computer, e.user, e.message, e.file, e.calls));
    mails->putString("USERNAME", "Hotel Principal");
    mails->putString("USERADDR", "sistemas@hotelprincipal.example");
    mails->putNumber("ENVIADO", e.day < 10 ? 1 : 0);
    mails->putNumber("LISTO", 1);
  }
  mails->append();
  mails->putDate("FECHA", jan(10));
  mails->putString("HORA", "10:31:00");
  mails->putString("TO_USER", "ana.rojas@correo.example");
  mails->putString("SUBJECT", "Confirmación de Reservación 000123");
  mails->putString("BODY", "Estimada Sra. Rojas:\r\nConfirmamos su reservación del 20 al 23 de enero.\r\n");
  mails->putString("USERNAME", "Recepción Hotel Principal");
  mails->putString("USERADDR", "recepcion@hotelprincipal.example");
  mails->putNumber("ENVIADO", 1);
  mails->putNumber("LISTO", 1);
}

}  // namespace initdb
