#include "app/error_mail.h"

#include "lib/globals.h"
#include "lib/text.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <vector>

namespace app {

namespace {

using lib::trim;

// Header values come from tables the users edit: a stray line break must not start a header.
std::string oneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

bool isAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

std::string base64(const std::string& in) {
  static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    uint32_t n = uint32_t(uint8_t(in[i])) << 16 | uint32_t(uint8_t(in[i + 1])) << 8 | uint8_t(in[i + 2]);
    for (int k = 18; k >= 0; k -= 6) out += digits[(n >> k) & 63];
  }
  if (i < in.size()) {
    uint32_t n = uint32_t(uint8_t(in[i])) << 16;
    if (i + 1 < in.size()) n |= uint32_t(uint8_t(in[i + 1])) << 8;
    out += digits[(n >> 18) & 63];
    out += digits[(n >> 12) & 63];
    out += i + 1 < in.size() ? digits[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// RFC 2047 encoded word for text that is not plain ASCII (accents in names and subjects).
std::string headerText(const std::string& s) {
  std::string line = oneLine(s);
  return isAscii(line) ? line : "=?UTF-8?B?" + base64(line) + "?=";
}

// "Name <a@b>" or "a@b" → "a@b".
std::string bareAddress(const std::string& s) {
  size_t lt = s.find('<'), gt = s.rfind('>');
  if (lt != std::string::npos && gt != std::string::npos && gt > lt) return trim(s.substr(lt + 1, gt - lt - 1), " \t");
  return trim(s, " \t");
}

std::vector<std::string> recipients(const std::string& to) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t cut = to.find_first_of(";,", start);
    std::string one = bareAddress(to.substr(start, cut == std::string::npos ? std::string::npos : cut - start));
    if (!one.empty()) out.push_back(oneLine(one));
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  return out;
}

std::string dateHeader() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char buf[64];
  // The C locale's names are the English ones RFC 5322 wants.
  std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S +0000", &utc);
  return buf;
}

struct Upload {
  const std::string* text;
  size_t offset = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
  auto* u = static_cast<Upload*>(user);
  size_t n = std::min(size * count, u->text->size() - u->offset);
  std::memcpy(buffer, u->text->data() + u->offset, n);
  u->offset += n;
  return n;
}

void globalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

// The server's replies as they come: the last one that is not its goodbye (221) is kept.
int keepReply(CURL*, curl_infotype type, char* data, size_t size, void* into) {
  if (type != CURLINFO_HEADER_IN) return 0;
  std::string line = trim(std::string(data, size), " \r\n");
  if (!line.empty() && line.rfind("221", 0) != 0) *static_cast<std::string*>(into) = line;
  return 0;
}

}  // namespace

std::string mailText(const MailMessage& m) {
  std::vector<std::string> to = recipients(m.to);
  std::string toLine;
  for (const std::string& a : to) toLine += (toLine.empty() ? "" : ", ") + a;
  std::string from = oneLine(bareAddress(m.fromAddress));
  std::string fromName = trim(m.fromName, " \t");
  std::string text;
  text += "Date: " + dateHeader() + "\r\n";
  text += "From: " + (fromName.empty() ? from : headerText(fromName) + " <" + from + ">") + "\r\n";
  text += "To: " + toLine + "\r\n";
  text += "Subject: " + headerText(m.subject) + "\r\n";
  text += "MIME-Version: 1.0\r\n";
  text += "Content-Type: text/plain; charset=UTF-8\r\n";
  text += "Content-Transfer-Encoding: 8bit\r\n";
  text += "\r\n";
  // Every line ends in CR LF, as SMTP wants; libcurl escapes leading dots itself.
  for (size_t i = 0; i < m.body.size(); ++i) {
    char c = m.body[i];
    if (c == '\r') {
      text += "\r\n";
      if (i + 1 < m.body.size() && m.body[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      text += "\r\n";
    } else {
      text += c;
    }
  }
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
  return text;
}

MailMessage settingsMail() {
  const lib::Globals& g = lib::G();
  MailMessage m;
  m.host = g.XEMAILHOST;
  m.port = g.XEMAIL_SMTP_PORT.value_or(25);
  m.fromName = g.XEMAILNAME;
  m.fromAddress = g.XEMAILADDR;
  m.authenticate = g.XEMAILAUTH == 1;
  m.user = g.XEMAIL_AU;
  m.password = g.XEMAIL_AP;
  return m;
}

bool sendMail(const MailMessage& m, std::string* error, std::string* answer) {
  std::string host = trim(m.host, " \t");
  if (host.empty()) return fail(error, "no hay servidor de correo (DEFMAIL HOST)");
  std::vector<std::string> to = recipients(m.to);
  if (to.empty()) return fail(error, "no hay destinatario");
  globalInit();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) return fail(error, "curl_easy_init falló");

  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcpt(nullptr, &curl_slist_free_all);
  for (const std::string& a : to) {
    curl_slist* grown = curl_slist_append(rcpt.get(), ("<" + a + ">").c_str());
    if (!grown) return fail(error, "sin memoria");
    rcpt.release();
    rcpt.reset(grown);
  }
  std::string url = "smtp://" + host + ":" + std::to_string(m.port > 0 ? m.port : 25);
  std::string from = "<" + oneLine(bareAddress(m.fromAddress)) + ">";
  std::string text = mailText(m);
  Upload upload{&text};
  char errorBuffer[CURL_ERROR_SIZE] = {};

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
  curl_easy_setopt(c, CURLOPT_READFUNCTION, readUpload);
  curl_easy_setopt(c, CURLOPT_READDATA, &upload);
  curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, m.timeoutSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, m.timeoutSeconds);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
  // Encrypt when the server offers it, send plainly when it does not (port 25 inside a hotel).
  curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
  if (m.authenticate) {
    curl_easy_setopt(c, CURLOPT_USERNAME, m.user.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, m.password.c_str());
  }
  std::string reply;
  curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, keepReply);
  curl_easy_setopt(c, CURLOPT_DEBUGDATA, &reply);
  curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);  // the replies reach keepReply only so
  CURLcode rc = curl_easy_perform(c);
  if (answer) *answer = reply;
  if (rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_OPERATION_TIMEDOUT)
    // What the user can act on, the same each time (the library's text carries timings).
    return fail(error, "No hay conexión con el servidor de correo " + host + " (puerto " +
                           std::to_string(m.port > 0 ? m.port : 25) + ").");
  if (rc != CURLE_OK) return fail(error, url + ": " + (errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc)));
  return true;
}

}  // namespace app
