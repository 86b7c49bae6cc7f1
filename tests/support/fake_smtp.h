// An SMTP server for one mail, on a port of the loopback interface, and a port on which
// nothing listens: what the tests of mailing talk to.
#pragma once

#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// A port on which nothing listens: bound once, then let go.
int closedPort();

// Just enough of an SMTP server for one mail: greeting, EHLO, optional AUTH PLAIN, MAIL,
// RCPT (refused with 550 when asked to), DATA, QUIT. Every wait gives up after 10 s so that
// a broken client cannot hang the test.
class FakeSmtp {
 public:
  explicit FakeSmtp(bool offerAuth = false, bool refuseRecipients = false);
  ~FakeSmtp();
  FakeSmtp(const FakeSmtp&) = delete;
  FakeSmtp& operator=(const FakeSmtp&) = delete;
  // Waits until the mail's dialogue is over.
  void finish();

  int port = 0;
  std::vector<std::string> commands;
  std::string data;  // what came after DATA, up to the final "."
  std::string credentials;

 private:
  bool readLine(int c, std::string& line);
  void serve();

  bool offerAuth_, refuseRecipients_;
  int listener_ = -1;
  std::thread thread_;
  std::string buffer_;
};

}  // namespace testing_support
