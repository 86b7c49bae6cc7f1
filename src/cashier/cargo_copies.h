// The child rows of a transaction code as its editor works on them: working copies in
// temporary tables (W_TRAN components, W_TRA3 fixed sub-transactions, W_TRA2 allowed users),
// each row remembering in REGISTRO the stored record it came from (0 for a new row). A row
// removed in the editor is marked deleted in its copy. Nothing reaches the stored rows until
// the GRABA_ routines run on "Aceptar".
#pragma once

#include <set>
#include <string>

#include "lib/wdbtable.h"

namespace cashier {

// The components of composite `code` (DET_TRAN) into `copy`, with their descriptions.
void COPIA_COMPONENTES(const std::string& negocio, const std::string& code, lib::WDBTable& copy);
// A removed row that has a stored record deletes it; a new row appends a component of
// `code`; the others stay as stored.
void GRABA_COMPONENTES(const std::string& negocio, const std::string& code, lib::WDBTable& copy);

// The fixed sub-transactions of `code` (DET_TRA3) into `copy`.
void COPIA_SUBTRANS(const std::string& negocio, const std::string& code, lib::WDBTable& copy);
// A removed row deletes its stored record; every other row rewrites its record, or appends
// one, under `code`.
void GRABA_SUBTRANS(const std::string& negocio, const std::string& code, lib::WDBTable& copy);

// One row per user of the business unit, marked as DET_TRA2 has it for `code` (unmarked
// when it has no record of that user).
void COPIA_USUARIOS(const std::string& negocio, const std::string& code, lib::WDBTable& copy);
// With `control` off (the code is not controlled by user) every DET_TRA2 record of `code`
// goes; otherwise each row rewrites its record, or appends one.
void GRABA_USUARIOS(const std::string& negocio, const std::string& code, lib::WDBTable& copy, bool control);

// The code's tax links: one DET_IMP record per tax type of the business unit, found or
// appended, CHECK1 = 1 for the types in `applied` (codes without trailing blanks), else 0.
void GRABA_IMPUESTOS(const std::string& negocio, const std::string& code, const std::set<std::string>& applied);
// The tax types linked to `code` with CHECK1 = 1.
std::set<std::string> IMPUESTOS_DEL_CARGO(const std::string& negocio, const std::string& code);

// The code is stored as a component of another code (DET_TRAN by component).
bool ES_COMPONENTE(const std::string& negocio, const std::string& code);
// The code has stored components.
bool TIENE_COMPONENTES(const std::string& negocio, const std::string& code);
// Rows of a working copy that are not removed.
size_t FILAS(lib::WDBTable& copy);

}  // namespace cashier
