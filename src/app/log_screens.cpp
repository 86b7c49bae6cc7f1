// The four logs of "Archivo > Mantenimientos" as viewer definitions: what each record lists
// (who, where, what) and its full text; the mail log also resends a message.
#include "app/error_mail.h"
#include "app/log_viewer.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/messages.h"
#include "screens/registry.h"
#include "xbase/number_text.h"

namespace app {

namespace {

using lib::WDBTable;

// A field the log may lack (older databases, sibling programs' tables).
std::string field(const WDBTable& t, const char* name) {
  return t.HasField(name) ? lib::trim(t.S(name)) : "";
}

std::string when(const WDBTable& t, const char* date, const char* time) {
  if (!t.HasField(date) || t.D(date) == 0) return "";
  return lib::DTOC(t.D(date)) + " " + field(t, time);
}

// The error report names the computer and the Windows user (app/error_handler.h).
LogDefinition errors() {
  LogDefinition d;
  d.screen = "VIEW_ERRORS";
  d.table = "ERROR";
  d.userHeading = "Usuario Windows";
  d.workstationHeading = "Computador";
  d.textHeading = "Error";
  d.textWidth = 80;  // the message names the table, path included
  d.row = [](const WDBTable& t) {
    const std::string report = t.S("DETALLE");
    return LogRow{reportLine(report, "V32 WinUser : "), reportLine(report, "Computer: "), t.S("DESCRIP"), "", ""};
  };
  d.detail = [](const WDBTable& t) { return t.S("DESCRIP") + "\r\r" + t.S("DETALLE"); };
  return d;
}

LogDefinition sessions() {
  LogDefinition d;
  d.screen = "VIEW_E_S";
  d.table = "LOG_E_S";
  d.userWidth = 32;  // the full name and the abbreviation
  d.textHeading = "Salida";
  d.textWidth = 17;
  d.otherHeading = "Módulo";
  d.otherWidth = 8;
  d.stateHeading = "Error";
  d.row = [](const WDBTable& t) {
    std::string user = field(t, "USUARIO");
    if (!field(t, "ID_USUARIO").empty()) user += " (" + field(t, "ID_USUARIO") + ")";
    return LogRow{user, field(t, "INFO_USER"), when(t, "FECHA_SAL", "HORA_SAL"), field(t, "MODULO"),
                  field(t, "ERR_CHECK") == "*" ? "Sí" : ""};
  };
  d.detail = [](const WDBTable& t) {
    std::string text = "Usuario: " + field(t, "USUARIO") + " (" + field(t, "ID_USUARIO") + ")\r";
    text += "Estación: " + field(t, "INFO_USER") + "\r";
    if (!field(t, "WS_HOST").empty()) text += "Equipo: " + field(t, "WS_HOST") + "\r";
    text += "Módulo: " + field(t, "MODULO") + "\r";
    text += "Entrada: " + when(t, "FECHA", "HORA") + "\r";
    const std::string out = when(t, "FECHA_SAL", "HORA_SAL");
    text += "Salida: " + (out.empty() ? std::string("(sin salida registrada)") : out) + "\r";
    if (!when(t, "POLL_F", "POLL_H").empty()) text += "Última señal: " + when(t, "POLL_F", "POLL_H") + "\r";
    if (field(t, "ERR_CHECK") == "*") text += "\rTerminó con un error:\r" + field(t, "DESC_ERR") + "\r";
    return text;
  };
  return d;
}

LogDefinition rollbacks() {
  LogDefinition d;
  d.screen = "VIEW_ROLLBACK";
  d.table = "LOG_ROLL";
  d.textHeading = "Motivo";
  d.textWidth = 80;         // the message names the table, path included
  d.workstationWidth = 36;  // the workstation with the date and time of the rollback
  d.otherHeading = "Transacción";
  d.otherWidth = 10;
  auto transaction = [](const WDBTable& t) {
    return t.N("TRANS_ID") != 0 ? xbase::decimalText(t.N("TRANS_ID"), 0) : std::string();
  };
  d.row = [transaction](const WDBTable& t) {
    return LogRow{field(t, "USUARIO"), field(t, "INFO_USER"), field(t, "MOTIVO"), transaction(t), ""};
  };
  d.detail = [transaction](const WDBTable& t) {
    std::string text = "Usuario: " + field(t, "USUARIO") + "\r";
    text += "Estación: " + field(t, "INFO_USER") + "\r";
    text += "Transacción: " + (transaction(t).empty() ? std::string("(sin número)") : transaction(t)) + "\r";
    text += "\rMotivo:\r" + field(t, "MOTIVO") + "\r";
    return text;
  };
  return d;
}

std::string mailState(const WDBTable& t) {
  if (t.N("ENVIADO") == 1) return "Enviado";
  return t.N("LISTO") == 1 ? "En cola" : "En preparación";
}

// Sends a message of the queue now, with this installation's mail settings; it is then
// marked sent, so that the suite's mail sender does not send it again.
bool RESEND(WDBTable& t) {
  if (t.N("ENVIADO") == 1 && !screens::confirm("El mensaje ya fue enviado.\r¿Desea enviarlo de nuevo?")) return false;
  MailMessage m = settingsMail();
  if (!field(t, "USERADDR").empty()) {
    m.fromName = field(t, "USERNAME");
    m.fromAddress = field(t, "USERADDR");
  }
  m.to = field(t, "TO_USER");
  m.subject = field(t, "SUBJECT");
  m.body = t.S("BODY");
  std::string why, answer;
  if (!sendMail(m, &why, &answer)) {
    screens::error("No se pudo enviar el mensaje.\r" + why +
                   (answer.empty() ? "" : "\rEl servidor respondió: " + answer));
    return false;
  }
  lib::MODIFY(t, [&] { t.FieldPut("ENVIADO", lib::Value::num(1)); });
  screens::notice("Mensaje enviado a " + m.to + (answer.empty() ? "" : ".\rEl servidor respondió: " + answer));
  return true;
}

LogDefinition mails() {
  LogDefinition d;
  d.screen = "E_MSGS";
  d.table = "E_MSGS";
  d.userHeading = "Remitente";
  d.textHeading = "Asunto";
  d.textWidth = 36;
  d.otherHeading = "Para";
  d.otherWidth = 30;
  d.stateHeading = "Estado";
  // Error reports carry the computer they came from.
  d.row = [](const WDBTable& t) {
    return LogRow{field(t, "USERNAME"), reportLine(t.S("BODY"), "Computer: "), field(t, "SUBJECT"), field(t, "TO_USER"),
                  mailState(t)};
  };
  d.detail = [](const WDBTable& t) {
    std::string text = "De: " + field(t, "USERNAME") + " <" + field(t, "USERADDR") + ">\r";
    text += "Para: " + field(t, "TO_USER") + "\r";
    text += "Asunto: " + field(t, "SUBJECT") + "\r";
    text += "Estado: " + mailState(t) + "\r\r";
    return text + t.S("BODY");
  };
  d.action = RESEND;
  return d;
}

}  // namespace

void registerLogViewers() {
  for (const LogDefinition& d : {errors(), sessions(), rollbacks(), mails()})
    screens::registerScreen(
        d.screen, [d](const screens::ScreenRequest& r) { screens::OPEN<LOG_VIEWER>(d, r.dialog, r.business); });
}

}  // namespace app
