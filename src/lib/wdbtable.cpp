#include "lib/wdbtable.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "lib/errors.h"
#include "lib/globals.h"
#include "lib/messages.h"
#include "lib/text.h"
#include "xbase/file.h"

namespace lib {

namespace {

std::string firstChars(std::string s, size_t n) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  s.resize(n, ' ');
  return s;
}

}  // namespace

WDBTable::WDBTable(int area, void* parent) : Area(area), oParent(parent) {
  if (WorkArea* a = G().areas->area(area)) {
    Alias = a->alias;
    Name = a->name;
    RDD = a->rdd;
  }
}

WDBTable::~WDBTable() {
  if (!registered_) return;
  try {
    Release();
  } catch (const xbase::Error& e) {
    // A destructor cannot pass the failure on, so the user is told here; unless another
    // failure is already on its way to the error handler, which then reports that one.
    if (std::uncaught_exceptions() == 0 && G().messages) G().messages->show(e.what(), "Error", MB_ICONERROR);
  }
}

void WDBTable::Release() {
  std::string path = Used() ? workArea().path : std::string();
  bool temporary = Cargo.rfind("BORRAR", 0) == 0;
  std::exception_ptr failed;
  try {
    Axit();
  } catch (const xbase::Error&) {
    failed = std::current_exception();  // the temporary files go all the same
  }
  if (temporary && !path.empty()) {
    std::string stem = path.substr(0, path.rfind('.'));
    for (const std::string& p : {path, stem + ".FPT", stem + ".CDX"}) {
      std::string real = xbase::findFileNoCase(p);
      if (!real.empty()) std::remove(real.c_str());
    }
  }
  if (failed) std::rethrow_exception(failed);
}

void WDBTable::Init() {
  Globals& g = G();
  auto& reg = g.XFILES_AREA;
  reg.erase(std::remove_if(reg.begin(), reg.end(), [&](const OpenTableEntry& e) { return e.area == Area; }), reg.end());
  reg.push_back({Area, Name});
  // Tables named in the text-search list keep their texts in the search index.
  if (size_t(Area) < g.XTXT_SRCH_VECTOR.size()) {
    std::string mine = firstChars(Name, 15);
    for (const auto& [table, document] : g.XTXT_SRCH_FILES) {
      if (firstChars(table, 15) == mine) {
        g.XTXT_SRCH_VECTOR[size_t(Area)] = {1, document, Name, ""};
        SEARCH_TXT = 1;
        break;
      }
    }
  }
  registered_ = true;
}

void WDBTable::Axit() {
  Globals& g = G();
  std::exception_ptr failed;
  if (g.areas && g.areas->area(Area)) {
    try {
      driver().flush();
    } catch (const xbase::Error&) {
      // The area closes all the same (the change cannot be written from it either), and
      // the caller then learns that the last change did not reach the table.
      failed = std::current_exception();
    }
    g.areas->close(Area);
  }
  if (size_t(Area) < g.XTXT_SRCH_VECTOR.size()) g.XTXT_SRCH_VECTOR[size_t(Area)] = {};
  auto& reg = g.XFILES_AREA;
  reg.erase(std::remove_if(reg.begin(), reg.end(), [&](const OpenTableEntry& e) { return e.area == Area; }), reg.end());
  registered_ = false;
  if (failed) std::rethrow_exception(failed);
}

WorkArea& WDBTable::workArea() const {
  WorkArea* a = G().areas->area(Area);
  if (!a) throw RuntimeError(xbase::EG_NOTABLE, 1051, "tabla cerrada: " + Alias);
  return *a;
}

TableDriver& WDBTable::driver() const {
  return *workArea().table;
}

int WDBTable::fieldIndex(std::string_view name) const {
  int i = driver().fieldIndex(name);
  if (i < 0) throw RuntimeError(xbase::EG_NOVAR, xbase::SC_FIELD, "no existe el campo " + std::string(name), Name);
  return i;
}

bool WDBTable::Append() {
  return driver().append();
}
void WDBTable::Commit() {
  driver().flush();
}
std::vector<xbase::FieldSpec> WDBTable::DBStruct() const {
  return driver().structure();
}
void WDBTable::Delete() {
  driver().deleteRecord();
}
void WDBTable::Pack() {
  driver().pack();
}

void WDBTable::Recall() {
  driver().recall();
}
bool WDBTable::Deleted() const {
  return driver().deleted();
}
bool WDBTable::Eof() const {
  return driver().eof();
}
bool WDBTable::Bof() const {
  return driver().bof();
}
int WDBTable::FCount() const {
  return driver().fieldCount();
}

Value WDBTable::FieldGet(int pos) const {
  if (pos < 1 || pos > FCount()) throw RuntimeError(xbase::EG_BOUND, xbase::SC_FIELD, "campo fuera de rango", Name);
  return driver().get(pos - 1);
}
Value WDBTable::FieldGet(std::string_view name) const {
  return driver().get(fieldIndex(name));
}

std::string WDBTable::FieldName(int pos) const {
  if (pos < 1 || pos > FCount()) return {};
  return driver().field(pos - 1).name;
}

int WDBTable::FieldPos(std::string_view name) const {
  return driver().fieldIndex(name) + 1;
}

Money WDBTable::M(std::string_view field) const {
  return Money::fromNumber(N(field));
}

size_t WDBTable::FieldWidth(std::string_view field) const {
  int pos = FieldPos(field);
  return pos > 0 ? size_t(driver().field(pos - 1).length) : 0;
}

std::string WDBTable::KeyPart(std::string_view field, const std::string& value) const {
  return padded(value, FieldWidth(field));
}

void WDBTable::FieldPut(int pos, const Value& v) {
  if (pos < 1 || pos > FCount()) throw RuntimeError(xbase::EG_BOUND, xbase::SC_FIELD, "campo fuera de rango", Name);
  driver().put(pos - 1, v);
}
void WDBTable::FieldPut(std::string_view name, const Value& v) {
  driver().put(fieldIndex(name), v);
}

bool WDBTable::FLock() {
  return driver().lockFile();
}
bool WDBTable::Found() const {
  return driver().found();
}
void WDBTable::GoBottom() {
  driver().goBottom();
}
void WDBTable::GoTo(uint32_t recno) {
  driver().goTo(recno);
}
void WDBTable::GoTop() {
  driver().goTop();
}
uint32_t WDBTable::LastRec() {
  return driver().recCount();
}
uint32_t WDBTable::RecCount() {
  return driver().recCount();
}
uint32_t WDBTable::RecNo() const {
  return driver().recNo();
}
bool WDBTable::RLock(uint32_t recno) {
  return driver().lockRecord(recno ? recno : RecNo());
}
bool WDBTable::Seek(const Value& key, bool soft, bool last) {
  return driver().seek(key, soft, last);
}
void WDBTable::Skip(int64_t count) {
  driver().skip(count);
}
void WDBTable::Unlock() {
  driver().unlockAll();
}
bool WDBTable::Used() const {
  return G().areas && G().areas->area(Area) != nullptr;
}

void WDBTable::SetOrder(std::string_view tag) {
  driver().setOrder(tag);
}
std::string WDBTable::Order() const {
  return driver().order();
}
std::vector<std::string> WDBTable::Tags() const {
  return driver().tagNames();
}
void WDBTable::SetScope(std::optional<Value> top, std::optional<Value> bottom) {
  driver().setScopeTop(std::move(top));
  driver().setScopeBottom(std::move(bottom));
}
void WDBTable::SetScopeTop(std::optional<Value> top) {
  driver().setScopeTop(std::move(top));
}
void WDBTable::SetScopeBottom(std::optional<Value> bottom) {
  driver().setScopeBottom(std::move(bottom));
}
uint32_t WDBTable::KeyCount() {
  return driver().keyCount();
}
uint32_t WDBTable::KeyNo() {
  return driver().keyNo();
}
bool WDBTable::GoToKeyNo(uint32_t keyNo) {
  return driver().goToKeyNo(keyNo);
}

std::string WDBTable::S(std::string_view field) const {
  Value v = FieldGet(field);
  if (v.type != xbase::ValueType::Char) return {};
  std::string s = v.text;
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}
double WDBTable::N(std::string_view field) const {
  return FieldGet(field).number;
}
int32_t WDBTable::D(std::string_view field) const {
  return FieldGet(field).julian;
}
bool WDBTable::L(std::string_view field) const {
  return FieldGet(field).logical;
}

}  // namespace lib
