// Codes rewritten in the tables that refer to them. A cascade is a list of steps, each a
// table, the field holding the code and, when the table has one, an order whose key begins
// with NEGOCIO + that field; every record of the business unit holding the old code gets
// the new one (or a blank), each under its own record lock, or is deleted. Cascades are not
// transactions: an interrupted one leaves the records already rewritten.
//
// Walking an order by the field being rewritten, the next record is remembered before the
// rewrite and the walk goes on from it, so that no record is skipped or visited twice when
// the rewritten one moves in the index. Without an order the table is read in its natural
// order, which a rewrite never changes.
#pragma once

#include <string>
#include <vector>

namespace win {
class WAIT;
}

namespace rooms {

struct RecodeStep {
  std::string table;
  std::string field;
  std::string tag;       // an order keyed NEGOCIO + field..., or "" for the natural order
  bool announce = true;  // shown on the progress window (a second field of the table is not)
};

// Rewrites `oldCode` to `newCode` in one table; returns the records rewritten.
size_t REEMPLAZA_CODIGO(const RecodeStep& step, const std::string& negocio, const std::string& oldCode,
                        const std::string& newCode);

// Each step in turn, the progress window (when given) announcing "Recodificando " + table +
// "..." on its first line before the table's records are rewritten.
void RECODIFICA(const std::vector<RecodeStep>& steps, const std::string& negocio, const std::string& oldCode,
                const std::string& newCode, win::WAIT* wait);

// Deletes, record by record under lock, the records of the business unit holding `code`.
size_t BORRA_REFERENCIAS(const RecodeStep& step, const std::string& negocio, const std::string& code);

}  // namespace rooms
