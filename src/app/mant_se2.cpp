#include "app/mant_se2.h"

#include "lib/picture.h"
#include "lib/record_protocol.h"
#include "lib/serials.h"
#include "lib/text.h"
#include "screens/history.h"
#include "screens/messages.h"
#include "win/controls.h"
#include "win/entry_filters.h"
#include "xbase/number_text.h"

namespace app {

namespace {

using lib::Value;

constexpr int kCode = 500, kDescription = 501, kModule = 502, kPrefix = 503, kSuffix = 504, kWidth = 505;
constexpr int kNext = 506, kLast = 507, kMutual = 508, kCurrent = 509, kSample = 400;
constexpr int kRight = 201, kLeft = 202;
constexpr const char* kNumberPicture = "999999999999999";
constexpr size_t kSerialWidth = 15;

std::string number(double n) {
  return xbase::decimalText(n, 0);
}

}  // namespace

MANT_SE2::MANT_SE2(screens::LIST_SCREEN* list, const std::string& negocio, Mode mode)
    : EDITOR(list, "EDIT_SERIAL", negocio, mode) {}

void MANT_SE2::BIND() {
  lib::WDBTable* t = REGISTRO;
  FORM_.UPPER(kCode, t, "CODIGO");
  FORM_.TRIMMED(kDescription, t, "DESCRIP");
  FORM_.UPPER(kModule, t, "MODULO");
  FORM_.TEXT(kPrefix, t, "PREFIJO");
  FORM_.TEXT(kSuffix, t, "POSFIJO");
  FORM_.NUMBER(kWidth, t, "INDENT", "99");
  FORM_.NUMBER(kLast, t, "NUMERO2", kNumberPicture);
  FORM_.UPPER(kMutual, t, "MUTUO");
  FORM_.OPTION(t, "JUSTIFICA", {{kRight, 0}, {kLeft, 1}}, kRight, [this] { showSample(); });
  ADD(std::make_unique<win::WEDIT>(this, kCurrent))->ReadOnly(true);
  // The next number is not a field: NUMERO is the last one handed out (see the header).
  ADD(std::make_unique<win::WEDIT>(this, kNext));
}

// Module and code name the series for good once it exists.
void MANT_SE2::CARGAR() {
  EDITOR::CARGAR();
  if (MODO_E == kModify) {
    loadedNext_ = REGISTRO->N("NUMERO") + 1;
    SetDlgItemText(kCurrent, REGISTRO->S("CURRENT_N"));
    win::WEDIT(this, kCode).ReadOnly(true);
    win::WEDIT(this, kModule).ReadOnly(true);
  }
  SetDlgItemText(kNext, lib::TRANSFORM_NUMBER(loadedNext_, kNumberPicture));
  win::WEDIT next(this, kNext);
  win::ONLYNUMBER(next, kNumberPicture);
  showSample();
}

double MANT_SE2::typedNext() const {
  return lib::readNumber(GetDlgItemText(kNext));
}

void MANT_SE2::showSample() {
  const std::string serial = lib::SERIAL_FORMAT(FORM_.text(kPrefix), typedNext(), int(FORM_.number(kWidth)),
                                                IsDlgButtonChecked(kLeft) ? 1 : 0, FORM_.text(kSuffix));
  SetDlgItemText(kSample, "Próximo serial: " + serial);
}

// GET_NXSERIAL cuts a serial to 15 characters: a longer one would lose digits and repeat.
bool MANT_SE2::fits(double next) {
  size_t digits = number(next).size();
  if (!IsDlgButtonChecked(kLeft)) digits = std::max(digits, size_t(std::max(0.0, FORM_.number(kWidth))));
  const size_t length = lib::trim(GetDlgItemText(kPrefix)).size() + digits + lib::trim(GetDlgItemText(kSuffix)).size();
  if (length <= kSerialWidth) return true;
  return REHUSA(
      "El prefijo, el número y el sufijo no caben en los 15 caracteres del serial (" + std::to_string(length) + ").",
      kPrefix);
}

bool MANT_SE2::VALIDA(const std::string& code) {
  if (code.empty()) return REHUSA("Debe definir el Código", kCode);
  if (!FORM_.VALID()) return false;
  const double next = typedNext();
  if (next < 1) return REHUSA("El próximo número debe ser mayor que cero", kNext);
  if (!fits(next)) return false;
  const double last = FORM_.number(kLast);
  if (last > 0 && last < next &&
      !screens::confirm("El número final (" + number(last) + ") es menor que el próximo número (" + number(next) +
                        ").\r¿Desea continuar?"))
    return false;
  if (MODO_E == kModify) return true;
  lib::WDBTable& t = *REGISTRO;
  const bool taken =
      t.Seek(t.KeyPart("NEGOCIO", NEGOCIO) + t.KeyPart("MODULO", FORM_.text(kModule)) + t.KeyPart("CODIGO", code));
  return taken ? REHUSA(DUPLICADO_ALTA, kCode) : true;
}

bool MANT_SE2::AGREGA(const std::string&) {
  lib::WDBTable& t = *REGISTRO;
  lib::ADD(t, [&] {
    t.FieldPut("NEGOCIO", Value::chars(NEGOCIO));
    screens::CON_HISTORIAL(t, [&] {
      FORM_.SAVE(&t, false);
      t.FieldPut("NUMERO", Value::num(typedNext() - 1));
    });
  });
  return true;
}

bool MANT_SE2::MODIFICA(const std::string&) {
  lib::WDBTable& t = *REGISTRO;
  const double next = typedNext();
  const bool changing = next != loadedNext_;
  // The highest number handed out that the user agreed to hand out again.
  double accepted = -1;
  for (;;) {
    t.GoTo(XRECNO);  // as other workstations left it
    const double drawn = t.N("NUMERO");
    if (changing && next <= drawn && drawn > accepted) {
      if (!screens::confirm("El próximo número (" + number(next) + ") no es mayor que el último número entregado (" +
                            number(drawn) + ").\rLos números " + number(next) + " a " + number(drawn) +
                            " se entregarían de nuevo y podrían repetirse documentos.\r¿Desea continuar?")) {
        SetFocusTo(kNext);
        return false;
      }
      accepted = drawn;
    }
    bool moved = false;
    lib::MODIFY(t, [&] {
      // The lock re-read the counter: another workstation may have drawn since the question.
      if (changing && next <= t.N("NUMERO") && t.N("NUMERO") > accepted) {
        moved = true;
        return;
      }
      screens::CON_HISTORIAL(t, [&] {
        FORM_.SAVE(&t, false);
        if (changing) t.FieldPut("NUMERO", Value::num(next - 1));
      });
    });
    if (!moved) return true;
  }
}

}  // namespace app
