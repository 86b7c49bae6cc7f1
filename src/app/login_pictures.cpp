#include "app/login_pictures.h"

#include "lib/globals.h"
#include "win/wbitmap.h"
#include "xbase/file.h"

namespace app {

void showLoginPictures(win::WDIAG& login) {
  const lib::Globals& g = lib::G();
  // Folders copied from Windows keep their names in whatever case they had.
  win::WBITMAP(&login, 301).LOAD(xbase::findFileNoCase(g.PATH + "BMP/ART1.BMP"));
  if (g.DEF_RDD == "ADSCDX") win::WBITMAP(&login, 302).LOAD(xbase::findFileNoCase(g.PATH + "BMP/ADS2.BMP"));
}

}  // namespace app
