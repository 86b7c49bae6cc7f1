// The rules of the guest history (H_HUES) that several operations apply alike: the mail
// validity flag, the full name, the birth date from its three parts, and the file names of the guest exchange files.
// Pure functions: no table, no window.
#pragma once

#include <cstdint>
#include <string>

namespace guests {

// VALID_MAIL: 1 when the address, trimmed, holds "@" and is longer than 4 characters.
int VALID_MAIL(const std::string& email);

// NOMBRE_C: the trimmed surname, a blank, the trimmed name.
std::string NOMBRE_C(const std::string& name, const std::string& surname);

// F_NACE: the date of day, month and year joined with "/" (a two-digit year is read as the
// program reads two-digit years); 0 (no date) when the three do not make one.
int32_t F_NACE(int day, int month, int year);

// The exchange file name typed by the user, "" when it may be used, else the message that
// refuses it ("Nombre de Archivo inválido: Contiene ?" ...). The table name is "EH" + name.
std::string FILE_NAME_PROBLEM(const std::string& typed);

// The export's mail address check: "" or the message that refuses it.
std::string EXPORT_MAIL_PROBLEM(const std::string& email);

}  // namespace guests
