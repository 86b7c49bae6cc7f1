// Market segments: the four segment sets (0 to 3, ENC_SEG) with the details of each segment
// (DET_SEG) that classify agencies and countries for the source-of-business statistics. A
// changed code is carried into the agencies' segment and detail of its set, and for set 0
// into the countries' too; a deleted one stays in them.
//
// Codes are 4 characters, upper case; a segment code is unique within its set, a detail
// code within its segment ("El código digitado ya existe").
#pragma once

#include <cstdint>
#include <string>

namespace win {
class WDIAG;
}

namespace agencies {

// The key of a set within the business unit: NEGOCIO + the set number right-aligned in two.
std::string setKey(const std::string& negocio, int set);

// Adds (recno 0) or changes a segment of `set`; "" when saved, else the refusal. A changed
// code is carried into its references under a progress window of `owner` (when given).
std::string GUARDA_SEGMENTO(const std::string& negocio, int set, uint32_t recno, const std::string& code,
                            const std::string& description, win::WDIAG* owner = nullptr);
// Adds or changes a detail of `segment`.
std::string GUARDA_DETALLE(const std::string& negocio, int set, const std::string& segment, uint32_t recno,
                           const std::string& code, const std::string& description, win::WDIAG* owner = nullptr);

// A segment with its details of the set; a detail alone.
void BORRA_SEGMENTO(const std::string& negocio, int set, uint32_t recno);
void BORRA_DETALLE(uint32_t recno);

}  // namespace agencies
