// The table catalogue: every table the program opens, with its fields and index tags.
//
// The catalogue is written as one text file per table (resources/catalogue/NAME.tbl) and
// compiled into the program. A file reads, one statement a line, '#' starting a comment line:
//
//   # NEGOCIOS: business units and the settings that apply to a whole business.
//   TABLE NEGOCIOS
//   FIELD CODIGO     C 2
//   FIELD INTENTOS   N 2 0
//   FIELD F_CLAVE    D
//   TAG NEGOCIOS: CODIGO
//   TEMPLATE
//
// FIELD gives name, type (C N F D L M I B Y T) and, where the type needs them, width and
// decimals. TAG takes what xbase::TagSpec::parse takes; its expressions must compile
// against the table's fields. TEMPLATE marks a table of which an empty copy also lives in
// the PROFILE folder, as the template of temporary working tables.
//
// Anything malformed is refused with xbase::Error (EG_ARG, SC_VALUE) whose description is
// "catálogo: <file>:<line>: <what is wrong>".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xbase/dbf_header.h"
#include "xbase/dbf_table.h"

namespace lib {

struct CatalogueTable {
  std::string name;     // upper case
  std::string comment;  // the leading comment line(s) of its file, without '#'
  std::vector<xbase::FieldSpec> fields;
  std::vector<xbase::TagSpec> tags;
  bool profileTemplate = false;
};

class Catalogue {
 public:
  // The catalogue compiled into the program (resources/catalogue/*.tbl at build time).
  static const Catalogue& builtIn();
  // Parses text holding one or more tables. Concatenated files are separated by lines
  // "#@file NAME.tbl", which also name the file in errors; text before any such line is
  // named by `source`.
  static Catalogue parse(std::string_view text, const std::string& source);

  // Without regard to case, surrounding blanks ignored; nullptr when absent.
  const CatalogueTable* find(std::string_view name) const;
  const std::vector<CatalogueTable>& tables() const { return tables_; }

 private:
  std::vector<CatalogueTable> tables_;
};

}  // namespace lib
