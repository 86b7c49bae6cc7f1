#include "cashier/code_rules.h"

#include <memory>

#include "lib/text.h"
#include "lib/use.h"

namespace cashier {

namespace {

using lib::WDBTable;

constexpr size_t kCodeWidth = 4;

std::string key(const std::string& negocio, const std::string& code) {
  return lib::businessKey(negocio) + lib::padded(code, kCodeWidth);
}

// The tables the rules are read from, open for one reading.
struct RuleTables {
  std::unique_ptr<WDBTable> transacs = lib::USE(nullptr, "TRANSACS", "TRANSACS1");
  std::unique_ptr<WDBTable> links = lib::USE(nullptr, "DET_IMP", "DET_IMP2");
  std::unique_ptr<WDBTable> taxes = lib::USE(nullptr, "TIPO_IMP", "TIPO_IMP");

  ~RuleTables() {
    lib::KILLTABLA(taxes);
    lib::KILLTABLA(links);
    lib::KILLTABLA(transacs);
  }

  // Every applied tax of the code: its links with CHECK1 = 1, in the order of their tax codes.
  std::vector<AppliedTax> applied(const std::string& negocio, const std::string& code) {
    std::vector<AppliedTax> out;
    links->SetScope(key(negocio, code) + "1");
    for (links->GoTop(); !links->Eof(); links->Skip()) {
      if (links->Deleted()) continue;
      const std::string tax = links->S("COD_IMP");
      if (tax.empty() || !taxes->Seek(lib::businessKey(negocio) + taxes->KeyPart("CODIGO", tax))) continue;
      out.push_back({lib::trim(tax), taxes->S("DESCRIP"), taxes->M("MONTO"), lib::trim(taxes->S("COD_TRANS"))});
    }
    links->ClearScope();
    return out;
  }

  // The code's own record, when the business has it.
  bool seek(const std::string& negocio, const std::string& code) {
    return transacs->Seek(key(negocio, code)) && !transacs->Deleted();
  }

  SimpleRules simple(const std::string& negocio, const std::string& code) {
    SimpleRules r;
    r.code = lib::trim(code);
    if (!seek(negocio, code)) return r;
    r.description = transacs->S("DESCRIP");
    r.credit = transacs->N("CREDITO") == 1;
    r.included = transacs->N("IMP_INCLU") == 1;
    r.taxes = applied(negocio, code);
    return r;
  }
};

}  // namespace

std::optional<CodeRules> REGLAS_CARGO(const std::string& negocio, const std::string& code) {
  RuleTables t;
  if (!t.seek(negocio, code)) return std::nullopt;
  CodeRules rules;
  static_cast<SimpleRules&>(rules) = t.simple(negocio, code);
  rules.composite = t.transacs->N("SUB_TRAN") == 1;
  if (!rules.composite) return rules;
  rules.taxes.clear();  // a composite code's taxes are its components'
  std::vector<std::pair<std::string, lib::Money>> parts;
  lib::EACH_RECORD("DET_TRAN", "DET_TRAN", key(negocio, code), [&](const WDBTable& d) {
    parts.push_back({d.S("CODIGO"), d.M("PORCENTAJE")});
  });
  for (const auto& [component, percentage] : parts) {
    Component c;
    c.rules = t.simple(negocio, component);
    c.percentage = percentage;
    lib::EACH_RECORD("TIPO_IMP", "TIPO_IMP2", key(negocio, component),
                     [&](const WDBTable& tax) { c.postsTaxes.push_back(lib::trim(tax.S("CODIGO"))); });
    rules.components.push_back(std::move(c));
  }
  return rules;
}

lib::Money TOT_IMP(const std::string& negocio, const std::string& code) {
  RuleTables t;
  lib::Money sum;
  for (const AppliedTax& tax : t.applied(negocio, code)) sum += tax.rate;
  return sum;
}

}  // namespace cashier
