#include "guests/guest_rules.h"

#include <gtest/gtest.h>

#include "xbase/date.h"

namespace guests {
namespace {

TEST(GuestRules, MailIsValidWithAnAtAndMoreThanFourCharacters) {
  EXPECT_EQ(VALID_MAIL("a@b.cr"), 1);    // six characters
  EXPECT_EQ(VALID_MAIL("ab@cd"), 1);     // five
  EXPECT_EQ(VALID_MAIL("a@bc"), 0);      // four
  EXPECT_EQ(VALID_MAIL("a@b"), 0);       // three
  EXPECT_EQ(VALID_MAIL("abcdefgh"), 0);  // no "@"
  EXPECT_EQ(VALID_MAIL(""), 0);
  // Blanks around the address do not count.
  EXPECT_EQ(VALID_MAIL("   a@bc   "), 0);
  EXPECT_EQ(VALID_MAIL("  a@b.cr  "), 1);
}

TEST(GuestRules, FullNameIsSurnameThenName) {
  EXPECT_EQ(NOMBRE_C("  Ana  ", " Mora Vargas "), "Mora Vargas Ana");
  EXPECT_EQ(NOMBRE_C("Ana", ""), " Ana");
}

TEST(GuestRules, BirthDateOnlyWhenTheThreePartsMakeOne) {
  EXPECT_EQ(F_NACE(29, 2, 2024), xbase::julianFromYmd(2024, 2, 29));
  EXPECT_EQ(F_NACE(5, 11, 1975), xbase::julianFromYmd(1975, 11, 5));
  EXPECT_EQ(F_NACE(29, 2, 2023), 0);
  EXPECT_EQ(F_NACE(31, 4, 1980), 0);
  EXPECT_EQ(F_NACE(10, 13, 1980), 0);
  EXPECT_EQ(F_NACE(0, 0, 0), 0);
  EXPECT_EQ(F_NACE(12, 5, 0), 0);
}

TEST(GuestRules, FileNamesRefusedWithTheirReason) {
  EXPECT_EQ(FILE_NAME_PROBLEM("??????"), "Nombre de Archivo inválido: Contiene ?");
  EXPECT_EQ(FILE_NAME_PROBLEM("AB CD"), "Nombre de Archivo inválido: Contiene espacios");
  EXPECT_EQ(FILE_NAME_PROBLEM("AB\\CD"), "Nombre de Archivo inválido: Contiene \\");
  EXPECT_EQ(FILE_NAME_PROBLEM("AB/CD"), "Nombre de Archivo inválido: Contiene /");
  EXPECT_EQ(FILE_NAME_PROBLEM("AB.CD"), "Nombre de Archivo inválido: Contiene .");
  EXPECT_EQ(FILE_NAME_PROBLEM(""), "Debe indicar el nombre del archivo");
  EXPECT_EQ(FILE_NAME_PROBLEM("ABCDEFG"), "Nombre de Archivo inválido: Más de 6 caracteres");
  EXPECT_EQ(FILE_NAME_PROBLEM("AB*"), "Nombre de Archivo inválido: Contiene caracteres no permitidos");
  // Trailing blanks are not part of the name; six characters are.
  EXPECT_EQ(FILE_NAME_PROBLEM("ENE26 "), "");
  EXPECT_EQ(FILE_NAME_PROBLEM("ABC123"), "");
}

TEST(GuestRules, ExportMailNeedsAnAtAndFiveCharacters) {
  EXPECT_EQ(EXPORT_MAIL_PROBLEM("hotel.cr"), "email inválido: falta @");
  EXPECT_EQ(EXPORT_MAIL_PROBLEM("a@bc"), "email inválido");
  EXPECT_EQ(EXPORT_MAIL_PROBLEM("a@b.c"), "");
}

}  // namespace
}  // namespace guests
