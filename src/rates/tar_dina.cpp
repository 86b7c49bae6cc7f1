#include "rates/tar_dina.h"

#include "lib/rate_calendar.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "rates/e_td_tem.h"
#include "screens/messages.h"
#include "screens/recode.h"
#include "win/dialog_box.h"
#include "xbase/date.h"

namespace rates {

namespace {

constexpr int kTree = 901;
enum Command { kAdd = 9011, kModify };
constexpr int kCode = 500, kName = 501, kLong = 502;

const std::vector<screens::RecodeStep> kCategoryReferences = {{"ENC_RACK", "TD_CAT", "ENC_RACK3"}};

// Node values: what a node is, and whose.
const std::string kCategory = "C:", kPrices = "P:", kSeason = "S:";

bool starts(const std::string& s, const std::string& prefix) {
  return s.rfind(prefix, 0) == 0;
}

}  // namespace

std::string CODIGO_TEMPORADA(int32_t inicio, int32_t fin) {
  return xbase::dtos(inicio) + xbase::dtos(fin);
}

TAR_DINA::TAR_DINA(const std::string& dialog, const std::string& negocio) : SCREEN(dialog, negocio) {}

void TAR_DINA::INIT() {
  if (!Init(nullptr, DIALOG)) return;
  TREE = std::make_unique<win::TREEVIEW>(this, kTree);
  ADD(TREE.get());
  ADD_BUTTON(win::IDOK, [this] { ENDDIALOG(); });
  ADD_BUTTON(201, [this] { AGREGAR(); });
  ADD_BUTTON(202, [this] { MODIFICAR(); });
  CREATE(DIALOG);
  TREE->DEFINE_MENU({{kAdd, "Agregar"}, {kModify, "Modificar"}});
  LOAD_TREE();
}

int TAR_DINA::OnCOMMAND(int id, int notification) {
  if (id == kAdd) {
    AGREGAR();
    return 1;
  }
  if (id == kModify) {
    MODIFICAR();
    return 1;
  }
  return WDIAG::OnCOMMAND(id, notification);
}

void TAR_DINA::LOAD_TREE(const std::string& select) {
  TREE->ZAP_TREE();
  root_ = TREE->ADDLASTCHILD(TREE->GETROOT(), "Tarifas Dinámicas", "ROOT");
  win::TreeNode chosen = root_;
  auto pick = [&](win::TreeNode n, const std::string& value) {
    if (!select.empty() && value == select) chosen = n;
  };
  const std::string business = lib::businessKey(NEGOCIO);
  lib::EACH_RECORD("TD_CATS", "TD_CATS", business, [&](const lib::WDBTable& cat) {
    const std::string code = lib::trim(cat.S("CODIGO"));
    win::TreeNode c = TREE->ADDLASTCHILD(root_, code + " - " + lib::trim(cat.S("DESCRIP1")), kCategory + code, "", cat.RecNo());
    pick(c, kCategory + code);
    win::TreeNode types = TREE->ADDLASTCHILD(c, "Tipos de Tarifas", "");
    lib::EACH_RECORD("ENC_RACK", "ENC_RACK3", business + lib::padded(code, 4), [&](const lib::WDBTable& rate) {
      const std::string rack = lib::trim(rate.S("CODIGO"));
      win::TreeNode r = TREE->ADDLASTCHILD(types, rack + " - " + lib::trim(rate.S("DESCRIP")), "R:" + rack);
      TREE->ADDLASTCHILD(r, "Políticas", "");
      TREE->ADDLASTCHILD(r, "Restricciones", "");
      win::TreeNode prices = TREE->ADDLASTCHILD(r, "Precios", kPrices + rack);
      pick(prices, kPrices + rack);
      lib::EACH_RECORD("TD_E_TEM", "TD_E_TEM", business + lib::padded(rack, 4), [&](const lib::WDBTable& s) {
        const std::string value = kSeason + rack + "|" + lib::trim(s.S("CODIGO"));
        win::TreeNode n = TREE->ADDLASTCHILD(prices,
                                             lib::trim(s.S("DESCRIP")) + " (" + lib::FECHA_LARGA(s.D("F_INICIO")) + " a " +
                                                 lib::FECHA_LARGA(s.D("F_FINAL")) + ")",
                                             value, "", s.RecNo());
        pick(n, value);
      });
      TREE->EXPAND(prices);
      TREE->EXPAND(r);
    });
    TREE->EXPAND(types);
    TREE->ADDLASTCHILD(c, "Restricciones", "");
    TREE->EXPAND(c);
  });
  TREE->EXPAND(root_);
  TREE->REFRESH();
  TREE->Select(chosen);
}

void TAR_DINA::AGREGAR() {
  CALL_LEVEL();
  win::TreeNode node = TREE->Selected();
  const std::string value = node ? TREE->Value(node) : "";
  if (node == root_)
    E_TD_CAT(0);
  else if (starts(value, kPrices))
    screens::OPEN<E_TD_TEM>(this, NEGOCIO, value.substr(kPrices.size()), 0u);
  else
    screens::error("No se permite agregar en este nivel");
}

void TAR_DINA::MODIFICAR() {
  CALL_LEVEL();
  win::TreeNode node = TREE->Selected();
  const std::string value = node ? TREE->Value(node) : "";
  if (starts(value, kCategory))
    E_TD_CAT(TREE->RecNo(node));
  else if (starts(value, kSeason))
    screens::OPEN<E_TD_TEM>(this, NEGOCIO, value.substr(kSeason.size(), value.find('|') - kSeason.size()),
                            TREE->RecNo(node));
  else
    screens::error("No se permite modificar en este nivel");
}

// A category: its code (unique in the business unit) and both descriptions.
bool TAR_DINA::E_TD_CAT(uint32_t recno) {
  auto cats = lib::USE(nullptr, "TD_CATS", "TD_CATS");
  std::string saved;
  win::DIALOG_BOX("E_TD_CAT", this,
                  {[&](win::ModalDialog& d) {
                     if (recno) {
                       cats->GoTo(recno);
                       d.SetDlgItemText(kCode, lib::trim(cats->S("CODIGO")));
                       d.SetDlgItemText(kName, lib::trim(cats->S("DESCRIP1")));
                       d.SetDlgItemText(kLong, cats->S("DESCRIP2"));
                     }
                     d.SetFocusTo(kCode);
                   },
                   [&](win::ModalDialog& d) {
                     const std::string code = lib::upper(lib::trim(d.GetDlgItemText(kCode))).substr(0, 4);
                     if (code.empty()) {
                       screens::error("Debe definir el Código");
                       d.SetFocusTo(kCode);
                       return false;
                     }
                     if (cats->Seek(cats->KeyPart("NEGOCIO", NEGOCIO) + cats->KeyPart("CODIGO", code)) &&
                         cats->RecNo() != recno) {
                       screens::error("Código Ya definido...");
                       d.SetFocusTo(kCode);
                       return false;
                     }
                     auto fill = [&] {
                       cats->FieldPut("CODIGO", lib::Value::chars(code));
                       cats->FieldPut("DESCRIP1", lib::Value::chars(lib::trim(d.GetDlgItemText(kName))));
                       cats->FieldPut("DESCRIP2", lib::Value::chars(d.GetDlgItemText(kLong)));
                     };
                     if (recno) {
                       cats->GoTo(recno);
                       // The rate types of the category follow its code.
                       const std::string oldCode = lib::trim(cats->S("CODIGO"));
                       if (oldCode != code)
                         screens::AVISA_FALTANTES(screens::RECODIFICA(kCategoryReferences, NEGOCIO, oldCode, code));
                       cats->GoTo(recno);
                       lib::MODIFY(*cats, fill);
                     } else {
                       lib::ADD(*cats, [&] {
                         cats->FieldPut("NEGOCIO", lib::Value::chars(NEGOCIO));
                         fill();
                       });
                     }
                     saved = code;
                     return true;
                   }});
  if (!saved.empty()) LOAD_TREE(kCategory + saved);
  return !saved.empty();
}

}  // namespace rates
