// "Listado de Transacciones": the transaction codes of a business unit as printed, in code
// order. Each code shows its description, "C" (credits) or "D" (debits) and one column per
// flag ("S" when set): Doc requires a document, Ex. excluded from the depositable total,
// I.C prints a voucher, Age requires a sales agent, D.C detailed in accounting, Com requires
// a comment, I.I taxes included, Cie listed in the closing, Res charged per reservation.
// Below a simple code, its accounting link with the link's description and side; below a
// composite, one line per component with its percentage and the component's link.
#pragma once

#include <string>
#include <vector>

namespace cashier {

std::vector<std::string> LISTADO_TRANSACCIONES(const std::string& negocio);

}  // namespace cashier
