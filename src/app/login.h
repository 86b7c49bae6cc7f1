// The login and the checks of a user's credentials: the login dialog XLOGINUSR, the
// session unlock and the business change (which check the same way), the scrambling of
// plain passwords, the attempt counting and the lock on exhausted wrong passwords, the
// global login lock and the leave-the-system flag, and the password renewal.
#pragma once

#include <optional>
#include <string>

namespace lib {
class WDBTable;
}

namespace app {

class UserLogin {
 public:
  enum class Outcome { Accepted, TryAgain, Refused, EndProgram };
  enum class Mode { Login, Session, Change };

  // The login dialog; true when a user logged in (the process-wide state holds the user and
  // the business). False when it was cancelled or refused: the program ends.
  bool Login(const std::string& title);

  // One check of name and password for `business`, with every rule of the login (Mode::Login)
  // or of the re-checks (Session: the active business; Change: the chosen one).
  Outcome Verificar(const std::string& name, const std::string& password, const std::string& business,
                    Mode mode = Mode::Login);
  // The session unlock: only the session's own user (`loginName`) may unlock it; another
  // name is refused with a message (TryAgain, not counted as a failure) and changes nothing.
  Outcome Verif_Session(const std::string& name, const std::string& password);
  Outcome VERIF_CHANGE(const std::string& name, const std::string& password, const std::string& business);

  int failures = 0;  // of this dialog
  std::string loginName;
  std::string fullName;
};

// The limits of a business's passwords (NEGOCIOS), 0 where a field is missing.
struct BusinessLimits {
  int intentos = 0, diasClave = 0, sizeClave = 0;
  bool hasDias = false;
};
BusinessLimits limitsOf(const std::string& business);

// The stored password of the user at the current record of `users`, as typed.
std::string storedPassword(const lib::WDBTable& users);
// A password (blank-padded to 10) as `users` must store it: scrambled when the table has the
// field ADASIPA, whose 1 tells every reader so; plain in an older USUARIOS without the field,
// where nothing could tell a scrambled password from a plain one.
std::string storedForm(const lib::WDBTable& users, const std::string& plain);

// After a successful login: SALTMERE.ALV, the session record in LOG_E_S.
void recordSession(const std::string& fullName);

// The days a password of the logged-in user stays valid in `business` (nullopt: no limit).
std::optional<int> passwordDays(const std::string& business);
// Whether the logged-in user must renew the password now.
bool passwordExpired(const std::string& business);
// The password-age rule: when expired, the renewal window; false when the user refused.
bool applyPasswordAge(const std::string& business);

// The checks of a password change (current, new, verification — upper-cased) for the user
// at the current record of `users`; shows their messages. `misses` counts wrong current
// passwords across attempts.
enum class ChangeResult { Changed, TryAgain, Exhausted };
ChangeResult changePassword(lib::WDBTable& users, const std::string& business, const std::string& current,
                            const std::string& fresh, const std::string& verification, int origin, int& misses);

// The renewal window ("Cambio de Clave de Acceso"): 1 renewed or not needed, 0 refused.
int ACT_CLAVE(const std::string& business);

// One record in the password-change log ADASIPA (when USUARIOS keeps scrambled passwords).
void LOG_PASSWORD(const std::string& oldScrambled, const std::string& newScrambled, lib::WDBTable& users, int origin);

// Plays SALTMERE.WAV when the program folder has it and the machine can play sound.
void playLoginSound();

}  // namespace app
