#include "tools/demo_folios.h"

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "lib/money.h"
#include "tools/demo_data.h"
#include "xbase/date.h"
#include "xbase/dbf_table.h"

namespace initdb {

namespace {

using lib::Money;
using xbase::DbfTable;

constexpr int kDays = 30;  // 14/04/24 .. 13/05/24
constexpr int kCheckoutsPerDay = 6;
constexpr const char* kLocal = "01";  // colones, the accounting currency
const std::array<const char*, 3> kCurrencies = {"01", "02", "03"};
// Colones per dollar and per euro, fixed for the month.
const std::map<std::string, Money> kRate = {
    {"01", Money::units(1)}, {"02", *Money::parse("510.25")}, {"03", *Money::parse("552.80")}};

const char* kGuests[] = {"María Fernández", "John Miller",    "Sophie Laurent", "Carlos Jiménez",
                         "Anna Schmidt",    "Luis Rodríguez", "Emily Carter",   "Marco Rossi",
                         "Ana Vargas",      "Peter Jansen",   "Lucía Mora",     "David Brown"};

int32_t firstDay() {
  return xbase::julianFromYmd(2024, 4, 14);
}

std::string text(const char* format, int n) {
  char out[32];
  std::snprintf(out, sizeof out, format, n);
  return out;
}

std::string clock(int minutes) {
  char out[16];
  std::snprintf(out, sizeof out, "%02d:%02d:%02d", minutes / 60, minutes % 60, (minutes * 7) % 60);
  return out;
}

std::string base36(int n) {
  static const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string out(4, '0');
  for (int i = 3; i >= 0; --i, n /= 36) out[i] = digits[n % 36];
  return out;
}

void putMoney(DbfTable& t, const char* field, Money amount) {
  t.put(field, xbase::Value::num(amount.number()));
}

// Front-desk shift and prepayment-register hours; the closings of 11 to 13 May are the ones
// the demo always had.
struct Shift {
  std::string from, to;
};
Shift frontDeskShift(int day) {
  static const std::map<int, Shift> kept = {
      {27, {"06:58:12", "15:02:40"}}, {28, {"07:01:05", "15:05:11"}}, {29, {"06:55:30", "14:59:58"}}};
  auto it = kept.find(day);
  return it != kept.end() ? it->second : Shift{"07:00:00", "15:00:00"};
}

// What the front desk keeps in its drawer after each shift: a float of 150,000 colones, 320
// dollars and nothing in euros, plus one unit per day of the month.
Money floatAfter(int day, const std::string& currency) {
  const int dom = xbase::ymdFromJulian(firstDay() + day).day;
  const int64_t base = currency == "01" ? 150000 : currency == "02" ? 320 : 0;
  return Money::units(base + dom);
}

class Writer {
 public:
  explicit Writer(const std::string& home)
      : folios_(openTable(home, "ENC_FOL")),
        lines_(openTable(home, "DET_FOL")),
        invoices_(openTable(home, "ENC_FAC")),
        invoiceLines_(openTable(home, "DET_FAC")),
        periods_(openTable(home, "DET_HCAJ")),
        balances_(openTable(home, "DET_HCA2")),
        deposits_(openTable(home, "ENC_HLIB")) {}

  void month() {
    std::map<std::string, Money> drawer;
    for (int day = 0; day < kDays; ++day) {
      const int32_t date = firstDay() + day;
      const Shift shift = frontDeskShift(day);
      period("01", date, shift.from, date, shift.to);
      const std::string registerFolio = folio(date, "", kLocal, 3, "01", shift.from);
      std::map<std::string, Money> cash;
      if (day == 0)
        for (const char* c : kCurrencies) {
          const Money opening = floatAfter(0, c);
          if (opening.isZero()) continue;
          line(registerFolio, "01", date, clock(7 * 60 + 1), date, "MREC", "MREC", c, opening, true, "",
               "Fondo de caja");
          cash[c] += opening;
        }
      for (int j = 0; j < kCheckoutsPerDay; ++j) guest(day, j, date, cash);
      // The takings handed over at the end of the shift, the float kept.
      for (const char* c : kCurrencies) {
        const Money keep = floatAfter(day, c);
        const Money over = drawer[c] + cash[c] - keep;
        if (over.negative())
          line(registerFolio, "01", date, clock(14 * 60 + 50), date, "MREC", "MREC", c, -over, true, "",
               "Reposición de fondo");
        else if (!over.isZero())
          line(registerFolio, "01", date, clock(14 * 60 + 50), date, "ENTR", "ENTR", c, over, false, "",
               "Entrega de dinero a tesorería");
        drawer[c] = keep;
        balance(date, shift, c, keep);
      }
      prepayments(day, date);
    }
    // The open period of 14/05: charges and a card payment, no cash yet.
    const int32_t today = firstDay() + kDays;
    period("01", today, "07:00:02", 0, "");
    const std::string numero = folio(today, "205", "02", 1, "", "");
    charge(numero, "205", today - 1, "HOSP", Money::units(52000));
    line(numero, "01", today, "08:15:40", today, "TARJ", "TARJ", kLocal, Money::units(58760), true, "VISA-4411",
         "Pago a cuenta");
  }

  int lastFolio() const { return folioCount_; }
  int lastInvoice() const { return invoiceCount_; }

 private:
  std::string folio(int32_t date, const std::string& room, const std::string& currency, int kind,
                    const std::string& caja, const std::string& from) {
    const std::string numero = std::to_string(++folioCount_);
    folios_->append();
    folios_->putString("NEGOCIO", "01");
    folios_->putString("NUMERO", numero);
    folios_->putString("MONEDA", currency);
    folios_->putNumber("CTA_MAES", kind);
    folios_->putString("ROOM", room);
    folios_->putString("MASTER", "1");
    folios_->putString("GRUPO", "0001");
    folios_->putString("CONSECUT", "0001");
    if (kind == 3) {
      folios_->putString("COD_CAJA", caja);
      folios_->putDate("FECHA_CAJA", date);
      folios_->putString("HORA_CAJA", from);
    }
    consecut_[numero] = 1;
    group_[numero] = 1;
    return numero;
  }

  // One folio line, in colones, of `original` in `currency`.
  void line(const std::string& numero, const std::string& caja, int32_t date, const std::string& hora,
            int32_t businessDay, const std::string& code, const std::string& main, const std::string& currency,
            Money original, bool credit, const std::string& document, const std::string& comment,
            const std::string& grupo = "", bool tax = false, const std::string& room = "") {
    const Money rate = kRate.at(currency);
    const Money local = (original * rate).rounded(2);
    lines_->append();
    lines_->putString("NEGOCIO", "01");
    lines_->putString("NUMERO", numero);
    lines_->putString("CAJA", caja);
    lines_->putDate("FECHA", date);
    lines_->putString("HORA", hora);
    lines_->putDate("CIERRE_DIA", businessDay);
    lines_->putDate("FECHA_O", businessDay);
    lines_->putString("COD_TRANS", code);
    lines_->putString("COD_TRAN", main);
    lines_->putString("GRUPO", grupo);
    putMoney(*lines_, credit ? "CREDITO" : "DEBITO", local);
    putMoney(*lines_, credit ? "OCREDITO" : "ODEBITO", original);
    lines_->putString("MONEDA", kLocal);
    lines_->putString("OMONEDA", currency);
    putMoney(*lines_, "T_CAMBIO", rate);
    putMoney(*lines_, "OCAMBIO", rate);
    lines_->putString("ROOM", room);
    lines_->putString("HAB_ORIGEN", room);
    lines_->putString("DOCUMEN", document);
    lines_->putString("COMENTA", comment);
    lines_->putNumber("SI_IMP", tax ? 1 : 0);
    lines_->putString("CONSECUT", base36(consecut_[numero]++));
    lines_->putString("USUARIO", "ADM");
    if (!credit) folioTotal_[numero] += local;
    invoiced_[numero].push_back({code, local, credit, businessDay});
  }

  // A charge posted by the night audit with its taxes, in one group: 13 % sales tax, and 10 %
  // service on food.
  void charge(const std::string& numero, const std::string& room, int32_t night, const std::string& code,
              Money amount) {
    const std::string grupo = text("%04d", group_[numero]++);
    line(numero, "02", night, clock(23 * 60 + 30), night, code, code, kLocal, amount, false, "", "", grupo, false,
         room);
    const Money percent = Money::millionths(10000);  // 0.01
    line(numero, "02", night, clock(23 * 60 + 30), night, "IMPV", code, kLocal,
         (amount * Money::units(13) * percent).rounded(2), false, "", "", grupo, true, room);
    if (code == "ALIM")
      line(numero, "02", night, clock(23 * 60 + 30), night, "ISER", code, kLocal,
           (amount * Money::units(10) * percent).rounded(2), false, "", "", grupo, true, room);
  }

  // A guest's stay, charged night by night, paid and invoiced at check-out on `date`.
  void guest(int day, int j, int32_t date, std::map<std::string, Money>& cash) {
    static const char* rooms[] = {"101", "114", "203", "217", "305", "312", "B04", "J02", "126", "220", "318", "B09"};
    const int n = day * kCheckoutsPerDay + j;
    const std::string room = rooms[n % 12];
    const int nights = 1 + (day + j) % 3;
    const Money rate = Money::units(45000 + 5000 * (j % 3));
    const std::string numero = folio(date, room, j % 3 == 0 ? "02" : "01", 1, "", "");
    for (int night = nights; night >= 1; --night) charge(numero, room, date - night, "HOSP", rate);
    if (j % 2 == 0) charge(numero, room, date - 1, "ALIM", Money::units(12000 + 500 * (n % 7)));
    const Money total = folioTotal_[numero];
    const std::string hora = clock(7 * 60 + 30 + j * 55);
    // Half pay in cash (colones, dollars or euros in turn), the others by card.
    std::string currency = kLocal, code = "TARJ", document = text("VISA-%04d", 1000 + n);
    if (j % 2 == 1) {
      code = "EFEC";
      document = text("REC-%05d", n + 1);
      currency = kCurrencies[(n / 2) % 3];
    }
    const Money original = currency == kLocal ? total : (total / kRate.at(currency)).rounded(2);
    line(numero, "01", date, hora, date - 1, code, code, currency, original, true, document, "Pago al salir", "", false,
         room);
    if (code == "EFEC") cash[currency] += original;
    invoice(numero, room, date, hora, total, kGuests[n % 12]);
  }

  void invoice(const std::string& numero, const std::string& room, int32_t date, const std::string& hora, Money total,
               const std::string& guest) {
    const std::string number = text("FA-%06d", ++invoiceCount_);
    invoices_->append();
    invoices_->putString("NEGOCIO", "01");
    invoices_->putString("NUM_FACT", number);
    invoices_->putString("NUMERO", numero);
    invoices_->putString("ESTADO", "0");
    invoices_->putDate("FECHA", date);
    invoices_->putString("HORA", hora);
    invoices_->putString("COMPANIA", guest);
    invoices_->putString("ROOM", room);
    putMoney(*invoices_, "TOTAL", total);
    // One invoice line per folio line, the payment marked as such.
    for (const Invoiced& l : invoiced_[numero]) {
      invoiceLines_->append();
      invoiceLines_->putString("NEGOCIO", "01");
      invoiceLines_->putString("NUM_FACT", number);
      invoiceLines_->putString("COD_TRANS", l.code);
      putMoney(*invoiceLines_, l.credit ? "CREDITO" : "DEBITO", l.amount);
      invoiceLines_->putNumber("PAGO", l.credit ? 1 : 0);
      invoiceLines_->putDate("CIERRE_DIA", l.businessDay);
      invoiceLines_->putString("ROOM", room);
    }
    invoiced_.erase(numero);
  }

  void period(const std::string& caja, int32_t from, const std::string& fromTime, int32_t to,
              const std::string& toTime) {
    periods_->append();
    periods_->putString("NEGOCIO", "01");
    periods_->putString("CAJA", caja);
    periods_->putDate("FECHA_INI", from);
    periods_->putString("HORA_INI", fromTime);
    periods_->putString("AGENTE", caja == "03" ? "0002" : "0001");
    periods_->putString("H_LIMITE", "24:60:60");
    periods_->putDate("LIMITE", xbase::julianFromYmd(2090, 1, 1));
    if (to == 0) return;
    periods_->putDate("FECHA_FIN", to);
    periods_->putString("HORA_FIN", toTime);
    periods_->putString("CTRL_USR", "ADM");
    periods_->putString("CTRL_COMP", "RECEPCION1");
    periods_->putString("CTRL_WIN_U", "recepcion");
    periods_->putString("CTRL_HORA", toTime);
    periods_->putDate("CTRL_FECHA", to);
  }

  void balance(int32_t date, const Shift& shift, const std::string& currency, Money amount) {
    balances_->append();
    balances_->putString("NEGOCIO", "01");
    balances_->putString("CAJA", "01");
    balances_->putString("MONEDA", currency);
    putMoney(*balances_, "MONTO", amount);
    balances_->putDate("FECHA_INI", date);
    balances_->putString("HORA_INI", shift.from);
    balances_->putDate("FECHA_FIN", date);
    balances_->putString("HORA_FIN", shift.to);
    balances_->putString("H_LIMITE", "24:60:60");
    balances_->putDate("LIMITE", xbase::julianFromYmd(2090, 1, 1));
  }

  // Deposits for coming stays at the prepayment register: two a day, a refund every fifth
  // day; one deposit annulled the day it was taken, one annulled three days later.
  void prepayments(int day, int32_t date) {
    period("03", date, "08:00:00", date, "17:00:00");
    auto movement = [&](const std::string& kind, const std::string& currency, Money amount, int minutes,
                        const std::string& name, int32_t annulled = 0, const std::string& annulledAt = "") {
      const int n = ++movementCount_;
      deposits_->append();
      deposits_->putString("NEGOCIO", "01");
      deposits_->putString("CAJA", "03");
      deposits_->putString("MOVIMIENTO", text("%06d", n));
      deposits_->putString("NUM_DEP", text("DEP-%05d", n));
      deposits_->putString("CONCEPTO", kind);
      putMoney(*deposits_, "MONTO", amount);
      deposits_->putString("MONEDA", currency);
      putMoney(*deposits_, "CAMBIO_CON", kRate.at(currency));
      deposits_->putString("NOMBRE", name);
      deposits_->putString("COMENTARIO", kind == "DEPR" ? "Depósito de garantía" : "Devolución por cancelación");
      deposits_->putDate("F_CREACION", date);
      deposits_->putString("H_CREACION", clock(minutes));
      deposits_->putNumber("ANULADO", annulled ? 1 : 0);
      if (annulled) {
        deposits_->putDate("F_ANULADO", annulled);
        deposits_->putString("H_ANULADO", annulledAt);
      }
    };
    const char* name = kGuests[(day * 5) % 12];
    movement("DEPR", "02", Money::units(150 + 10 * (day % 5)), 9 * 60 + 10, name);
    movement("DEPR", kLocal, Money::units(60000 + 2500 * (day % 4)), 11 * 60 + 40, kGuests[(day * 5 + 3) % 12],
             day % 7 == 3 ? date : 0, "15:20:00");
    if (day % 5 == 4) movement("DEVO", "02", Money::units(100), 14 * 60 + 5, kGuests[(day * 5 + 1) % 12]);
    if (day == 20) movement("DEPR", "03", Money::units(200), 10 * 60, "Sophie Laurent", date + 3, "10:30:00");
  }

  struct Invoiced {
    std::string code;
    Money amount;
    bool credit;
    int32_t businessDay;
  };

  std::unique_ptr<DbfTable> folios_, lines_, invoices_, invoiceLines_, periods_, balances_, deposits_;
  std::map<std::string, int> consecut_, group_;
  std::map<std::string, Money> folioTotal_;
  std::map<std::string, std::vector<Invoiced>> invoiced_;
  int folioCount_ = 0, invoiceCount_ = 0, movementCount_ = 0;
};

}  // namespace

void addFrontDeskMonth(const std::string& home) {
  int folios = 0, invoices = 0;
  {
    Writer w(home);
    w.month();
    folios = w.lastFolio();
    invoices = w.lastInvoice();
  }
  {
    auto concepts = openTable(home, "CON_HLIB");
    for (auto [code, description, kind] :
         {std::tuple{"DEPR", "Depósito de Reservación", 1}, {"DEVO", "Devolución de Depósito", 0}}) {
      concepts->append();
      concepts->putString("NEGOCIO", "01");
      concepts->putString("CONCEPTO", code);
      concepts->putString("DESCRIP", description);
      concepts->putNumber("TIPO", kind);
    }
  }
  // The folio and invoice counters go on after the month's numbers. Folios are numbered
  // from the series without a module, as every series is drawn.
  auto series = openTable(home, "SERIALES");
  series->setOrder("SERIALES");
  if (series->seek("01" + std::string(10, ' ') + "FA")) series->putNumber("NUMERO", invoices);
  for (const char* business : {"01", "02"}) {
    series->append();
    series->putString("NEGOCIO", business);
    series->putString("CODIGO", "FOLI");
    series->putString("DESCRIP", "Folios");
    series->putNumber("NUMERO", std::string(business) == "01" ? folios : 0);
    series->putNumber("JUSTIFICA", 0);
  }
}

}  // namespace initdb
