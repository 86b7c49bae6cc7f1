#include "app/toolbar.h"

#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>

#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/use.h"
#include "win/controls.h"
#include "win/dialog_window.h"
#include "win/driver.h"
#include "win/message_box.h"
#include "win/virtual_keyboard.h"

namespace app {

MTOOLBAR::MTOOLBAR(QToolBar* host) {
  if (!createEmbedded(host, "TOOLBAR")) return;
  host->addWidget(window());
  lib::G().XTBARSELF = this;
  std::string bitmap = lib::G().PATH + "BMP/KEYBOARD.BMP";
  if (!QFile::exists(QString::fromStdString(bitmap))) bitmap = lib::G().PATH + "BMP/WEBSERV1.BMP";
  if (auto* key = qobject_cast<QPushButton*>(window()->control(236))) {
    key->setToolTip(QString::fromUtf8("Teclado Virtual"));
    if (QFile::exists(QString::fromStdString(bitmap))) {
      key->setIcon(QIcon(QString::fromStdString(bitmap)));
      key->setText("");
    }
  }
  ADD_BUTTON(236, [] { win::openVirtualKeyboard(); });
  ADD(std::make_unique<win::CCOMBOBOX>(this, 601), [this](win::WDIAG&, win::WCONTROL& c, int notification) {
    if (notification != win::CBN_SELCHANGE) return 0;
    std::string chosen = static_cast<win::CCOMBOBOX&>(c).CurCargo();
    if (chosen.empty() || chosen == current) return 1;
    if (onBusinessChosen) onBusinessChosen(chosen);
    return 1;
  });
  ADD(std::make_unique<win::WEDIT>(this, 999));
}

void MTOOLBAR::loadBusinesses() {
  win::CCOMBOBOX combo(this, 601);
  combo.Clear();
  businesses_.clear();
  auto t = lib::USE(nullptr, "NEGOCIOS", "NEGOCIOS");
  for (t->GoTop(); !t->Eof(); t->Skip()) {
    Business b{t->S("CODIGO"), t->HasField("LOGO") ? t->S("LOGO") : "", t->HasField("LOGO2") ? t->S("LOGO2") : ""};
    combo.Add(t->S("DESCRIP"), 0, b.code);
    businesses_.push_back(b);
  }
}

std::string MTOOLBAR::GET_NEGOCIO() const {
  return win::CCOMBOBOX(const_cast<MTOOLBAR*>(this), 601).CurCargo();
}

void MTOOLBAR::SETNEGOCIO(const std::string& code) {
  win::CCOMBOBOX combo(this, 601);
  if (code.empty() || !combo.SeekCargo(code)) combo.SetCurItem(combo.Count() > 0 ? 1 : 0);
  readLogos(combo.CurCargo());
}

void MTOOLBAR::readLogos(const std::string& code) {
  for (const Business& b : businesses_) {
    if (b.code != code) continue;
    lib::G().XLOGOFILE = b.logo;
    lib::G().XLOGO2 = b.logo2;
  }
}

void MTOOLBAR::SetUser(const std::string& abbreviation) {
  SetDlgItemText(999, abbreviation);
}

bool showHelpTopic(int topicId) {
  QString file = QString::fromStdString(lib::G().PATH + "AYUDA/" + std::to_string(topicId) + ".HTML");
  if (!QFile::exists(file)) {
    win::MESSAGE_BOX(nullptr, "No hay ayuda disponible para esta pantalla (" + std::to_string(topicId) + ").", "Ayuda",
                     lib::MB_OK | lib::MB_ICONINFORMATION);
    return false;
  }
  if (win::Driver::installed()) return true;  // scripts never start the browser
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

}  // namespace app
