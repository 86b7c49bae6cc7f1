#include "support/fake_smtp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

namespace {

void say(int c, const std::string& text) {
  send(c, text.data(), text.size(), MSG_NOSIGNAL);
}

}  // namespace

int closedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t n = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
  close(fd);
  return ntohs(a.sin_port);
}

FakeSmtp::FakeSmtp(bool offerAuth, bool refuseRecipients) : offerAuth_(offerAuth), refuseRecipients_(refuseRecipients) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 1) != 0) return;
  socklen_t n = sizeof a;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &n);
  port = ntohs(a.sin_port);
  thread_ = std::thread([this] { serve(); });
}

FakeSmtp::~FakeSmtp() {
  finish();
  close(listener_);
}

void FakeSmtp::finish() {
  if (thread_.joinable()) thread_.join();
}

bool FakeSmtp::readLine(int c, std::string& line) {
  for (;;) {
    size_t eol = buffer_.find("\r\n");
    if (eol != std::string::npos) {
      line = buffer_.substr(0, eol);
      buffer_.erase(0, eol + 2);
      return true;
    }
    pollfd pf{c, POLLIN, 0};
    if (poll(&pf, 1, 10000) <= 0) return false;
    char chunk[4096];
    ssize_t got = recv(c, chunk, sizeof chunk, 0);
    if (got <= 0) return false;
    buffer_.append(chunk, size_t(got));
  }
}

void FakeSmtp::serve() {
  pollfd pf{listener_, POLLIN, 0};
  if (poll(&pf, 1, 10000) <= 0) return;
  int c = accept(listener_, nullptr, nullptr);
  if (c < 0) return;
  say(c, "220 fake ESMTP\r\n");
  std::string line;
  bool inData = false, awaitingCredentials = false;
  while (readLine(c, line)) {
    if (inData) {
      if (line == ".") {
        inData = false;
        say(c, "250 queued as 4711\r\n");
      } else {
        data += line + "\r\n";
      }
      continue;
    }
    if (awaitingCredentials) {
      awaitingCredentials = false;
      credentials = line;
      say(c, "235 ok\r\n");
      continue;
    }
    commands.push_back(line);
    std::string verb = line.substr(0, 4);
    if (verb == "EHLO") {
      say(c, offerAuth_ ? "250-fake\r\n250-AUTH PLAIN\r\n250 OK\r\n" : "250-fake\r\n250 OK\r\n");
    } else if (verb == "AUTH") {
      if (line.size() > 11) {  // "AUTH PLAIN <credentials>"
        credentials = line.substr(11);
        say(c, "235 ok\r\n");
      } else {
        awaitingCredentials = true;
        say(c, "334 \r\n");
      }
    } else if (verb == "RCPT" && refuseRecipients_) {
      say(c, "550 5.1.1 mailbox unavailable\r\n");
    } else if (verb == "MAIL" || verb == "RCPT" || verb == "HELO" || verb == "RSET" || verb == "NOOP") {
      say(c, "250 ok\r\n");
    } else if (verb == "DATA") {
      inData = true;
      say(c, "354 go ahead\r\n");
    } else if (verb == "QUIT") {
      say(c, "221 bye\r\n");
      break;
    } else {
      say(c, "500 what\r\n");
    }
  }
  close(c);
}

}  // namespace testing_support
