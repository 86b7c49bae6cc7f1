// Codes carried into the tables that refer to them. A cascade is a list of steps, each a
// table, the field holding the code and, when the table has one, an order whose key begins
// with NEGOCIO + that field. A changed code is rewritten in every record of the business
// unit that holds the old one; a deleted code leaves those records with a blank, or takes
// them with it when the step says so. Each record changes under its own record lock;
// cascades are not transactions: an interrupted one leaves the records already rewritten.
//
// Walking an order by the field being rewritten, the next record is remembered before the
// rewrite and the walk goes on from it, so that no record is skipped or visited twice when
// the rewritten one moves in the index. Without an order (or when the table lacks it) the
// table is read in its natural order, which a rewrite never changes.
//
// Many referencing tables belong to sibling programs of the suite; a database without one
// of them (a hotel that does not run that program) skips its step, and the report says so.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace win {
class WAIT;
}

namespace screens {

struct RecodeStep {
  std::string table;
  std::string field;
  std::string tag;       // an order keyed NEGOCIO + field..., or "" for the natural order
  bool announce = true;  // shown on the progress window (a second field of the table is not)
  bool deletes = false;  // a deleted code deletes the records that hold it (else they get a blank)
};

// What a cascade did.
struct CascadeReport {
  std::vector<std::pair<std::string, size_t>> changed;  // table, records rewritten or deleted
  std::vector<std::string> missing;                     // tables this database does not have

  void count(const std::string& table, size_t records);
  size_t records(const std::string& table) const;
  // "Se actualizaron: ROOMS (3), STAT_TIP (120).\rNo existen en esta base de datos: LIMBO."
  std::string text() const;
};

// Rewrites `oldCode` to `newCode` in one table; returns the records rewritten (0 for a
// table that does not exist, noted in `report`).
size_t REEMPLAZA_CODIGO(const RecodeStep& step, const std::string& negocio, const std::string& oldCode,
                        const std::string& newCode, CascadeReport* report = nullptr);

// Deletes the records of the business unit holding `code` in one table.
size_t BORRA_REFERENCIAS(const RecodeStep& step, const std::string& negocio, const std::string& code,
                         CascadeReport* report = nullptr);

// A changed code, step by step; the progress window (when given) announces
// "Recodificando " + table + "..." on its first line before the table's records change.
CascadeReport RECODIFICA(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& oldCode,
                         const std::string& newCode, win::WAIT* wait = nullptr);

// A deleted code, step by step: blanked, or its records deleted where the step says so.
CascadeReport BORRA_CODIGO(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& code,
                           win::WAIT* wait = nullptr);

// Tells the user which tables a cascade changed when some of its tables were missing (a
// cascade that found every table says nothing: nothing unexpected happened).
void AVISA_FALTANTES(const CascadeReport& report);

}  // namespace screens
