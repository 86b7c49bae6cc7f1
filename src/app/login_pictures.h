// The pictures of the login dialog XLOGINUSR, from the program folder's BMP/: "ART1.BMP"
// beside the fields (control 301) and, while the program works through the database server,
// "ADS2.BMP" beside the server's session and version lines (302). A missing picture leaves
// its place empty; the login goes on.
#pragma once

namespace win {
class WDIAG;
}

namespace app {

void showLoginPictures(win::WDIAG& login);

}  // namespace app
