// The duplicate dialogs of the rates (DUP_RACK, DUP_ESP): the original code and description
// shown, a new code and description asked. The new code is required ("Debe definir el
// Código") and must not exist ("Código nuevo ya se encuentra definido").
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "win/wdiag.h"

namespace rates {

struct Duplicado {
  std::string codigo, descrip;
};

// `exists` tells whether a code is taken; `copy` runs with the dialog still open (its
// progress window over it). The new code and description when the copy ran.
std::optional<Duplicado> DUPLICAR(const std::string& dialog, win::WDIAG* owner, const std::string& codigo,
                                  const std::string& descrip, const std::function<bool(const std::string&)>& exists,
                                  const std::function<void(const Duplicado&)>& copy);

}  // namespace rates
