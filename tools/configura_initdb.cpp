// configura-initdb: creates a complete program folder for Configuración Hotelería.
//
//   configura-initdb DIR [--password P] [--force] [--demo] [--server CONNSTRING]
//
// BASES/ gets every table of the catalogue with its index, PROFILE/ the templates of the
// temporary tables, TEMP/ is created, AYUDA/ gets the help pages (resources/help, written
// again with --force) and BMP/ gets the login pictures ART1.BMP and ADS2.BMP (drawn by
// src/art; pictures already there are kept); business unit "01" and the supervisor
// user ADMIN (password ADMIN unless --password, stored scrambled) are added. An existing program
// folder is refused unless --force. --demo adds a second business unit and the demo data.
// --server writes ADS.DEF with the connection string as line 1 and copies BASES/ and
// PROFILE/ to that database server, so the program works through it.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "art/artwork.h"
#include "lib/catalogue.h"
#include "lib/passwords.h"
#include "lib/text.h"
#include "server/session.h"
#include "server/transfer.h"
#include "tools/demo_data.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"

namespace fs = std::filesystem;
using xbase::DbfTable;
using xbase::Value;

namespace initdb {
// The help pages of resources/help, embedded at build time.
const char* embeddedHelpText();
}  // namespace initdb

namespace {

using lib::upper;

struct Options {
  std::string dir;
  std::string password = "ADMIN";
  bool force = false;
  bool demo = false;
  std::string server;
};

const char* kUsage = "uso: configura-initdb CARPETA [--password CLAVE] [--force] [--demo] [--server CONEXION]\n";

// The help pages as embedded: each one after a "#@file NAME" line, ending with a line feed
// of the embedding's own.
void installHelp(const std::string& home) {
  const std::string all = initdb::embeddedHelpText();
  const std::string marker = "#@file ";
  for (size_t at = all.find(marker); at != std::string::npos;) {
    const size_t nameEnd = all.find('\n', at);
    if (nameEnd == std::string::npos) break;
    const std::string name = all.substr(at + marker.size(), nameEnd - at - marker.size());
    size_t next = all.find("\n" + marker, nameEnd);
    const size_t end = next == std::string::npos ? all.size() : next;
    std::string page = all.substr(nameEnd + 1, end - nameEnd - 1);
    std::FILE* f = std::fopen((home + "AYUDA/" + name).c_str(), "wb");
    bool written = f && std::fwrite(page.data(), 1, page.size(), f) == page.size();
    if (f && std::fclose(f) != 0) written = false;
    if (!written) throw std::runtime_error("no se puede escribir " + home + "AYUDA/" + name);
    at = next == std::string::npos ? next : next + 1;
  }
}

void createTables(const std::string& home) {
  for (const lib::CatalogueTable& t : lib::Catalogue::builtIn().tables()) {
    DbfTable::create(home + "BASES/" + t.name + ".DBF", t.fields, t.tags);
    if (t.profileTemplate) DbfTable::create(home + "PROFILE/" + t.name + ".DBF", t.fields, t.tags);
  }
}

}  // namespace

namespace initdb {

std::unique_ptr<DbfTable> openTable(const std::string& home, const std::string& name) {
  return DbfTable::open(home + "BASES/" + name + ".DBF", xbase::OpenOptions{false, false});
}

void addBusiness(const std::string& home, const std::string& code, const std::string& name) {
  auto t = openTable(home, "NEGOCIOS");
  t->append();
  t->putString("CODIGO", code);
  t->putString("DESCRIP", name);
  t->putNumber("INTENTOS", 3);
  t->putString("MONEDA_CON", "01");
}

void addUser(const std::string& home, const std::string& business, int code, const std::string& login,
             const std::string& fullName, const std::string& abbreviation, const std::string& password, bool supervisor,
             const std::set<int>& granted, const std::function<void(DbfTable&)>& more) {
  auto users = openTable(home, "USUARIOS");
  users->append();
  users->putString("NEGOCIO", business);
  users->putNumber("CODIGO", code);
  users->putString("NOMBRE", upper(login));
  users->putString("USUARIO", fullName);
  std::string plain = upper(password);
  plain.resize(10, ' ');
  users->putString("PASSWORD", lib::ENCRYPT_STRING(plain));
  users->putNumber("ADASIPA", 1);
  users->putString("ABREVIA", abbreviation);
  users->putNumber("SUPERVISOR", supervisor ? 1 : 0);
  users->putNumber("PERMISO1", 1);
  users->putNumber("BLOQUEADO", 0);
  if (more) more(*users);
  // One rights record per identifier; a supervisor holds every right anyway.
  auto menus = openTable(home, "MENUS");
  for (int id = 2000; id <= 7000; ++id) {
    menus->append();
    menus->putString("NEGOCIO", business);
    menus->putNumber("CODIGO", code);
    menus->putNumber("ID", id);
    menus->putLogical("CHECK_ID", granted.count(id) > 0);
  }
}

}  // namespace initdb

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--password" && i + 1 < argc)
      o.password = argv[++i];
    else if (a == "--force")
      o.force = true;
    else if (a == "--demo")
      o.demo = true;
    else if (a == "--server" && i + 1 < argc)
      o.server = argv[++i];
    else if (!a.empty() && a[0] != '-' && o.dir.empty())
      o.dir = a;
    else {
      std::cerr << "configura-initdb: opción desconocida: " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (o.dir.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    std::string home = fs::absolute(o.dir).lexically_normal().string();
    if (home.back() != '/') home += '/';
    if (fs::exists(home + "BASES") && !o.force) {
      std::cerr << "configura-initdb: ya existe una carpeta de programa en " << home << " (use --force)\n";
      return 1;
    }
    if (o.password.size() < 3 || o.password.size() > 10) {
      std::cerr << "configura-initdb: la clave debe tener de 3 a 10 caracteres\n";
      return 1;
    }
    for (const char* sub : {"BASES", "PROFILE", "TEMP", "BMP", "AYUDA", "F_EXPORT", "F_IMPORT"}) fs::create_directories(home + sub);
    art::installFolderPictures(home + "BMP");
    installHelp(home);
    createTables(home);
    initdb::addBusiness(home, "01", "Hotel Principal");
    initdb::addUser(home, "01", 1, "ADMIN", "Administrador del Sistema", "ADM", o.password, true);
    {
      auto sys = initdb::openTable(home, "F_SYS");
      sys->append();
      sys->putNumber("T_SIZE", 8);
      sys->putString("P_FONT", "Times New Roman");
      sys->putNumber("GRAYED", 1);
      auto mail = initdb::openTable(home, "DEFMAIL");
      mail->append();
      mail->putString("ID_NAME", "Configuración Hotelería");
      mail->putNumber("SMTP_PORT", 25);
    }
    if (o.demo) initdb::addDemoData(home, o.password);
    if (!o.server.empty()) {
      server::Session session(o.server);
      if (!session.connect()) throw std::runtime_error("servidor: " + session.lastMessage());
      for (const char* folder : {"BASES", "PROFILE"}) server::pushFolder(session, home + folder);
      std::FILE* def = std::fopen((home + "ADS.DEF").c_str(), "wb");
      if (!def || std::fputs((o.server + "\r").c_str(), def) < 0 || std::fclose(def) != 0)
        throw std::runtime_error("no se puede escribir " + home + "ADS.DEF");
    }
    std::cout << "Carpeta de programa creada en " << home << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "configura-initdb: " << e.what() << "\n";
    return 1;
  }
}
