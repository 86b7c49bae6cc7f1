// What a guarantee type decides for a reservation of that type, as the reservation programs
// apply it: how long a no-show stays on file, what prepayment is due and when, and which
// confirmation and reminder mail goes out in the guest's language. Read from E_T_RES (and
// D_T_RES for the language) of one business unit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lib/money.h"

namespace reservations {

struct Prepayment {
  lib::Money amount;
  int32_t due = 0;  // Julian day
};

struct ConfirmationMail {
  std::string header, footer;           // the language's texts ("" when it has no message)
  std::string html, images, attachments;  // the confirmation mail
  std::string reminderHtml;
  int32_t reminderDate = 0;  // the day the reminder goes (0: no reminder template)
};

struct GuaranteePolicy {
  std::string code;
  int noShowDays = 0;
  bool prepaymentRequired = false;
  int bookingPercent = 0;
  bool split = false;
  lib::Money firstPercent, secondPercent;
  int firstDays = 0, secondDays = 0;
  std::string paymentForm;      // proposed (T_PAGO)
  std::string afterConfirming;  // the type once confirmed ("" = none)

  // The type `code` of the business unit; nullopt when there is none.
  static std::optional<GuaranteePolicy> read(const std::string& negocio, const std::string& code);

  // The last day a no-show reservation arriving on `arrival` stays on file.
  int32_t noShowKeptUntil(int32_t arrival) const { return arrival + noShowDays; }
  // The prepayments of a reservation worth `total`, booked on `booked`: none when the type
  // requires none; the booking percentage due at once, or — split — the two payments each
  // due its days after booking. Amounts are rounded to cents.
  std::vector<Prepayment> prepayments(lib::Money total, int32_t booked) const;
};

// The confirmation mail of the type for a guest speaking `idioma`: that language's message
// and mail settings when the type has one, otherwise the type's own settings and no texts.
ConfirmationMail CONFIRMATION_MAIL(const std::string& negocio, const std::string& type, const std::string& idioma,
                                   int32_t arrival);

}  // namespace reservations
