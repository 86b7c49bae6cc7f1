// The groups (ENC_CARG) and sub-groups (DET_CARG) transaction codes are classified in, and
// the routines of the code list that change many codes at once.
//
// A renamed group carries its new code into its sub-groups and into the codes it holds; a
// renamed sub-group into the codes it holds; so that no code falls out of the tree.
#pragma once

#include <cstdint>
#include <string>

namespace cashier {

// Saves a group: a new one (`recno` 0) or the record `recno`. The refusal, when there is
// one, is the message for the user ("" when it was saved).
std::string GUARDA_GRUPO(const std::string& negocio, uint32_t recno, const std::string& code,
                         const std::string& description);
// Saves a sub-group of group `linea`, the same way.
std::string GUARDA_SUBGRUPO(const std::string& negocio, const std::string& linea, uint32_t recno,
                            const std::string& code, const std::string& description);

// Deletes a group with its sub-groups, or refuses ("Este grupo todavía contiene cargos
// definidos") while it holds codes.
std::string BORRA_GRUPO(const std::string& negocio, const std::string& linea);
// Deletes a sub-group, or refuses while the group holds codes in it.
std::string BORRA_SUBGRUPO(const std::string& negocio, const std::string& linea, const std::string& sublinea);

// The code of record `recno` of TRANSACS moved to group `linea`, sub-group `sublinea`.
void MUEVE_CARGO(uint32_t recno, const std::string& linea, const std::string& sublinea);

// The void password of every code of the business that asks for one (READ_CLAVE = 1) set
// to `clave`; the number of codes changed.
size_t ACTUALIZA_CLAVE(const std::string& negocio, const std::string& clave);

}  // namespace cashier
