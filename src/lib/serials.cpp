#include "lib/serials.h"

#include <cmath>

#include "lib/globals.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "xbase/error.h"
#include "xbase/number_text.h"

namespace lib {

namespace {

std::string fit15(const std::string& s) {
  std::string r = trim(s);
  r.resize(15, ' ');
  return r;
}

std::string seriesKey(WDBTable& t, const std::string& business, const std::string& series) {
  std::string b = business;
  b.resize(size_t(t.driver().field(t.FieldPos("NEGOCIO") - 1).length), ' ');
  return b + std::string(10, ' ') + series;
}

// The serial for `number` on the series at the table's current record.
std::string format(WDBTable& t, double number) {
  return SERIAL_FORMAT(t.S("PREFIJO"), number, int(t.N("INDENT")), int(t.N("JUSTIFICA")), t.S("POSFIJO"));
}

// Puts the table in the SERIALES order; restore() puts its own order back, and a failure
// there is the caller's to hear of. Left by a failure instead, the destructor puts it back
// as well as it can: the failure already on its way is the one the user must see.
class OrderGuard {
 public:
  explicit OrderGuard(WDBTable& table) : t_(table), previous_(table.Order()) { t_.SetOrder("SERIALES"); }
  OrderGuard(const OrderGuard&) = delete;
  OrderGuard& operator=(const OrderGuard&) = delete;
  void restore() {
    restored_ = true;
    t_.SetOrder(previous_);
  }
  ~OrderGuard() {
    if (restored_) return;
    try {
      t_.SetOrder(previous_);
    } catch (const xbase::Error&) {
    }
  }

 private:
  WDBTable& t_;
  std::string previous_;
  bool restored_ = false;
};

}  // namespace

std::string SERIAL_FORMAT(const std::string& prefix, double number, int indent, int justify,
                          const std::string& suffix) {
  std::string n = xbase::fixedNumber(std::floor(number), 0);
  if (n.size() > 15) n = n.substr(n.size() - 15);
  if (justify == 0 && indent > 0 && n.size() < size_t(indent)) n.insert(0, size_t(indent) - n.size(), '0');
  return trim(prefix) + n + trim(suffix);
}

std::string GET_NXSERIAL(void* owner, const std::string& business, const std::string& series, int,
                         WDBTable* serialTable) {
  Globals& g = G();
  int previous = g.areas->selected();
  std::unique_ptr<WDBTable> own;
  WDBTable* t = g.XADS_SERIALES ? g.XADS_SERIALES : serialTable;
  if (!t) {
    own = USE(owner, "SERIALES", "SERIALES");
    t = own.get();
  }
  std::string serial = kNoSerial;
  {
    OrderGuard order(*t);
    if (t->Seek(seriesKey(*t, business, series))) {
      MODIFY(*t, [&] {
        double next = t->N("NUMERO") + 1;
        serial = format(*t, next);
        t->FieldPut("NUMERO", Value::num(next));
        t->FieldPut("CURRENT_N", Value::chars(serial));
      });
    }
    order.restore();
  }
  if (own) KILLTABLA(own);
  g.areas->select(previous);
  g.XLAST_SERIAL = serial;
  return fit15(serial);
}

std::string GET_CURRENTSERIAL(void* owner, const std::string& business, const std::string& series) {
  int previous = G().areas->selected();
  std::unique_ptr<WDBTable> t = USE(owner, "SERIALES", "SERIALES");
  std::string serial = kNoSerial;
  if (t->Seek(seriesKey(*t, business, series))) serial = format(*t, t->N("NUMERO") + 1);
  KILLTABLA(t);
  G().areas->select(previous);
  return fit15(serial);
}

}  // namespace lib
