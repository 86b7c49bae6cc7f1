// What the four parameter screens share: the business unit's record of a parameter table,
// created on demand; the drop-down lists filled from their source tables; and the form that
// binds each control of a screen to one field of a parameter record, loads the controls from
// the records and writes them back by the rules every parameter screen follows.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace lib {
class WDBTable;
}

namespace win {
class CCOMBOBOX;
class WDIAG;
}  // namespace win

namespace parameters {

// The business unit padded to the width of NEGOCIO, as the parameter tables are keyed.
std::string businessKey(const std::string& negocio);

// Positions `table` (open on its NEGOCIO order) on the business unit's record. When there is
// none, a record is appended with the new-record protocol, only NEGOCIO filled, and released;
// the table is left on it. True when the record had to be created.
bool CREA_PARAMETRO(lib::WDBTable& table, const std::string& negocio);

// Fills the drop-down lists `ids` of `dialog` with the business unit's records of `table` in
// the order `tag`: the text is `textField`, the value the record's CODIGO. Entries already in
// a list stay first. A table without records of the business unit adds nothing.
void LOAD_LISTA(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
                const std::string& negocio, const std::string& textField = "DESCRIP");
// Serial counters: of the hotel module "09" (order SERIAL3) or, with allModules, every
// counter of the business unit (order SERIAL4).
void LOAD_SERIALES(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio,
                   bool allModules = false);
// Accounting links of the hotel module "09" (order LIGA3).
void LOAD_LIGAS(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& negocio);

// Selects the entry whose value equals `code`, both compared without trailing blanks;
// selects nothing when there is none. True when one was selected.
bool SEEK_CODIGO(win::CCOMBOBOX& list, const std::string& code);

// The controls of a screen bound to the fields of its parameter records. Each binding method
// registers the control with the dialog (so it must run after the page holding the control
// was added) and remembers the table and field it edits; LOAD shows every field, SAVE writes
// the fields of one table into its current record (the caller holds the record lock).
//
// Rules: flags are numbers 0/1 from the check state; texts are written as typed (trimmed for
// TRIMMED); numbers are shown with their picture and read with "," separators removed; dates
// are shown as dd/mm/yy; a code is written only when its list has a selection; an option is
// the value of its checked button, and nothing is written while none is checked.
class PARAM_FORM {
 public:
  explicit PARAM_FORM(win::WDIAG& dialog) : dialog_(dialog) {}

  void FLAG(int id, lib::WDBTable* table, const std::string& field);
  void TEXT(int id, lib::WDBTable* table, const std::string& field);
  void TRIMMED(int id, lib::WDBTable* table, const std::string& field);
  // Two-digit text (hours and minutes): written left-padded with "0" to 2 characters.
  void DIGITS2(int id, lib::WDBTable* table, const std::string& field, const std::string& filter = "@L 99");
  // `picture` formats the value on loading; `filter` (the picture when empty) is the numeric
  // entry filter of the field.
  void NUMBER(int id, lib::WDBTable* table, const std::string& field, const std::string& picture,
              const std::string& filter = "");
  void DATE(int id, lib::WDBTable* table, const std::string& field);
  // A drop-down list carrying codes; its entries are filled by the screen.
  void CODE(int id, lib::WDBTable* table, const std::string& field);
  // A drop-down list of fixed choices whose values are numbers.
  void CHOICE(int id, lib::WDBTable* table, const std::string& field,
              const std::vector<std::pair<std::string, int>>& entries);
  // Option buttons: button id → stored value. A stored value that matches no button checks
  // `fallback` (0 = none). `onClick` runs when the user clicks any of them.
  void OPTION(lib::WDBTable* table, const std::string& field, const std::vector<std::pair<int, int>>& buttons,
              int fallback = 0, std::function<void()> onClick = {});
  // Option buttons whose values are texts, compared without surrounding blanks.
  void OPTION_TEXT(lib::WDBTable* table, const std::string& field,
                   const std::vector<std::pair<int, std::string>>& buttons, int fallback = 0);

  // Every bound control from the current record of its table.
  void LOAD();
  // The numeric entry filters of the number fields (once, after LOAD).
  void FILTROS();
  // Every bound field of `table` into its current record.
  void SAVE(lib::WDBTable* table) const;

 private:
  enum class Kind { Flag, Text, Trimmed, Digits2, Number, Date, Code, Choice, Option, OptionText };
  struct Binding {
    Kind kind;
    int id = 0;
    lib::WDBTable* table = nullptr;
    std::string field;
    std::string picture, filter;
    std::vector<std::pair<int, std::string>> buttons;  // option buttons and their values
    int fallback = 0;
  };
  Binding& bind(Kind kind, int id, lib::WDBTable* table, const std::string& field);
  void addOptionButtons(const std::vector<int>& ids, std::function<void()> onClick);

  win::WDIAG& dialog_;
  std::vector<Binding> bindings_;
};

}  // namespace parameters
