// The end of a session: the logout time in the session's LOG_E_S record, the temporary
// files, and the table kept open since start-up.
#pragma once

namespace app {

// Writes FECHA_SAL and HORA_SAL into the session record (XREC_E_S) under the lock protocol.
void LOG_OUT();
// Normal exit: log out, clean the local temporary folder, close DUMMYADS.
void EXIT_SESSION();
// Exit without logout (refused login, abandoned session lock, forced exit).
void EXIT_LOGIN();

}  // namespace app
