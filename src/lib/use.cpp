#include "lib/use.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/multitask.h"
#include "lib/retry.h"
#include "lib/text.h"
#include "xbase/file.h"

namespace lib {

namespace {

bool fileBagOn() {
  return G().XADSPARAMS.size() > 2 && G().XADSPARAMS[2] == "1";
}

bool isTemporary(const WDBTable& t) {
  return t.Cargo.rfind("BORRAR", 0) == 0;
}

std::string withSlash(std::string path) {
  for (auto& c : path) c = c == '\\' ? '/' : c;
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

// Opens with the retry rule; errors other than sharing failures go to the error handler.
std::unique_ptr<TableDriver> openRetrying(const std::string& rdd, const std::string& path, bool shared, bool readOnly) {
  std::unique_ptr<TableDriver> t;
  retryUntil(
      [&] {
        try {
          t = storageDriver(rdd).open(path, shared, readOnly);
          return true;
        } catch (const xbase::Error& e) {
          if (!isNetworkSoftFailure(e)) throw;
          return false;
        }
      },
      {"No se puede abrir archivo: " + path, 0, nullptr, false, xbase::EG_OPEN, path});
  return t;
}

std::unique_ptr<WDBTable> bind(void* owner, int area) {
  auto t = std::make_unique<WDBTable>(area, owner);
  t->Init();
  return t;
}

// "T" + the last 7 digits of the time of day in hundredths + "." + EXT_MODULO, free in
// `folder` as a table and as an index. A name taken in this hundredth waits for the next.
std::string temporaryName(const std::string& folder) {
  Globals& g = G();
  for (;;) {
    long hundredths = g.clock->now().millis / 10;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07ld", hundredths % 10000000L);
    std::string base = std::string("T") + digits;
    std::string name = base + "." + g.EXT_MODULO;
    if (!xbase::fileExists(folder + name) && !xbase::fileExists(folder + base + ".CDX")) return name;
    XDELAY(10);
  }
}

std::string stem(const std::string& name) {
  size_t dot = name.find('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::unique_ptr<WDBTable> useTemporary(void* owner, const std::string& requested, const UseOptions& o) {
  Globals& g = G();
  std::string templ = upper(stem(requested)).substr(0, 8) + ".DBF";
  if (fileBagOn() && g.areas->full()) KILL_FILEBAG();
  std::string rdd = g.XTEMPPATH.flag ? "DBFCDX" : g.DEF_RDD;
  std::string templatePath = g.PATH + "PROFILE/" + templ;
  std::unique_ptr<TableDriver> source = openRetrying(rdd, templatePath, true, true);
  std::vector<xbase::FieldSpec> fields = source->structure();
  source.reset();

  std::string folder = temporaryFolder();
  std::filesystem::create_directories(folder);
  std::string name = temporaryName(folder);
  std::string path = folder + name;
  retryUntil(
      [&] {
        try {
          storageDriver(rdd).create(path, fields);
          return true;
        } catch (const xbase::Error& e) {
          if (!e.canRetry()) throw;  // no folder, no space: the error window tells
          return false;
        }
      },
      {"No se puede copiar estructura a: " + path, 0, nullptr, false, xbase::EG_CREATE, path});

  std::string cargo = "BORRAR";
  std::string templateIndex = xbase::findFileNoCase(g.PATH + "PROFILE/" + stem(templ) + ".CDX");
  if (!templateIndex.empty()) {
    std::string target = folder + stem(name) + ".CDX";
    retryUntil(
        [&] { return COPY_BFILE(templateIndex, target) == 0; },
        {"No se puede copiar CDX: " + templateIndex + " a " + target, 0, nullptr, false, xbase::EG_CREATE, target});
    cargo += "->" + target;
  }
  std::unique_ptr<TableDriver> t = openRetrying(rdd, path, false, o.readOnly);
  int area = g.areas->open(std::move(t), name, rdd, path);
  auto object = bind(owner, area);
  object->Cargo = cargo;
  if (!o.tag.empty()) object->SetOrder(o.tag);
  return object;
}

}  // namespace

std::string normaliseFolder(std::string folder) {
  for (auto& c : folder) c = c == '\\' ? '/' : c;
  while (!folder.empty() && folder.front() == '/') folder.erase(folder.begin());
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string tablePath(const std::string& base, const UseOptions& o) {
  Globals& g = G();
  std::string root = o.absolute ? withSlash(o.basePath) : g.PATH;
  std::string folder = normaliseFolder(o.folder);
  if (!o.absolute && !g.XDBACCESS.folder.empty()) {
    std::string sub = normaliseFolder(g.XDBACCESS.folder);
    if (xbase::fileExists(root + folder + sub + base + ".DBF")) folder += sub;
  }
  return root + folder + base + ".DBF";
}

bool PACK_TABLE(const std::string& name) {
  Globals& g = G();
  std::string base = upper(trim(name)).substr(0, 8);
  if (fileBagOn()) KILL_FILEBAG();  // our own kept-open copy would hold the table too
  std::unique_ptr<TableDriver> t;
  try {
    t = storageDriver(g.DEF_RDD).open(tablePath(base, UseOptions{}), false, false);
  } catch (const xbase::Error& e) {
    if (isNetworkSoftFailure(e)) return false;  // in use elsewhere: the documented false
    throw;
  }
  t->pack();
  return true;
}

std::string temporaryFolder() {
  Globals& g = G();
  std::string base = g.XTEMPPATH.flag ? withSlash(g.XTEMPPATH.path) : g.PATH;
  return base + "TEMP/";
}

std::unique_ptr<WDBTable> USE(void* owner, std::string name, std::string tag, bool shared, bool readOnly,
                              std::string folder, std::string driver, bool absolute, std::string basePath) {
  return USE(owner, std::move(name),
             UseOptions{std::move(tag), shared, readOnly, std::move(folder), std::move(driver), absolute,
                        std::move(basePath)});
}

std::unique_ptr<WDBTable> USE(void* owner, std::string name, const UseOptions& options) {
  Globals& g = G();
  name = trim(name);
  UseOptions o = options;
  o.tag = trim(o.tag);
  if (name.find('.') != std::string::npos) return useTemporary(owner, name, o);

  std::string base = upper(name).substr(0, 8);
  std::string path = tablePath(base, o);

  if (fileBagOn()) {
    if (std::optional<int> area = IN_FILEBAG(base)) {
      g.areas->select(*area);
      auto object = bind(owner, *area);
      object->ClearScope();
      object->GoTop();
      if (!o.tag.empty()) object->SetOrder(o.tag);
      return object;
    }
    if (g.areas->full()) KILL_FILEBAG();
  }
  std::string rdd = o.driver.empty() ? g.DEF_RDD : o.driver;
  std::unique_ptr<TableDriver> t = openRetrying(rdd, path, o.shared, o.readOnly);
  int area = g.areas->open(std::move(t), base, rdd, path);
  auto object = bind(owner, area);
  if (rdd.rfind("ADS", 0) == 0) g.server->ADSCACHERECORDS(area, g.XADSCACHERECORDS);
  if (!o.tag.empty()) object->SetOrder(o.tag);
  return object;
}

void KILLTABLA(std::unique_ptr<WDBTable>& table, bool forceClose) {
  if (!table) return;
  Globals& g = G();
  if (fileBagOn() && !isTemporary(*table) && table->Name.find('.') == std::string::npos && !forceClose &&
      g.XADSTRANS == 1 && table->Used()) {
    // Kept open, with its locks, for the rest of the server transaction.
    int previous = g.areas->select(table->Area);
    table->ClearScope();
    g.areas->select(previous);
    g.XADSFILEBAG.push_back({table->Name, table->Area});
    table->detach();
    table.reset();
    return;
  }
  std::unique_ptr<WDBTable> closing = std::move(table);  // gone for the caller even if closing fails
  closing->Release();
}

bool IS_FILE(void*, const std::string& name, std::string folder) {
  // Asked of the storage driver: with the database server the table lives there.
  return storageDriver(G().DEF_RDD).exists(G().PATH + normaliseFolder(folder) + trim(name) + ".DBF");
}

void EACH_RECORD(const std::string& table, const std::string& tag, const std::string& prefix,
                 const std::function<void(const WDBTable&)>& visit) {
  auto t = USE(nullptr, table, tag);
  t->SetScope(prefix);
  for (t->GoTop(); !t->Eof(); t->Skip())
    if (!t->Deleted()) visit(*t);
  KILLTABLA(t);
}

bool COPY_STRUC(void*, WDBTable& table, const std::string& newName, std::string folder) {
  std::string path = G().PATH + normaliseFolder(folder) + trim(newName);
  if (path.find('.', path.rfind('/') + 1) == std::string::npos) path += ".DBF";
  std::vector<xbase::FieldSpec> fields = table.DBStruct();
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  retryUntil(
      [&] {
        try {
          storageDriver(G().DEF_RDD).create(path, fields);
          return true;
        } catch (const xbase::Error& e) {
          if (!e.canRetry()) throw;  // only a busy file is tried again
          return false;
        }
      },
      {"No se puede copiar estructura a: " + path, 0, nullptr, false, xbase::EG_CREATE, path});
  return true;
}

int COPY_BFILE(const std::string& source, const std::string& target, int passes) {
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return 3;
  int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    ::close(in);
    return 1;
  }
  char block[500];
  int result = 0;
  for (;;) {
    ssize_t n = ::read(in, block, sizeof block);
    if (n <= 0) break;
    if (::write(out, block, size_t(n)) != n) {
      result = 2;
      break;
    }
    if (n == ssize_t(sizeof block))
      for (int i = 0; i < passes; ++i) MULTITASK(1, true);
  }
  ::close(in);
  if (::close(out) != 0 && result == 0) result = 2;
  return result;
}

void KILL_FILEBAG() {
  Globals& g = G();
  if (g.XADSFILEBAG.empty()) return;
  FileBagEntry last = g.XADSFILEBAG.back();
  g.XADSFILEBAG.pop_back();
  if (g.areas->area(last.area)) {
    WDBTable closing(last.area, nullptr);
    closing.Axit();
  }
}

std::optional<int> IN_FILEBAG(const std::string& name) {
  auto& bag = G().XADSFILEBAG;
  std::string wanted = upper(name).substr(0, 15);
  for (auto it = bag.begin(); it != bag.end(); ++it) {
    if (upper(it->name).substr(0, 15) == wanted) {
      int area = it->area;
      bag.erase(it);
      return area;
    }
  }
  return std::nullopt;
}

void CLEAR_FILEBAG() {
  while (!G().XADSFILEBAG.empty()) KILL_FILEBAG();
}

}  // namespace lib
