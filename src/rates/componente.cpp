#include "rates/componente.h"

#include <optional>

#include "lib/money.h"
#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "screens/form.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/dialog_box.h"

namespace rates {

namespace {

constexpr int kTrans = 601, kFirst = 500, kSecond = 501, kThird = 502;
constexpr const char* kPicture = "999.9999";

lib::Money amountOf(const win::ModalDialog& d, int id) {
  return lib::Money::parse(d.GetDlgItemText(id)).value_or(lib::Money()).rounded(4);
}

// Another row of the working copy holds `code`.
bool inLine(lib::WDBTable& line, const std::string& code, uint32_t editing) {
  const uint32_t back = line.RecNo();
  bool found = false;
  for (line.GoTop(); !line.Eof() && !found; line.Skip())
    found = line.RecNo() != editing && lib::trim(line.S("COD_TRANS")) == code;
  line.GoTo(back);
  return found;
}

bool refuse(win::ModalDialog& d, const std::string& text, int focus) {
  screens::error(text);
  d.SetFocusTo(focus);
  return false;
}

struct Field {
  int id;
  const char* name;
};

// Both dialogs: the transaction combo and numbers with the same picture; `check` refuses
// what the dialog refuses beyond the transaction code.
bool edit(const std::string& dialog, win::WDIAG* owner, const std::string& negocio, lib::WDBTable& line,
          uint32_t recno, const std::vector<Field>& fields,
          const std::function<bool(win::ModalDialog&)>& check = {}) {
  bool saved = false;
  win::DIALOG_BOX(
      dialog, owner,
      {[&](win::ModalDialog& d) {
         screens::LOAD_LISTA(d, {kTrans}, "TRANSACS", "TRANSACS1", negocio, "DESCRIP", true);
         if (recno) line.GoTo(recno);
         win::CCOMBOBOX trans(&d, kTrans);
         if (recno) screens::SEEK_CODIGO(trans, line.S("COD_TRANS"));
         for (const Field& f : fields)
           d.SetDlgItemText(f.id, lib::TRANSFORM_NUMBER(recno ? line.N(f.name) : 0.0, kPicture));
         d.SetFocusTo(kTrans);
       },
       [&](win::ModalDialog& d) {
         const std::string code = lib::trim(win::CCOMBOBOX(&d, kTrans).CurCargo());
         if (code.empty()) return refuse(d, "No ha selecionado el tipo de transacción", kTrans);
         if (inLine(line, code, recno)) return refuse(d, "Código Ya definido...", kTrans);
         if (check && !check(d)) return false;
         auto fill = [&] {
           line.FieldPut("COD_TRANS", lib::Value::chars(code));
           for (const Field& f : fields) line.FieldPut(f.name, amountOf(d, f.id));
         };
         if (recno) {
           line.GoTo(recno);
           lib::MODIFY(line, fill);
         } else {
           lib::ADD(line, [&] {
             line.FieldPut("NUM_REC", lib::Value::num(0));
             fill();
           });
         }
         saved = true;
         return true;
       }});
  return saved;
}

}  // namespace

bool E_RACK2(win::WDIAG* owner, const std::string& negocio, lib::WDBTable& line, uint32_t recno) {
  return edit("E_RACK2", owner, negocio, line, recno, {{kFirst, "PORCENTAJE"}, {kSecond, "IMPONIBLE"}},
              [](win::ModalDialog& d) {
                const lib::Money share = amountOf(d, kFirst);
                if (share > lib::Money::units(100)) return refuse(d, "El porcentaje mayor que 100%", kFirst);
                if (share <= lib::Money()) return refuse(d, "El porcentaje menor o igual a cero", kFirst);
                return true;
              });
}

bool E_RACK6(win::WDIAG* owner, const std::string& negocio, lib::WDBTable& line, uint32_t recno) {
  return edit("E_RACK6", owner, negocio, line, recno,
              {{kFirst, "VALOR"}, {kSecond, "IMPONIBLE"}, {kThird, "MONTO_BASE"}});
}

}  // namespace rates
