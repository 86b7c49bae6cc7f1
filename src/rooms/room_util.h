// Small helpers the rooms screens share: codes padded to their field widths, trimmed and
// upper-cased text, the business unit's closing day and the message boxes of the screens.
#pragma once

#include <string>

namespace lib {
class WDBTable;
}

namespace rooms {

std::string trim(const std::string& s);
std::string upper(std::string s);
// `s` cut or right-padded with blanks to `width` characters.
std::string pad(std::string s, size_t width);
// The width of a character field of `table` (0 when it has no such field).
size_t widthOf(const lib::WDBTable& table, const std::string& field);
// `value` padded to the width of `field` of `table`, for composing seek keys.
std::string keyPart(const lib::WDBTable& table, const std::string& field, const std::string& value);

// The hotel's current closing day (F_HOTEL.CIERRE_DIA of the business unit); the program
// date when the business has no parameter record or no closing day yet.
int32_t CIERRE_DIA(const std::string& negocio);

// The hotel's free room state (F_HOTEL.LIBRE), "" when the business has no parameters.
std::string ESTADO_LIBRE(const std::string& negocio);

// Message boxes as the screens use them (title word and icon by kind).
void error(const std::string& text);                             // "Error", error icon
bool confirm(const std::string& text);                           // "Advertencia", OK/Cancel; true on OK
void notice(const std::string& text, const std::string& title);  // information icon

// The question of a delete that cascades into other tables, with its second line.
std::string cascadeQuestion(const std::string& question);

}  // namespace rooms
