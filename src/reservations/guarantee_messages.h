// The confirmation messages of a guarantee type, one per language (D_T_RES), while the
// type's editor is open: a working copy (TMP_ED1, each row remembering the D_T_RES record it
// came from in NUM_REC, 0 for a new row) that ED_TR2 edits row by row. Nothing reaches
// D_T_RES until the type is saved; a cancelled editor leaves it as it was.
#pragma once

#include <string>

namespace lib {
class WDBTable;
}
namespace win {
class WDIAG;
}

namespace reservations {

// The type's D_T_RES rows copied into the (empty) working copy, each with its language's
// description.
void CARGA_MENSAJES(lib::WDBTable& working, const std::string& negocio, const std::string& type);
// The working copy written back for the type `type` (the code as typed): rows the user
// removed delete their record, new rows are appended, the others rewrite theirs (code,
// language, texts and mail settings).
void GRABA_MENSAJES(lib::WDBTable& working, const std::string& negocio, const std::string& type);

// The message editor (dialog ED_TR2) over the working copy: a new row (`adding`) or the
// current one. A language must be chosen ("El idioma no es válido") and no other row may
// have it ("Un mensaje en el idioma seleccionado ya existe"). True when the row was saved.
bool ED_TR2(win::WDIAG* owner, lib::WDBTable& working, const std::string& negocio, bool adding);

// The merge fields offered for the texts: caption and the text inserted.
struct MergeField {
  const char* caption;
  const char* text;
};
extern const MergeField kMergeFields[8];

// `text` without any occurrence of `field`.
std::string SIN_DATO(std::string text, const std::string& field);

}  // namespace reservations
