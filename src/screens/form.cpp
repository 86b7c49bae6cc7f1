#include "screens/form.h"

#include <cmath>

#include "lib/picture.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "lib/use.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "win/wdiag.h"

namespace screens {

namespace {

using lib::rtrim;
using lib::trim;
using lib::Value;

std::string twoDigits(std::string digits) {
  digits = trim(digits);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return digits;
}

}  // namespace

FORM::Binding& FORM::bind(Kind kind, int id, lib::WDBTable* table, const std::string& field) {
  Binding b;
  b.kind = kind;
  b.id = id;
  b.table = table;
  b.field = field;
  bindings_.push_back(std::move(b));
  return bindings_.back();
}

void FORM::addEdit(int id, lib::WDBTable* table, const std::string& field, bool limited) {
  auto* edit = dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id));
  if (limited && table && table->FieldWidth(field) > 0) edit->SetLimit(int(table->FieldWidth(field)));
}

void FORM::FLAG(int id, lib::WDBTable* table, const std::string& field, std::function<void()> onClick) {
  if (onClick)
    dialog_.ADD(std::make_unique<win::WCHECKBOX>(&dialog_, id), [onClick](win::WDIAG&, win::WCONTROL&, int) {
      onClick();
      return 1;
    });
  else
    dialog_.ADD(std::make_unique<win::WCHECKBOX>(&dialog_, id));
  bind(Kind::Flag, id, table, field);
}

void FORM::TEXT(int id, lib::WDBTable* table, const std::string& field) {
  addEdit(id, table, field, true);
  bind(Kind::Text, id, table, field);
}

void FORM::TRIMMED(int id, lib::WDBTable* table, const std::string& field) {
  addEdit(id, table, field, true);
  bind(Kind::Trimmed, id, table, field);
}

void FORM::UPPER(int id, lib::WDBTable* table, const std::string& field) {
  addEdit(id, table, field, true);
  bind(Kind::Upper, id, table, field);
}

void FORM::DIGITS2(int id, lib::WDBTable* table, const std::string& field, const std::string& filter) {
  addEdit(id, table, field, false);
  bind(Kind::Digits2, id, table, field).filter = filter;
}

void FORM::NUMBER(int id, lib::WDBTable* table, const std::string& field, const std::string& picture,
                  const std::string& filter) {
  addEdit(id, table, field, false);
  Binding& b = bind(Kind::Number, id, table, field);
  b.picture = picture;
  b.filter = filter.empty() ? picture : filter;
}

void FORM::SHOWN(int id, lib::WDBTable* table, const std::string& field, const std::string& picture) {
  dialog_.ADD(std::make_unique<win::WEDIT>(&dialog_, id))->ReadOnly(true);
  bind(Kind::Shown, id, table, field).picture = picture;
}

void FORM::DATE(int id, lib::WDBTable* table, const std::string& field) {
  addEdit(id, table, field, false);
  bind(Kind::Date, id, table, field);
}

void FORM::CODE(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::CCOMBOBOX>(&dialog_, id));
  bind(Kind::Code, id, table, field);
}

void FORM::CODE_OR_BLANK(int id, lib::WDBTable* table, const std::string& field) {
  dialog_.ADD(std::make_unique<win::CCOMBOBOX>(&dialog_, id));
  bind(Kind::CodeOrBlank, id, table, field);
}

void FORM::CHOICE(int id, lib::WDBTable* table, const std::string& field,
                  const std::vector<std::pair<std::string, int>>& entries) {
  auto* list = dialog_.ADD(std::make_unique<win::CCOMBOBOX>(&dialog_, id));
  for (const auto& [text, value] : entries) list->Add(text, 0, std::to_string(value));
  bind(Kind::Choice, id, table, field);
}

void FORM::addOptionButtons(const std::vector<int>& ids, std::function<void()> onClick) {
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

void FORM::OPTION(lib::WDBTable* table, const std::string& field, const std::vector<std::pair<int, int>>& buttons,
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

void FORM::OPTION_TEXT(lib::WDBTable* table, const std::string& field,
                       const std::vector<std::pair<int, std::string>>& buttons, int fallback) {
  Binding& b = bind(Kind::OptionText, 0, table, field);
  b.buttons = buttons;
  b.fallback = fallback;
  std::vector<int> ids;
  for (const auto& button : buttons) ids.push_back(button.first);
  addOptionButtons(ids, {});
}

void FORM::checkOption(const Binding& b, const std::string& stored) {
  int on = 0;
  for (const auto& [id, value] : b.buttons)
    if (trim(value) == stored) on = id;
  if (!on) on = b.fallback;
  for (const auto& button : b.buttons) dialog_.CheckDlgButton(button.first, button.first == on);
}

void FORM::LOAD() {
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
      case Kind::Upper:
        dialog_.SetDlgItemText(b.id, trim(t.S(b.field)));
        break;
      case Kind::Digits2:
        dialog_.SetDlgItemText(b.id, twoDigits(t.S(b.field)));
        break;
      case Kind::Number:
      case Kind::Shown:
        dialog_.SetDlgItemText(b.id, lib::TRANSFORM_NUMBER(t.N(b.field), b.picture));
        break;
      case Kind::Date:
        dialog_.SetDlgItemText(b.id, lib::DTOC(t.D(b.field)));
        break;
      case Kind::Code:
      case Kind::CodeOrBlank: {
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
        checkOption(b, std::to_string(int(std::lround(t.N(b.field)))));
        break;
      case Kind::OptionText:
        checkOption(b, trim(t.S(b.field)));
        break;
    }
  }
}

void FORM::CLEAR() {
  for (const Binding& b : bindings_) {
    switch (b.kind) {
      case Kind::Flag:
        dialog_.CheckDlgButton(b.id, false);
        break;
      case Kind::Text:
      case Kind::Trimmed:
      case Kind::Upper:
      case Kind::Date:
        dialog_.SetDlgItemText(b.id, "");
        break;
      case Kind::Digits2:
        dialog_.SetDlgItemText(b.id, "00");
        break;
      case Kind::Number:
      case Kind::Shown:
        dialog_.SetDlgItemText(b.id, lib::TRANSFORM_NUMBER(0, b.picture));
        break;
      case Kind::Code:
      case Kind::CodeOrBlank:
      case Kind::Choice:
        win::CCOMBOBOX(&dialog_, b.id).SetCurItem(0);
        break;
      case Kind::Option:
      case Kind::OptionText:
        checkOption(b, "\x01");  // no stored value matches: the fallback
        break;
    }
  }
}

void FORM::FILTROS() {
  for (const Binding& b : bindings_) {
    if (b.kind != Kind::Number && b.kind != Kind::Digits2) continue;
    win::WEDIT edit(&dialog_, b.id);
    win::ONLYNUMBER(edit, b.filter);
  }
}

bool FORM::VALID() const {
  for (const Binding& b : bindings_) {
    if (b.kind != Kind::Date || !lib::readDate(dialog_.GetDlgItemText(b.id)).unreadable) continue;
    error("Fecha inválida");
    dialog_.SetFocusTo(b.id);
    return false;
  }
  return true;
}

std::string FORM::text(int id) const {
  for (const Binding& b : bindings_) {
    if (b.id != id) continue;
    const std::string typed = dialog_.GetDlgItemText(id);
    switch (b.kind) {
      case Kind::Text:
        return typed;
      case Kind::Upper:
        return lib::upper(trim(typed));
      case Kind::Digits2:
        return twoDigits(typed);
      case Kind::Code:
      case Kind::CodeOrBlank:
      case Kind::Choice:
        return win::CCOMBOBOX(&dialog_, id).CurCargo();
      default:
        return trim(typed);
    }
  }
  return trim(dialog_.GetDlgItemText(id));
}

double FORM::number(int id) const {
  return lib::readNumber(dialog_.GetDlgItemText(id));
}

void FORM::SAVE(lib::WDBTable* table, bool recordHistory) const {
  lib::WDBTable& t = *table;
  const RecordImage before = recordHistory ? IMAGEN(t) : RecordImage{};
  for (const Binding& b : bindings_) {
    if (b.table != table) continue;
    switch (b.kind) {
      case Kind::Flag:
        t.FieldPut(b.field, Value::num(dialog_.IsDlgButtonChecked(b.id) ? 1 : 0));
        break;
      case Kind::Text:
      case Kind::Trimmed:
      case Kind::Upper:
      case Kind::Digits2:
        t.FieldPut(b.field, Value::chars(text(b.id)));
        break;
      case Kind::Number:
        t.FieldPut(b.field, Value::num(number(b.id)));
        break;
      case Kind::Shown:
        break;
      case Kind::Date:
        t.FieldPut(b.field, Value::date(lib::CTOD(dialog_.GetDlgItemText(b.id))));
        break;
      case Kind::Code:
      case Kind::CodeOrBlank:
      case Kind::Choice: {
        win::CCOMBOBOX list(&dialog_, b.id);
        if (list.CurItem() <= 0 && b.kind != Kind::CodeOrBlank) break;
        const std::string code = list.CurItem() > 0 ? list.CurCargo() : "";
        t.FieldPut(b.field, b.kind == Kind::Choice ? Value::num(std::atoi(code.c_str())) : Value::chars(code));
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
  if (recordHistory) REGISTRA_CAMBIOS(t, before);
}

namespace {

void fill(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
          const std::string& key, const std::function<bool(const lib::WDBTable&)>& wanted,
          const std::string& textField) {
  std::vector<std::pair<std::string, std::string>> entries;
  lib::EACH_RECORD(table, tag, key, [&](const lib::WDBTable& t) {
    if (!wanted || wanted(t)) entries.push_back({t.S(textField), t.S("CODIGO")});
  });
  for (int id : ids) {
    win::CCOMBOBOX list(&dialog, id);
    for (const auto& [text, code] : entries) list.Add(text, 0, code);
  }
}

}  // namespace

void LOAD_LISTA(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
                const std::string& negocio, const std::string& textField, bool optional) {
  if (optional && !lib::IS_FILE(nullptr, table)) return;
  fill(dialog, ids, table, tag, lib::businessKey(negocio), {}, textField);
}

void LOAD_LISTA_IF(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
                   const std::string& keyPrefix, const std::function<bool(const lib::WDBTable&)>& wanted,
                   const std::string& textField) {
  fill(dialog, ids, table, tag, keyPrefix, wanted, textField);
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

}  // namespace screens
