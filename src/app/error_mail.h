// Sending one plain-text mail through SMTP: what the error handler uses to report an
// error at once when the installation asks for it (DEFMAIL SENDMAIL = 1). Scheduled mails
// and the queue E_MSGS belong to the suite's mail sender, not to this.
#pragma once

#include <string>

namespace app {

struct MailMessage {
  std::string host;
  int port = 25;
  std::string fromName, fromAddress;
  std::string to;  // one address, or several separated by ";" or ","
  std::string subject;
  std::string body;  // UTF-8 text; lines may end in CR LF or LF
  // Log in with these when `authenticate` (DEFMAIL AUTORIZA = 1).
  bool authenticate = false;
  std::string user, password;
  // Connecting and the whole dialogue each give up after this: an error report must not
  // keep the user waiting on a dead server.
  long timeoutSeconds = 10;
};

// A message from this installation's mail settings (DEFMAIL, read at start-up: server,
// port, sender, authentication); the caller adds the recipients, subject and body.
MailMessage settingsMail();

// Sends the message; on failure returns false and, when `error` is given, says why. When
// `answer` is given it receives the server's last reply before its goodbye ("250 ... queued
// as ...", or the refusal that stopped the mail); empty when no server answered.
bool sendMail(const MailMessage& message, std::string* error = nullptr, std::string* answer = nullptr);

// The RFC 5322 text sendMail hands to the server (headers, blank line, body in CR LF lines).
std::string mailText(const MailMessage& message);

}  // namespace app
