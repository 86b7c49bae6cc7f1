#include "frontcash/closing_report.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "lib/exchange_rates.h"
#include "lib/globals.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/print_document.h"
#include "xbase/date.h"

namespace frontcash {

namespace {

using lib::Money;

constexpr const char* kAmount = "999,999,999.99";
constexpr const char* kTotal = "99,999,999,999.99";

std::string moment(int32_t date, const std::string& time) {
  return xbase::dtos(date) + lib::padded(time, 8);
}

struct Code {
  std::string descrip;
  bool deposita = false, noCierre = false;
};

std::map<std::string, Code> transactionCodes(const std::string& negocio) {
  std::map<std::string, Code> codes;
  lib::EACH_RECORD("TRANSACS", "TRANSACS1", lib::businessKey(negocio), [&](const lib::WDBTable& t) {
    codes[t.S("CODIGO")] = {t.S("DESCRIP"), t.N("DEPOSITA") == 1, t.N("NO_CIERRE") == 1};
  });
  return codes;
}

// What collecting needs open: the folio headers, the rates, the invoices.
class Collector {
 public:
  Collector(const std::string& negocio, const ClosingOptions& options) : negocio_(negocio), options_(options) {
    lib::EACH_RECORD("NEGOCIOS", "NEGOCIOS", negocio, [&](const lib::WDBTable& n) {
      if (lib::rtrim(n.S("CODIGO")) != lib::rtrim(negocio)) return;
      folioCurrencies_ = n.N("MON_FOL") == 1;
      accounting_ = n.S("MONEDA_CON");
    });
    codes_ = transactionCodes(negocio);
    folios_ = lib::USE(nullptr, "ENC_FOL", "ENC_FOL4");
    rates_ = lib::USE(nullptr, "T_CAMBIO", "T_CAMB2");
  }
  ~Collector() {
    lib::KILLTABLA(folios_);
    lib::KILLTABLA(rates_);
  }

  const Code* code(const std::string& c) const {
    auto it = codes_.find(lib::rtrim(c));
    return it == codes_.end() ? nullptr : &it->second;
  }
  // The folio's currency: its own when the business keeps folio currencies and it has one.
  std::string folioCurrency(const std::string& numero) {
    auto it = folioCurrency_.find(numero);
    if (it != folioCurrency_.end()) return it->second;
    std::string currency = accounting_;
    if (folioCurrencies_ && folios_->Seek(lib::businessKey(negocio_) + lib::padded(numero, 10)) &&
        !lib::trim(folios_->S("MONEDA")).empty())
      currency = folios_->S("MONEDA");
    return folioCurrency_[numero] = currency;
  }
  // The currency rows are kept in.
  std::string rowCurrency(const std::string& folio) { return options_.moneda.empty() ? folio : options_.moneda; }
  Money factor(const std::string& from, int32_t date) {
    if (options_.moneda.empty()) return Money::units(1);
    return lib::CAMBIO_SPEC(negocio_, *rates_, from, options_.moneda, date).factor();
  }
  Money convert(Money amount, const std::string& from, int32_t date) {
    if (options_.moneda.empty()) return amount;
    return lib::CAMBIO_SPEC(negocio_, *rates_, from, options_.moneda, date).convert(amount).rounded(2);
  }

  // The folio's valid invoice, recorded once with its lines summarised; its number ("" when
  // it has none).
  std::string invoice(ClosingData& data, const std::string& numero) {
    auto known = invoiceOf_.find(numero);
    if (known != invoiceOf_.end()) return known->second;
    std::string numFact;
    auto headers = lib::USE(nullptr, "ENC_FAC", "ENC_FAC2");
    if (headers->Seek(lib::businessKey(negocio_) + lib::padded(numero, 10) + "0")) {
      numFact = headers->S("NUM_FACT");
      if (recorded_.insert(numFact).second) {
        const std::string currency = folioCurrency(numero);
        data.invoices.push_back({numFact, headers->S("HORA"), headers->S("COMPANIA"), currency, headers->D("FECHA"),
                                 headers->M("TOTAL")});
        summarise(data, numFact, currency);
      }
    }
    lib::KILLTABLA(headers);
    return invoiceOf_[numero] = numFact;
  }

 private:
  void summarise(ClosingData& data, const std::string& numFact, const std::string& folioCurrency) {
    lib::EACH_RECORD("DET_FAC", "DET_FAC", lib::businessKey(negocio_) + lib::padded(numFact, 15),
                     [&](const lib::WDBTable& l) {
                       if (l.N("VOID") != 0 || l.N("ANULA") != 0 || l.N("PAGO") != 0) return;
                       const std::string c = l.S("COD_TRANS");
                       const std::string currency = rowCurrency(folioCurrency);
                       const Money amount = convert(l.M("DEBITO") - l.M("CREDITO"), folioCurrency, l.D("CIERRE_DIA"));
                       auto row = std::find_if(data.summary.begin(), data.summary.end(), [&](const SummaryRow& s) {
                         return s.codTrans == c && s.moneda == currency;
                       });
                       if (row == data.summary.end()) {
                         const Code* known = code(c);
                         data.summary.push_back({c, known ? known->descrip : "", currency, Money()});
                         row = data.summary.end() - 1;
                       }
                       row->monto += amount;
                     });
  }

  std::string negocio_;
  const ClosingOptions& options_;
  bool folioCurrencies_ = false;
  std::string accounting_;
  std::map<std::string, Code> codes_;
  std::unique_ptr<lib::WDBTable> folios_, rates_;
  std::map<std::string, std::string> folioCurrency_, invoiceOf_;
  std::set<std::string> recorded_;
};

void collectCharges(ClosingData& data, const ClosingOptions& options) {
  Collector c(data.negocio, options);
  const std::string from = moment(data.start.date, data.start.time), to = moment(data.end.date, data.end.time);
  const std::string prefix = lib::businessKey(data.negocio) + lib::padded(data.caja, 2);
  auto lines = lib::USE(nullptr, "DET_FOL", "DET_FOL11");
  auto group = lib::USE(nullptr, "DET_FOL", "DET_FOL5");
  std::set<std::string> groupsListed;  // folio + group + date + currency
  lines->Seek(prefix + from, true);
  for (; !lines->Eof(); lines->Skip()) {
    if (lib::businessKey(lines->S("NEGOCIO")) != lib::businessKey(data.negocio) ||
        lib::padded(lines->S("CAJA"), 2) != lib::padded(data.caja, 2))
      break;
    const std::string at = moment(lines->D("FECHA"), lines->S("HORA"));
    if (at > to) break;
    if (at < from) continue;
    const std::string numero = lines->S("NUMERO");
    const std::string folioCurrency = c.folioCurrency(numero);
    const std::string currency = c.rowCurrency(folioCurrency);
    ClosingRow row;
    row.numero = numero;
    row.fecha = lines->D("FECHA");
    row.hora = lines->S("HORA");
    row.cierreDia = lines->D("CIERRE_DIA");
    row.room = lines->S("ROOM");
    row.documen = lines->S("DOCUMEN");
    row.comenta = lines->S("COMENTA").substr(0, 30);
    row.moneda = currency;
    const std::string grupo = lines->S("GRUPO");
    if (options.compuestas && !lib::trim(grupo).empty()) {
      const std::string main = lines->S("COD_TRAN");
      if (lib::trim(main).empty()) continue;
      const Code* code = c.code(main);
      if (!code || !code->deposita) continue;
      if (options.resumen) c.invoice(data, numero);
      const std::string listed = numero + "|" + grupo + "|" + xbase::dtos(row.fecha) + "|" + currency;
      if (!groupsListed.insert(listed).second) continue;
      // The posting's lines, summed: it is listed once, under its main code.
      Money debit, credit;
      group->Seek(lib::businessKey(data.negocio) + lib::padded(numero, 10) + xbase::dtos(row.fecha) + lib::padded(grupo, 4));
      for (; !group->Eof() && group->S("NUMERO") == numero && group->D("FECHA") == row.fecha &&
             group->S("GRUPO") == grupo && lib::businessKey(group->S("NEGOCIO")) == lib::businessKey(data.negocio);
           group->Skip()) {
        const Money f = c.factor(folioCurrency, group->D("FECHA"));
        debit += (group->M("DEBITO") * f).rounded(2);
        credit += (group->M("CREDITO") * f).rounded(2);
      }
      row.grupo = grupo;
      row.debito = debit;
      row.credito = credit;
      row.cTrans = main;
    } else {
      const std::string own = lines->S("COD_TRANS");
      const Code* code = c.code(own);
      if (!code || !code->deposita) continue;
      if (options.resumen) row.numFact = c.invoice(data, numero);
      const Money f = c.factor(folioCurrency, row.fecha);
      row.grupo = grupo;
      row.debito = (lines->M("DEBITO") * f).rounded(2);
      row.credito = (lines->M("CREDITO") * f).rounded(2);
      row.cTrans = own;
    }
    data.rows.push_back(std::move(row));
  }
  lib::KILLTABLA(lines);
  lib::KILLTABLA(group);
  std::stable_sort(data.invoices.begin(), data.invoices.end(),
                   [](const InvoiceRow& a, const InvoiceRow& b) { return a.numFact < b.numFact; });
  std::stable_sort(data.summary.begin(), data.summary.end(), [](const SummaryRow& a, const SummaryRow& b) {
    return a.codTrans != b.codTrans ? a.codTrans < b.codTrans : a.moneda < b.moneda;
  });
}

void collectPrepayments(ClosingData& data, const ClosingOptions& options) {
  std::map<std::string, int> conceptKind;
  lib::EACH_RECORD("CON_HLIB", "CON_HLIB", lib::businessKey(data.negocio),
                   [&](const lib::WDBTable& k) { conceptKind[k.S("CONCEPTO")] = static_cast<int>(k.N("TIPO")); });
  const std::string from = moment(data.start.date, data.start.time), to = moment(data.end.date, data.end.time);
  auto inPeriod = [&](const std::string& at) { return at >= from && at <= to; };
  const std::string prefix = lib::businessKey(data.negocio) + lib::padded(data.caja, 2);
  auto add = [&](const lib::WDBTable& m, bool annulled) {
    ClosingRow row;
    const std::string currency = m.S("MONEDA");
    const Money factor = lib::rtrim(options.moneda) == lib::rtrim(currency) ? Money::units(1) : m.M("CAMBIO_CON");
    const Money amount = (m.M("MONTO") * factor).rounded(2);
    auto kind = conceptKind.find(m.S("CONCEPTO"));
    if (kind == conceptKind.end() || kind->second == 0)
      row.debito = amount;
    else
      row.credito = amount;
    row.fecha = row.cierreDia = m.D("F_CREACION");
    row.hora = m.S("H_CREACION");
    row.codRes = m.S("COD_RES");
    row.numDep = m.S("NUM_DEP");
    row.nombre = m.S("NOMBRE");
    row.comenta = m.S("COMENTARIO").substr(0, 30);
    row.cTrans = m.S("CONCEPTO");
    row.moneda = currency;
    row.montoO = m.M("MONTO");
    row.movimiento = m.S("MOVIMIENTO");
    if (annulled) {
      row.anulado = true;
      row.fAnulado = m.D("F_ANULADO");
      row.hAnulado = m.S("H_ANULADO");
    }
    data.rows.push_back(std::move(row));
  };
  auto walk = [&](const char* tag, const char* dateField, const char* timeField,
                  const std::function<void(const lib::WDBTable&)>& visit) {
    auto t = lib::USE(nullptr, "ENC_HLIB", tag);
    t->Seek(prefix + from, true);
    for (; !t->Eof(); t->Skip()) {
      if (lib::businessKey(t->S("NEGOCIO")) != lib::businessKey(data.negocio) ||
          lib::padded(t->S("CAJA"), 2) != lib::padded(data.caja, 2))
        break;
      if (moment(t->D(dateField), t->S(timeField)) > to) break;
      visit(*t);
    }
    lib::KILLTABLA(t);
  };
  auto annulledInPeriod = [&](const lib::WDBTable& m) {
    return m.N("ANULADO") == 1 && inPeriod(moment(m.D("F_ANULADO"), m.S("H_ANULADO")));
  };
  walk("ENC_HLIB13", "F_CREACION", "H_CREACION", [&](const lib::WDBTable& m) {
    if (inPeriod(moment(m.D("F_CREACION"), m.S("H_CREACION"))) && !annulledInPeriod(m)) add(m, false);
  });
  walk("ENC_HLIB15", "F_ANULADO", "H_ANULADO", [&](const lib::WDBTable& m) {
    if (annulledInPeriod(m) && !inPeriod(moment(m.D("F_CREACION"), m.S("H_CREACION")))) add(m, true);
  });
}

}  // namespace

void CurrencyTotals::add(const std::string& currency, Money amount) {
  for (auto& [code, total] : entries_)
    if (code == currency) {
      total += amount;
      return;
    }
  entries_.emplace_back(currency, amount);
}

Money CurrencyTotals::of(const std::string& currency) const {
  for (const auto& [code, total] : entries_)
    if (code == currency) return total;
  return Money();
}

bool CurrencyTotals::allZero() const {
  return std::all_of(entries_.begin(), entries_.end(), [](const auto& e) { return e.second.isZero(); });
}

ClosingData RECOGE_CIERRE(const std::string& negocio, const std::string& caja, Period start, Period end,
                          const ClosingOptions& options) {
  ClosingData data;
  data.negocio = negocio;
  data.caja = caja;
  if (lib::trim(end.time).empty()) {
    end.time = "23:59:59";
    data.preliminar = true;
  }
  if (end.date == 0) end.date = lib::XDATE();
  data.start = start;
  data.end = end;
  std::string agente;
  lib::EACH_RECORD("ENC_HCAJ", "ENC_HCAJ", lib::businessKey(negocio) + lib::padded(caja, 2), [&](const lib::WDBTable& r) {
    data.descrip = r.S("DESCRIP");
    data.control = static_cast<int>(r.N("T_CONTROL"));
  });
  lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ", lib::businessKey(negocio) + lib::padded(caja, 2) + moment(start.date, start.time),
                   [&](const lib::WDBTable& p) {
                     if (agente.empty()) agente = p.S("AGENTE");
                   });
  if (!agente.empty())
    lib::EACH_RECORD("DIGITA", "DIGITA", lib::businessKey(negocio) + lib::padded(agente, 4),
                     [&](const lib::WDBTable& d) { data.cajero = d.S("NOMBRE"); });
  if (data.control == 1)
    collectPrepayments(data, options);
  else
    collectCharges(data, options);
  return data;
}

ClosingTotals TOTALIZA_CIERRE(const ClosingData& data) {
  ClosingTotals totals;
  for (const auto& [code, info] : transactionCodes(data.negocio)) {
    CurrencyTotals perCode;
    bool any = false;
    for (const ClosingRow& row : data.rows) {
      if (lib::rtrim(row.cTrans) != code) continue;
      any = true;
      perCode.add(row.moneda, row.signedAmount());
      totals.grand.add(row.moneda, row.signedAmount());
      if (!info.noCierre) totals.collected.add(row.moneda, row.signedAmount());
    }
    if (any) totals.perCode.emplace_back(code, perCode);
  }
  return totals;
}

namespace {

// The report's lines on the document.
class Layout {
 public:
  Layout(const ClosingData& data, const ClosingOptions& options, screens::PRINT_DOC& doc)
      : data_(data), options_(options), doc_(doc), perCurrency_(options.moneda.empty()) {
    lib::EACH_RECORD("MONEDAS", "MONEDAS", lib::businessKey(data.negocio),
                     [&](const lib::WDBTable& m) { symbols_[m.S("CODIGO")] = m.S("SIMBOLO"); });
  }

  void header(const std::string& kind) {
    const std::string status = data_.preliminar ? "Preliminar" : "Cierre Final";
    const std::string caja = "Caja: " + lib::rtrim(data_.caja) + " " + data_.descrip;
    if (options_.pos) {
      doc_.BITMAP(lib::G().PATH + "BMP/TICKET.BMP", 6);
      for (const std::string& line : {kind, caja, "Entre: " + lib::DTOC(data_.start.date) + " " + data_.start.time,
                                      "Y: " + lib::DTOC(data_.end.date) + " " + data_.end.time, status}) {
        doc_.SAY(30, line);
        doc_.LINE();
      }
      doc_.LINE(3);
      doc_.RULE(0, 96);
      doc_.LINE();
    } else {
      doc_.TITLES({kind, caja,
                   "Entre: " + lib::DTOC(data_.start.date) + " " + data_.start.time + "  y " + lib::DTOC(data_.end.date) +
                       " " + data_.end.time,
                   status});
      doc_.SAY(0, caja);
      doc_.LINE();
      doc_.SAY(0, "Cajero: " + data_.cajero);
      doc_.LINE(2);
    }
  }

  std::string symbol(const std::string& currency) const {
    auto it = symbols_.find(currency);
    return it == symbols_.end() ? currency : it->second;
  }

  // A total: one line per currency with "Ninguna", else the single amount.
  void total(const std::string& label, const CurrencyTotals& t) {
    doc_.SAY(0, label);
    if (!perCurrency_) {
      doc_.NUMBER(79, t.of(options_.moneda), kTotal);
      doc_.LINE();
      return;
    }
    if (t.entries().empty()) doc_.LINE();
    for (const auto& [currency, amount] : t.entries()) {
      doc_.SAY(50, symbol(currency));
      doc_.NUMBER(79, amount, kTotal);
      doc_.LINE();
    }
  }

  void transactions() {
    header("CIERRE DE CAJA");
    const ClosingTotals totals = TOTALIZA_CIERRE(data_);
    const auto codes = transactionCodes(data_.negocio);
    auto columns = [this](screens::PRINT_DOC& d) {
      if (options_.pos) {
        d.SAY(0, "Fecha/Hora");
        if (perCurrency_) d.SAY(80, "M");
        d.SAY(91, "Monto");
      } else {
        for (auto [col, text] : {std::pair{0, "Fecha"}, {10, "Hora"}, {20, "Folio"}, {35, "Room"}, {45, "Referencia"},
                                 {64, "Factura"}})
          d.SAY(col, text);
        if (perCurrency_) d.SAY(80, "M");
        d.SAY(91, "Monto");
      }
      d.LINE();
    };
    if (!options_.detalle) {
      doc_.SAY(0, "Tipo Transacción");
      doc_.SAY(91, "Monto");
      doc_.LINE();
    }
    for (const auto& [code, perCode] : totals.perCode) {
      const std::string descrip = codes.at(code).descrip;
      if (options_.detalle) {
        doc_.SAY(0, code + ": " + descrip);
        doc_.LINE();
        columns(doc_);
        doc_.ON_PAGE(columns);
        for (const ClosingRow& row : data_.rows) {
          if (lib::rtrim(row.cTrans) != code) continue;
          if (options_.pos) {
            doc_.SAY(0, lib::DTOC(row.fecha));
            doc_.SAY(20, row.hora);
          } else {
            doc_.SAY(0, lib::DTOC(row.fecha));
            doc_.SAY(10, row.hora);
            doc_.SAY(20, row.numero);
            doc_.SAY(35, row.room);
            doc_.SAY(45, row.documen.substr(0, 19));
            doc_.SAY(64, row.numFact);
          }
          if (perCurrency_) doc_.SAY(80, symbol(row.moneda));
          doc_.NUMBER(82, row.signedAmount(), kAmount);
          doc_.LINE();
        }
        doc_.ON_PAGE({});
        total(options_.pos ? "***Total " : "***Total " + descrip, perCode);
        doc_.LINE();
      } else {
        total(code + ": " + descrip, perCode);
      }
    }
    doc_.LINE();
    total("***Gran Total: ", totals.grand);
    total(options_.pos ? "***G.Tot. Recaudado:" : "***Gran Total Recaudado:", totals.collected);
    signature();
  }

  void summaries() {
    if (!data_.summary.empty()) {
      doc_.PAGE();
      doc_.SAY(0, "Resumen de Transacciones");
      doc_.LINE(2);
      for (auto [col, text] : {std::pair{0, "Código"}, {17, "Descripción"}, {79, "M"}, {91, "Monto"}}) doc_.SAY(col, text);
      doc_.LINE();
      CurrencyTotals t;
      for (const SummaryRow& s : data_.summary) {
        doc_.SAY(0, s.codTrans);
        doc_.SAY(17, s.descrip);
        doc_.SAY(79, symbol(s.moneda));
        doc_.NUMBER(82, s.monto, kAmount);
        doc_.LINE();
        t.add(s.moneda, s.monto);
      }
      doc_.LINE();
      perCurrencyTotal("***Total ", t);
    }
    if (!data_.invoices.empty()) {
      doc_.PAGE();
      doc_.SAY(0, "Listado de Facturas Emitidas");
      doc_.LINE(2);
      for (auto [col, text] : {std::pair{0, "Fecha"}, {10, "Hora"}, {20, "Factura"}, {36, "Compañia"}, {80, "M"}, {91, "Monto"}})
        doc_.SAY(col, text);
      doc_.LINE();
      CurrencyTotals t;
      for (const InvoiceRow& i : data_.invoices) {
        doc_.SAY(0, lib::DTOC(i.fecha));
        doc_.SAY(10, i.hora);
        doc_.SAY(20, i.numFact);
        doc_.SAY(36, i.compania.substr(0, 43));
        doc_.SAY(80, symbol(i.moneda));
        doc_.NUMBER(82, i.monto, kAmount);
        doc_.LINE();
        t.add(i.moneda, i.monto);
      }
      doc_.LINE();
      perCurrencyTotal("***Total ", t);
    }
  }

  void prepayments() {
    header("CIERRE DE CAJA PRE-PAGOS");
    std::map<std::string, std::string> concepts;
    lib::EACH_RECORD("CON_HLIB", "CON_HLIB", lib::businessKey(data_.negocio),
                     [&](const lib::WDBTable& k) { concepts[k.S("CONCEPTO")] = k.S("DESCRIP"); });
    auto columns = [this](screens::PRINT_DOC& d) {
      if (options_.pos) {
        d.SAY(0, "Fecha/Hora");
      } else {
        for (auto [col, text] : {std::pair{0, "Fecha"}, {10, "Hora"}, {20, "Mov."}, {35, "Depósito"}, {45, "Referencia"}})
          d.SAY(col, text);
      }
      d.SAY(91, "Monto");
      d.LINE();
    };
    auto section = [&](bool annulled) {
      Money grand;
      bool first = true;
      for (const auto& [concepto, descrip] : concepts) {
        Money total;
        bool any = false;
        for (const ClosingRow& row : data_.rows) {
          if (row.anulado != annulled || lib::rtrim(row.cTrans) != concepto) continue;
          if (annulled && first) {
            doc_.SAY(0, "MOVIMIENTOS ANULADOS CON FECHA CREACION FUERA DE CIERRE:");
            doc_.LINE(2);
            first = false;
          }
          if (!any && options_.detalle) {
            doc_.SAY(0, concepto + ": " + descrip);
            doc_.LINE();
            columns(doc_);
          }
          any = true;
          total += row.signedAmount();
          if (!options_.detalle) continue;
          doc_.SAY(0, lib::DTOC(row.fecha));
          doc_.SAY(options_.pos ? 20 : 10, row.hora);
          if (!options_.pos) {
            doc_.SAY(20, row.movimiento);
            doc_.SAY(35, row.numDep);
            doc_.SAY(45, (row.comenta + " " + row.codRes).substr(0, 40));
          }
          doc_.NUMBER(82, row.signedAmount(), kAmount);
          doc_.LINE();
        }
        grand += total;
        if (!any || total.isZero()) continue;
        const std::string label = annulled ? (options_.pos ? "***Total Nulo" : "***Total Nulo " + descrip)
                                           : (options_.pos ? "***Total " : "***Total " + descrip);
        doc_.SAY(0, options_.detalle ? label : concepto + ": " + descrip);
        doc_.NUMBER(79, total, kTotal);
        doc_.LINE(options_.detalle ? 2 : 1);
      }
      if (annulled && grand.isZero()) return;
      doc_.SAY(0, annulled ? "***Gran Total Nulo" : "***Gran Total ");
      doc_.NUMBER(79, grand, kTotal);
      doc_.LINE(2);
    };
    section(false);
    section(true);
    signature();
  }

 private:
  void perCurrencyTotal(const std::string& label, const CurrencyTotals& t) {
    doc_.SAY(0, label);
    for (const auto& [currency, amount] : t.entries()) {
      doc_.SAY(79, symbol(currency));
      doc_.NUMBER(82, amount, kAmount);
      doc_.LINE();
    }
  }
  void signature() {
    doc_.LINE(5);
    doc_.RULE(0, 70);
    doc_.LINE();
    doc_.SAY(0, "Revisado por:");
    doc_.LINE(3);
    doc_.SAY(0, ".");
    doc_.LINE();
  }

  const ClosingData& data_;
  const ClosingOptions& options_;
  screens::PRINT_DOC& doc_;
  const bool perCurrency_;
  std::map<std::string, std::string> symbols_;
};

}  // namespace

void IMPRIME_CIERRE(const ClosingData& data, const ClosingOptions& options, screens::PRINT_DOC& doc) {
  Layout layout(data, options, doc);
  if (data.control == 1) {
    layout.prepayments();
    return;
  }
  layout.transactions();
  if (options.resumen) layout.summaries();
}

}  // namespace frontcash
