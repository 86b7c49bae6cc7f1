#include "cashier/code_references.h"

#include <functional>

#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/wait.h"

namespace cashier {

namespace {

using screens::RecodeStep;

constexpr size_t kMemberWidth = 15;  // DET_INGR.CODIGO: a transaction code padded to 15

// The income groups list a transaction code as a member of TIPO 1 (their billing concepts,
// TIPO 0, may have the same letters and are left alone).
size_t eachMembership(const std::string& negocio, const std::string& code, screens::CascadeReport& report,
                      const std::function<void(lib::WDBTable&)>& change) {
  if (!lib::IS_FILE(nullptr, "DET_INGR")) return 0;
  auto t = lib::USE(nullptr, "DET_INGR", "DET_INGR2");
  const std::string key = lib::businessKey(negocio) + "1" + lib::padded(lib::trim(code), kMemberWidth);
  std::vector<uint32_t> records;
  t->SetScope(key);
  for (t->GoTop(); !t->Eof(); t->Skip())
    if (!t->Deleted()) records.push_back(t->RecNo());
  t->ClearScope();
  for (uint32_t r : records) {
    t->GoTo(r);
    lib::MODIFY(*t, [&] { change(*t); });
  }
  lib::KILLTABLA(t);
  report.count("DET_INGR", records.size());
  return records.size();
}

}  // namespace

const std::vector<RecodeStep>& CODE_REFERENCES() {
  static const std::vector<RecodeStep> steps = {
      {"DET_FOL", "COD_TRANS", ""},
      {"DET_FOL", "COD_TRAN", "", false},
      {"DET_RACK", "COD_TRANS", "DET_RACK2"},
      {"TIPO_IMP", "COD_TRANS", "TIPO_IMP2"},
      {"DET_TRA2", "COD_TRANS", "DET_TRA2"},
      {"HOT_ART", "COD_TRANS", ""},
      {"DET_IMP", "COD_TRANS", "DET_IMP"},
      {"DET_TRAN", "COD_TRAN", "DET_TRAN"},
      {"DET_TRAN", "CODIGO", "DET_TRAN2", false},
      {"DET_TRA3", "COD_TRANS", "DET_TRA3"},
      {"DET_TRA3", "SUB_TRANS", "DET_TRA32", false},
      {"T_PAGO", "COD_TRANS", ""},
      {"TRANSACS", "TRANS_1", ""},
      {"TRANSACS", "TRANS_2", "", false},
      {"TRANSACS", "TRANS_3", "", false},
      {"TRANSACS", "TRANS_4", "", false},
  };
  return steps;
}

screens::CascadeReport RECODIFICA_CARGO(const std::string& negocio, const std::string& oldCode,
                                        const std::string& newCode, win::WAIT* wait) {
  screens::CascadeReport report = screens::RECODIFICA(CODE_REFERENCES(), negocio, oldCode, newCode, wait);
  if (wait) wait->PUT_TEXT("", "Recodificando DET_INGR...");
  eachMembership(negocio, oldCode, report, [&](lib::WDBTable& t) {
    t.FieldPut("CODIGO", lib::Value::chars(lib::padded(lib::trim(newCode), kMemberWidth)));
  });
  return report;
}

screens::CascadeReport BORRA_CARGO(const std::string& negocio, const std::string& code, win::WAIT* wait) {
  static const std::vector<RecodeStep> steps = {
      {"DET_TRAN", "COD_TRAN", "DET_TRAN", true, true},
      {"DET_TRAN", "CODIGO", "DET_TRAN2", false, true},
      {"HOT_ART", "COD_TRANS", ""},
      {"DET_IMP", "COD_TRANS", "DET_IMP", true, true},
      {"DET_TRA3", "COD_TRANS", "DET_TRA3", true, true},
      {"DET_TRA3", "SUB_TRANS", "DET_TRA32", false, true},
      {"DET_TRA2", "COD_TRANS", "DET_TRA2", true, true},
  };
  screens::CascadeReport report = screens::BORRA_CODIGO(steps, negocio, code, wait);
  eachMembership(negocio, code, report, [](lib::WDBTable& t) { t.Delete(); });
  return report;
}

const std::vector<RecodeStep>& TAX_REFERENCES() {
  static const std::vector<RecodeStep> steps = {{"DET_IMP", "COD_IMP", "DET_IMP3", false}};
  return steps;
}

}  // namespace cashier
