// A guarantee type's rules read from its record: the no-show day, the prepayments due and
// the confirmation mail of a guest's language, falling back to the type's own settings.
#include <gtest/gtest.h>

#include "lib/record_protocol.h"
#include "lib/use.h"
#include "reservations/guarantee_policy.h"
#include "rooms/hotel_folder.h"

using namespace reservations;
using lib::Money;
using lib::Value;
using rooms_testing::day;

namespace {

class GuaranteePolicyTest : public testing::Test {
 protected:
  void SetUp() override {
    auto t = lib::USE(nullptr, "E_T_RES", "E_T_RES");
    lib::ADD(*t, [&] {
      t->FieldPut("NEGOCIO", Value::chars("01"));
      t->FieldPut("CODIGO", Value::chars("DE"));
      t->FieldPut("DIA_NOSHOW", Value::num(2));
      t->FieldPut("F_PAGO", Value::num(1));
      t->FieldPut("PORCE_CONF", Value::num(40));
      t->FieldPut("PORC_PAGO", Money::parse("33.33").value());
      t->FieldPut("DIAS_PAGO", Value::num(7));
      t->FieldPut("PORC_PAGO2", Money::parse("66.67").value());
      t->FieldPut("DIAS_PAGO2", Value::num(30));
      t->FieldPut("HTML_CONF", Value::chars("tipo.html"));
      t->FieldPut("HTML_CONF2", Value::chars("recordatorio.html"));
      t->FieldPut("HTML_PREV2", Value::num(5));
    });
    lib::KILLTABLA(t);
    auto m = lib::USE(nullptr, "D_T_RES", "D_T_RES");
    lib::ADD(*m, [&] {
      m->FieldPut("NEGOCIO", Value::chars("01"));
      m->FieldPut("CODIGO", Value::chars("DE"));
      m->FieldPut("IDIOMA", Value::chars("EN"));
      m->FieldPut("TEXTO", Value::chars("Dear <<nombre>>"));
      m->FieldPut("HTML_CONF", Value::chars("en.html"));
    });
    lib::KILLTABLA(m);
  }

  rooms_testing::HotelFolder h;
};

TEST_F(GuaranteePolicyTest, NoShowAndPrepaymentsFollowTheType) {
  EXPECT_FALSE(GuaranteePolicy::read("01", "XX"));
  EXPECT_FALSE(GuaranteePolicy::read("02", "DE"));  // another business unit's types are not ours
  GuaranteePolicy p = *GuaranteePolicy::read("01", "DE");
  EXPECT_EQ(p.noShowKeptUntil(day(10, 1, 2030)), day(12, 1, 2030));

  const Money total = Money::parse("1000.01").value();
  std::vector<Prepayment> once = p.prepayments(total, day(1, 1, 2030));
  ASSERT_EQ(once.size(), 1u);
  EXPECT_EQ(once[0].amount.text(), "400.00");
  EXPECT_EQ(once[0].due, day(1, 1, 2030));

  p.split = true;
  std::vector<Prepayment> two = p.prepayments(total, day(1, 1, 2030));
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].amount.text(), "333.30");
  EXPECT_EQ(two[0].due, day(8, 1, 2030));
  EXPECT_EQ(two[1].amount.text(), "666.71");
  EXPECT_EQ(two[1].due, day(31, 1, 2030));

  p.prepaymentRequired = false;
  EXPECT_TRUE(p.prepayments(total, day(1, 1, 2030)).empty());
}

TEST_F(GuaranteePolicyTest, TheMailOfTheGuestsLanguageOrElseTheTypes) {
  const ConfirmationMail en = CONFIRMATION_MAIL("01", "DE", "EN", day(20, 1, 2030));
  EXPECT_EQ(en.header, "Dear <<nombre>>");
  EXPECT_EQ(en.html, "en.html");
  EXPECT_EQ(en.reminderDate, 0);  // the language's message names no reminder

  const ConfirmationMail es = CONFIRMATION_MAIL("01", "DE", "ES", day(20, 1, 2030));
  EXPECT_EQ(es.header, "");
  EXPECT_EQ(es.html, "tipo.html");
  EXPECT_EQ(es.reminderHtml, "recordatorio.html");
  EXPECT_EQ(es.reminderDate, day(15, 1, 2030));
}

}  // namespace
