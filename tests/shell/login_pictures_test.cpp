// The login pictures: configura-initdb draws them into a new folder's BMP/ at the size of the
// login template's picture controls and keeps any a hotel put there; the login dialog shows
// ART1.BMP, and ADS2.BMP only while the program works through the database server.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <set>

#include "app/login_pictures.h"
#include "lib/globals.h"
#include "shell/shell_fixture.h"
#include "support/temp_dir.h"
#include "win/dialog_template.h"
#include "win/dialog_window.h"
#include "win/driver.h"
#include "win/wbitmap.h"

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// A drawing, not a blank or a single colour.
size_t colours(const QImage& image) {
  std::set<QRgb> seen;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
  return seen.size();
}

int initdb(const std::string& args, std::string* out) {
  return testing_support::runCommand(std::string(INITDB_PATH) + " " + args + " 2>&1", out);
}

}  // namespace

TEST(LoginPictures, InitdbDrawsThemAtTheSizeOfTheLoginTemplateAndKeepsAHotelsOwn) {
  testing_support::TempDir dir;
  const std::string home = dir.path() + "/hotel/";
  std::string out;
  ASSERT_EQ(initdb("'" + home + "'", &out), 0) << out;
  const win::DialogTemplate* t = win::ResourceSet::builtIn().dialog("XLOGINUSR");
  ASSERT_NE(t, nullptr);
  win::DialogWindow login(*t);
  for (auto [name, id] : {std::pair{"ART1.BMP", 301}, std::pair{"ADS2.BMP", 302}}) {
    SCOPED_TRACE(name);
    QImageReader reader(q(home + "BMP/" + name));
    EXPECT_EQ(reader.format(), "bmp");
    QImage picture = reader.read();
    ASSERT_FALSE(picture.isNull()) << reader.errorString().toStdString();
    ASSERT_NE(login.control(id), nullptr);
    EXPECT_EQ(picture.size(), login.control(id)->size());
    EXPECT_GT(colours(picture), 20u);
  }

  // Made again over the same folder: the hotel's own picture stays, a missing one comes back.
  QImage own(50, 60, QImage::Format_RGB32);
  own.fill(Qt::red);
  ASSERT_TRUE(own.save(q(home + "BMP/ART1.BMP"), "BMP"));
  std::filesystem::remove(home + "BMP/ADS2.BMP");
  ASSERT_EQ(initdb("'" + home + "' --force", &out), 0) << out;
  EXPECT_EQ(QImage(q(home + "BMP/ART1.BMP")).size(), QSize(50, 60));
  EXPECT_EQ(QImage(q(home + "BMP/ADS2.BMP")).size(), login.control(302)->size());
}

TEST(LoginPictures, TheLoginShowsTheHotelAndTheServerPictureOnlyWithTheServer) {
  shell_testing::DemoProgram program;  // made with --demo
  win::Driver& d = win::Driver::instance();
  bool seen = false;
  d.run({[&] { program.principal().Init(); },
         [&] {
           ASSERT_EQ(d.activeName(), "XLOGINUSR");
           win::WDIAG& login = *d.active();
           EXPECT_TRUE(win::WBITMAP(&login, 301).HasPicture());
           EXPECT_FALSE(win::WBITMAP(&login, 302).HasPicture());  // the local tables
           lib::G().DEF_RDD = "ADSCDX";                           // as the server's start-up sets it
           app::showLoginPictures(login);
           EXPECT_TRUE(win::WBITMAP(&login, 302).HasPicture());
           lib::G().DEF_RDD = "DBFCDX";
           // Folders copied from Windows keep their names in any case; a folder without the
           // picture leaves its place empty and the login goes on.
           std::filesystem::rename(program.home() + "BMP", program.home() + "bmp");
           std::filesystem::rename(program.home() + "bmp/ART1.BMP", program.home() + "bmp/Art1.bmp");
           win::WBITMAP(&login, 301).LOAD("");
           app::showLoginPictures(login);
           EXPECT_TRUE(win::WBITMAP(&login, 301).HasPicture());
           std::filesystem::remove(program.home() + "bmp/Art1.bmp");
           app::showLoginPictures(login);
           EXPECT_FALSE(win::WBITMAP(&login, 301).HasPicture());
           seen = true;
           d.press(win::IDCANCEL);
         }});
  EXPECT_TRUE(seen);
}
