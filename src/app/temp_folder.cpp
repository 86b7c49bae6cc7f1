#include "app/temp_folder.h"

#include <strings.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "lib/globals.h"
#include "lib/text.h"

namespace app {

namespace fs = std::filesystem;

namespace {

using lib::trim;
using lib::upper;

bool probe(const std::string& folder) {
  std::ofstream f(folder + "/YES", std::ios::trunc);
  return bool(f << "YES");
}

// The path with its drive (first component below `root`) moved to the next one; "" when it
// has no drive.
std::string nextDrive(const std::string& path, std::string root) {
  if (root.empty() || root.back() != '/') root += '/';
  if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0) return {};
  size_t start = root.size();
  size_t end = path.find('/', start);
  std::string drive = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (drive.empty()) return {};
  if (drive.size() != 1) return path;
  char c = char(std::toupper(static_cast<unsigned char>(drive[0])));
  if (c < 'A' || c > 'I') return path;
  char next = c == 'I' ? 'C' : char(c + 1);
  return root + std::string(1, next) + (end == std::string::npos ? std::string() : path.substr(end));
}

}  // namespace

void SET_LOCAL_TEMP(int flag, const std::string& rawPath, const std::string& driveRoot) {
  lib::Globals& g = lib::G();
  std::string path = trim(rawPath);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  g.XTEMPPATH = {flag, path};
  if (!flag) return;
  for (int attempt = 0; attempt < 10; ++attempt) {
    std::error_code ec;
    if (!path.empty() && (probe(path) || (fs::create_directory(path, ec) && !ec))) {
      fs::create_directories(path + "/TEMP", ec);
      g.XTEMPPATH.path = path;
      return;
    }
    path = nextDrive(path, driveRoot);
    if (path.empty()) {
      g.messages->show(
          "Error creando directorio temporal de archivos...\rNo hay Unidades de Disco Duro Disponibles o accesibles",
          "Error", lib::MB_OK | lib::MB_ICONSTOP);
      break;
    }
  }
  g.XTEMPPATH = {0, ""};
}

void BORRAR_TEMPS() {
  lib::Globals& g = lib::G();
  if (!g.XTEMPPATH.flag) return;
  fs::path folder = fs::path(g.XTEMPPATH.path) / "TEMP";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return;
  // Every file by base name, with the extensions present.
  std::map<std::string, std::set<std::string>> byStem;
  std::map<std::string, std::vector<fs::path>> files;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    if (!e.is_regular_file()) continue;
    std::string stem = upper(e.path().stem().string()), ext = upper(e.path().extension().string());
    byStem[stem].insert(ext);
    files[stem].push_back(e.path());
  }
  const std::string module = "." + upper(g.EXT_MODULO);
  for (auto& [stem, exts] : byStem) {
    bool erase = exts.count(module) || exts.count(".HOT");
    bool orphan =
        std::all_of(exts.begin(), exts.end(), [](const std::string& x) { return x == ".CDX" || x == ".FPT"; });
    if (!erase && !orphan) continue;
    for (const fs::path& p : files[stem]) {
      std::string ext = upper(p.extension().string());
      if (ext == module || ext == ".HOT" || ext == ".CDX" || ext == ".FPT") fs::remove(p, ec);
    }
  }
}

}  // namespace app
