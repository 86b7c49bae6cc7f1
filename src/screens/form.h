// The controls of a screen bound to the fields of its records. Each binding registers the
// control with the dialog (so it runs after the page holding the control was added) and
// remembers the table and field it edits; LOAD shows every field of the current records,
// CLEAR shows what a new record starts with, SAVE writes the fields of one table into its
// current record (the caller holds the record's lock, or appends it).
//
// Rules: flags are numbers 0/1 from the check state; texts are written as typed (trimmed
// for TRIMMED, trimmed and in capitals for UPPER), and their edits take no more characters
// than the field holds; numbers are shown with their picture and read with "," separators
// removed; dates are shown as dd/mm/yy and read with a two- or four-digit year; a code is
// written only when its list has a selection (CODE_OR_BLANK writes a blank instead); an
// option is the value of its checked button, and nothing is written while none is checked;
// SHOWN fields are loaded and never written.
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

namespace screens {

class FORM {
 public:
  explicit FORM(win::WDIAG& dialog) : dialog_(dialog) {}
  win::WDIAG& dialog() const { return dialog_; }

  // `onClick` runs when the user ticks or unticks the box.
  void FLAG(int id, lib::WDBTable* table, const std::string& field, std::function<void()> onClick = {});
  void TEXT(int id, lib::WDBTable* table, const std::string& field);
  void TRIMMED(int id, lib::WDBTable* table, const std::string& field);
  void UPPER(int id, lib::WDBTable* table, const std::string& field);
  // Two-digit text (hours and minutes): written left-padded with "0" to 2 characters.
  void DIGITS2(int id, lib::WDBTable* table, const std::string& field, const std::string& filter = "@L 99");
  // `picture` formats the value on loading; `filter` (the picture when empty) is the numeric
  // entry filter of the field.
  void NUMBER(int id, lib::WDBTable* table, const std::string& field, const std::string& picture,
              const std::string& filter = "");
  // A number shown with its picture in a read-only edit, never written back.
  void SHOWN(int id, lib::WDBTable* table, const std::string& field, const std::string& picture);
  void DATE(int id, lib::WDBTable* table, const std::string& field);
  // A drop-down list carrying codes; its entries are filled by the screen.
  void CODE(int id, lib::WDBTable* table, const std::string& field);
  // The same, but no selection writes a blank code.
  void CODE_OR_BLANK(int id, lib::WDBTable* table, const std::string& field);
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
  // Every bound control as a new record starts: blank texts, zero numbers, no date, flags
  // off, no code chosen, options on their fallback.
  void CLEAR();
  // The numeric entry filters of the number fields (once, after LOAD or CLEAR).
  void FILTROS();
  // The entries that cannot be stored: a date that is not one. Tells the user ("Fecha
  // inválida"), puts the focus on it and returns false.
  bool VALID() const;
  // Every bound field of `table` into its current record.
  void SAVE(lib::WDBTable* table) const;

  // What is typed in control `id` as the binding would store it (texts trimmed, numbers
  // read), for the checks a screen makes before saving.
  std::string text(int id) const;
  double number(int id) const;

 private:
  enum class Kind { Flag, Text, Trimmed, Upper, Digits2, Number, Shown, Date, Code, CodeOrBlank, Choice, Option,
                    OptionText };
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
  void addEdit(int id, lib::WDBTable* table, const std::string& field, bool limited);
  void addOptionButtons(const std::vector<int>& ids, std::function<void()> onClick);
  void checkOption(const Binding& b, const std::string& stored);

  win::WDIAG& dialog_;
  std::vector<Binding> bindings_;
};

// Fills the drop-down lists `ids` of `dialog` with the business unit's records of `table` in
// the order `tag`: the text is `textField`, the value the record's CODIGO. Entries already
// in a list stay first. A table without records of the business unit — or that this
// database does not have, when `optional` — adds nothing.
void LOAD_LISTA(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table, const std::string& tag,
                const std::string& negocio, const std::string& textField = "DESCRIP", bool optional = false);
// The same with a filter on the records (the table positioned on each).
void LOAD_LISTA_IF(win::WDIAG& dialog, std::initializer_list<int> ids, const std::string& table,
                   const std::string& tag, const std::string& keyPrefix,
                   const std::function<bool(const lib::WDBTable&)>& wanted, const std::string& textField = "DESCRIP");

// Selects the entry whose value equals `code`, both compared without trailing blanks;
// selects nothing when there is none. True when one was selected.
bool SEEK_CODIGO(win::CCOMBOBOX& list, const std::string& code);

}  // namespace screens
