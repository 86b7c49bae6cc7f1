// The logs of the demo folder: a few days of logins, run-time errors, rolled-back server
// transactions and mails in the queue, so that the log viewers have something to show.
#pragma once

#include <string>

namespace initdb {

void addLogDemo(const std::string& home);

}  // namespace initdb
