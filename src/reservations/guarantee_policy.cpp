#include "reservations/guarantee_policy.h"

#include "lib/text.h"
#include "lib/use.h"
#include "lib/wdbtable.h"

namespace reservations {

namespace {

lib::Money percentOf(lib::Money total, lib::Money percent) {
  return (total * percent / lib::Money::units(100)).rounded(2);
}

std::string key(const std::string& negocio, const std::string& code) {
  return lib::businessKey(negocio) + lib::padded(code, 2);
}

// The mail settings of a type or of one of its messages.
void mailOf(const lib::WDBTable& t, int32_t arrival, ConfirmationMail& m) {
  m.html = lib::trim(t.S("HTML_CONF"));
  m.images = t.S("IMAGENES");
  m.attachments = t.S("ATTACHMENT");
  m.reminderHtml = lib::trim(t.S("HTML_CONF2"));
  m.reminderDate = m.reminderHtml.empty() ? 0 : arrival - int32_t(t.N("HTML_PREV2"));
}

}  // namespace

std::optional<GuaranteePolicy> GuaranteePolicy::read(const std::string& negocio, const std::string& code) {
  std::optional<GuaranteePolicy> p;
  lib::EACH_RECORD("E_T_RES", "E_T_RES", key(negocio, code), [&](const lib::WDBTable& t) {
    if (p) return;
    p.emplace();
    p->code = lib::trim(t.S("CODIGO"));
    p->noShowDays = int(t.N("DIA_NOSHOW"));
    p->prepaymentRequired = t.N("F_PAGO") == 1;
    p->bookingPercent = int(t.N("PORCE_CONF"));
    p->split = t.N("DESGLOSE") == 1;
    p->firstPercent = t.M("PORC_PAGO");
    p->secondPercent = t.M("PORC_PAGO2");
    p->firstDays = int(t.N("DIAS_PAGO"));
    p->secondDays = int(t.N("DIAS_PAGO2"));
    p->paymentForm = lib::trim(t.S("PAGO_X_DEF"));
    p->afterConfirming = lib::trim(t.S("DESP_GARAN"));
  });
  return p;
}

std::vector<Prepayment> GuaranteePolicy::prepayments(lib::Money total, int32_t booked) const {
  if (!prepaymentRequired) return {};
  if (!split) return {{percentOf(total, lib::Money::units(bookingPercent)), booked}};
  return {{percentOf(total, firstPercent), booked + firstDays}, {percentOf(total, secondPercent), booked + secondDays}};
}

ConfirmationMail CONFIRMATION_MAIL(const std::string& negocio, const std::string& type, const std::string& idioma,
                                   int32_t arrival) {
  ConfirmationMail m;
  bool found = false;
  lib::EACH_RECORD("D_T_RES", "D_T_RES", key(negocio, type), [&](const lib::WDBTable& t) {
    if (found || lib::trim(t.S("IDIOMA")) != lib::trim(idioma)) return;
    found = true;
    m.header = t.S("TEXTO");
    m.footer = t.S("TEXTO2");
    mailOf(t, arrival, m);
  });
  if (!found)
    lib::EACH_RECORD("E_T_RES", "E_T_RES", key(negocio, type), [&](const lib::WDBTable& t) { mailOf(t, arrival, m); });
  return m;
}

}  // namespace reservations
