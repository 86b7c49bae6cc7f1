#include "parameters/parameter_form.h"

#include <cmath>

#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/record_protocol.h"
#include "lib/text.h"
#include "lib/use.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "win/wdiag.h"

namespace parameters {

namespace {

using lib::rtrim;
using lib::trim;
using lib::Value;

// Every record of the scope `key` (a leading part of the order's key), in order.
void eachRecord(lib::WDBTable& t, const std::string& key, const std::function<void()>& visit) {
  t.SetScope(Value::chars(key), Value::chars(key));
  for (t.GoTop(); !t.Eof(); t.Skip())
    if (!t.Deleted()) visit();
  t.ClearScope();
}

}  // namespace

std::string businessKey(const std::string& negocio) {
  std::string key = negocio;
  key.resize(2, ' ');
  return key;
}

bool CREA_PARAMETRO(lib::WDBTable& table, const std::string& negocio) {
  const std::string key = businessKey(negocio);
  if (table.Seek(key)) return false;
  lib::ADD(table, [&] { table.FieldPut("NEGOCIO", Value::chars(key)); });
  return true;
}

namespace {

void fill(win::WDIAG& dialog, std::initializer_list<int> ids, lib::WDBTable& t, const std::string& key,
          const std::function<bool()>& wanted, const std::string& textField) {
  std::vector<std::pair<std::string, std::string>> entries;
  eachRecord(t, key, [&] {
    if (!wanted || wanted()) entries.push_back({t.S(textField), t.S("CODIGO")});
  });
  for (int id : ids) {
    win::CCOMBOBOX list(&dialog, id);
    for (const auto& [text, code] : entries) list.Add(text, 0, code);
  }
}

}  // namespace

void LOAD_LISTA(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
                const std::string& negocio, const std::string& textField) {
  auto t = lib::USE(nullptr, table, tag);
  fill(dialog, ids, *t, businessKey(negocio), {}, textField);
  lib::KILLTABLA(t);
}

void LOAD_SERIALES(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio, bool allModules) {
  auto t = lib::USE(nullptr, "SERIALES", allModules ? "SERIAL4" : "SERIAL3");
  if (allModules)
    fill(dialog, ids, *t, businessKey(negocio), {}, "DESCRIP");
  else
    fill(
        dialog, ids, *t, businessKey(negocio) + "09", [&] { return rtrim(t->S("MODULO")) == "09"; }, "DESCRIP");
  lib::KILLTABLA(t);
}

void LOAD_LIGAS(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio) {
  auto t = lib::USE(nullptr, "LIGAS", "LIGA3");
  fill(
      dialog, ids, *t, businessKey(negocio) + "09", [&] { return rtrim(t->S("MODULO")) == "09"; }, "DESCRIP");
  lib::KILLTABLA(t);
}

bool SEEK_CODIGO(win::CCOMBOBOX& list, const std::string& code) {
  const std::vector<std::string> cargos = list.GET_CARGOS();
  for (size_t i = 0; i < cargos.size(); ++i)
    if (rtrim(cargos[i]) == rtrim(code)) {
      list.SetCurItem(int(i) + 1);
      return true;
    }
  list.SetCurItem(0);
  return false;
}

PARAM_FORM::Binding& PARAM_FORM::bind(Kind kind, int id, lib::WDBTable* table, const std::string& field) {
  Binding b;
  b.kind = kind;
  b.id = id;
  b.table = table;
  b.field = field;
  bindings_.push_back(std::move(b));
  return bindings_.back();
}

void PARAM_FORM::FLAG(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::WCHECKBOX>(&dialog_, id));
  bind(Kind::Flag, id, table, field);
}

void PARAM_FORM::TEXT(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  bind(Kind::Text, id, table, field);
}

void PARAM_FORM::TRIMMED(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  bind(Kind::Trimmed, id, table, field);
}

void PARAM_FORM::DIGITS2(int id, lib::WDBTable* table, const std::string& field, const std::string& filter) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  bind(Kind::Digits2, id, table, field).filter = filter;
}

void PARAM_FORM::NUMBER(int id, lib::WDBTable* table, const std::string& field, const std::string& picture,
                        const std::string& filter) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  Binding& b = bind(Kind::Number, id, table, field);
  b.picture = picture;
  b.filter = filter.empty() ? picture : filter;
}

void PARAM_FORM::DATE(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  bind(Kind::Date, id, table, field);
}

void PARAM_FORM::CODE(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::CCOMBOBOX>(&dialog_, id));
  bind(Kind::Code, id, table, field);
}

void PARAM_FORM::CHOICE(int id, lib::WDBTable* table, const std::string& field,
                        const std::vector<std::pair<std::string, int>>& entries) {
  auto* list = dialog_.ADD(std::make_unique<win::CCOMBOBOX>(&dialog_, id));
  for (const auto& [text, value] : entries) list->Add(text, 0, std::to_string(value));
  bind(Kind::Choice, id, table, field);
}

void PARAM_FORM::addOptionButtons(const std::vector<int>& ids, std::function<void()> onClick) {
  for (int id : ids) {
    if (onClick)
      dialog_.ADD(std::make_unique<win::WRADIOBUTTON>(&dialog_, id), [onClick](win::WDIAG&, win::WCONTROL&, int) {
        onClick();
        return 1;
      });
    else
      dialog_.ADD(std::make_unique<win::WRADIOBUTTON>(&dialog_, id));
  }
}

void PARAM_FORM::OPTION(lib::WDBTable* table, const std::string& field, const std::vector<std::pair<int, int>>& buttons,
                        int fallback, std::function<void()> onClick) {
  Binding& b = bind(Kind::Option, 0, table, field);
  std::vector<int> ids;
  for (const auto& [id, value] : buttons) {
    b.buttons.push_back({id, std::to_string(value)});
    ids.push_back(id);
  }
  b.fallback = fallback;
  addOptionButtons(ids, std::move(onClick));
}

void PARAM_FORM::OPTION_TEXT(lib::WDBTable* table, const std::string& field,
                             const std::vector<std::pair<int, std::string>>& buttons, int fallback) {
  Binding& b = bind(Kind::OptionText, 0, table, field);
  b.buttons = buttons;
  b.fallback = fallback;
  std::vector<int> ids;
  for (const auto& button : buttons) ids.push_back(button.first);
  addOptionButtons(ids, {});
}

void PARAM_FORM::LOAD() {
  for (const Binding& b : bindings_) {
    const lib::WDBTable& t = *b.table;
    switch (b.kind) {
      case Kind::Flag:
        dialog_.CheckDlgButton(b.id, t.N(b.field) == 1);
        break;
      case Kind::Text:
        dialog_.SetDlgItemText(b.id, t.S(b.field));
        break;
      case Kind::Trimmed:
        dialog_.SetDlgItemText(b.id, trim(t.S(b.field)));
        break;
      case Kind::Digits2: {
        std::string digits = trim(t.S(b.field));
        if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
        dialog_.SetDlgItemText(b.id, digits);
        break;
      }
      case Kind::Number:
        dialog_.SetDlgItemText(b.id, lib::TRANSFORM_NUMBER(t.N(b.field), b.picture));
        break;
      case Kind::Date:
        dialog_.SetDlgItemText(b.id, lib::DTOC(t.D(b.field)));
        break;
      case Kind::Code: {
        win::CCOMBOBOX list(&dialog_, b.id);
        SEEK_CODIGO(list, t.S(b.field));
        break;
      }
      case Kind::Choice: {
        win::CCOMBOBOX list(&dialog_, b.id);
        list.SeekCargo(std::to_string(int(std::lround(t.N(b.field)))));
        break;
      }
      case Kind::Option:
      case Kind::OptionText: {
        const std::string stored =
            b.kind == Kind::Option ? std::to_string(int(std::lround(t.N(b.field)))) : trim(t.S(b.field));
        int on = 0;
        for (const auto& [id, value] : b.buttons)
          if (trim(value) == stored) on = id;
        if (!on) on = b.fallback;
        for (const auto& button : b.buttons) dialog_.CheckDlgButton(button.first, button.first == on);
        break;
      }
    }
  }
}

void PARAM_FORM::FILTROS() {
  for (const Binding& b : bindings_) {
    if (b.kind != Kind::Number && b.kind != Kind::Digits2) continue;
    win::WEDIT edit(&dialog_, b.id);
    win::ONLYNUMBER(edit, b.filter);
  }
}

void PARAM_FORM::SAVE(lib::WDBTable* table) const {
  lib::WDBTable& t = *table;
  for (const Binding& b : bindings_) {
    if (b.table != table) continue;
    switch (b.kind) {
      case Kind::Flag:
        t.FieldPut(b.field, Value::num(dialog_.IsDlgButtonChecked(b.id) ? 1 : 0));
        break;
      case Kind::Text:
        t.FieldPut(b.field, Value::chars(dialog_.GetDlgItemText(b.id)));
        break;
      case Kind::Trimmed:
        t.FieldPut(b.field, Value::chars(trim(dialog_.GetDlgItemText(b.id))));
        break;
      case Kind::Digits2: {
        std::string digits = trim(dialog_.GetDlgItemText(b.id));
        if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
        t.FieldPut(b.field, Value::chars(digits));
        break;
      }
      case Kind::Number:
        t.FieldPut(b.field, Value::num(lib::readNumber(dialog_.GetDlgItemText(b.id))));
        break;
      case Kind::Date:
        t.FieldPut(b.field, Value::date(lib::CTOD(dialog_.GetDlgItemText(b.id))));
        break;
      case Kind::Code: {
        win::CCOMBOBOX list(&dialog_, b.id);
        if (list.CurItem() > 0) t.FieldPut(b.field, Value::chars(list.CurCargo()));
        break;
      }
      case Kind::Choice: {
        win::CCOMBOBOX list(&dialog_, b.id);
        if (list.CurItem() > 0) t.FieldPut(b.field, Value::num(std::atoi(list.CurCargo().c_str())));
        break;
      }
      case Kind::Option:
      case Kind::OptionText:
        for (const auto& [id, value] : b.buttons) {
          if (!dialog_.IsDlgButtonChecked(id)) continue;
          t.FieldPut(b.field, b.kind == Kind::Option ? Value::num(std::atoi(value.c_str())) : Value::chars(value));
          break;
        }
        break;
    }
  }
}

}  // namespace parameters
