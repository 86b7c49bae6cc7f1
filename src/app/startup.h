// Start-up of the program, up to the point where the main window takes over: the
// process-wide state, settings of the run time, the storage driver (the shared folder, or
// the database server named by ADS.DEF, with the connection to it), the remote-session
// flag, the kept-open DUMMYADS table and the logo name.
#pragma once

#include <string>

namespace app {

enum class StartResult { Ready, End };

// The program folder: --home, else CONFIGURA_HOME, else the executable's folder; always
// ending in '/'.
std::string programFolder(const std::string& executable, const std::string& homeOption = "");

// Steps 1 to 7 of start-up. End means the program must stop now (no server answered).
// The state is fresh afterwards unless `keepState` (tests prepare services first).
StartResult startCore(const std::string& folder, bool keepState = false);

// One entry ("sessions", "server_version", ...) of the server installation information
// read at start-up; "" when there is none.
std::string serverInstallInfo(const std::string& key);

// The ADS.DEF part: reads the file into XADSPARAMS, applies lines 21-27, and connects.
StartResult chooseStorage();

}  // namespace app
