// The demo hotel's reservation policies and a handful of deliberate disagreements for the
// congruence check to find (README, "Reservation policies and the congruence check").
#pragma once

#include <string>

namespace initdb {

// Both, in this order.
void addReservationDemo(const std::string& home);

// The guarantee types' rules and messages, the reservation classes with their super-classes
// and the classes each reservation of business "01" carries.
void addReservationPolicyDemo(const std::string& home);
// The disagreements, on the demo year already written and generated.
void addCongruenceDemo(const std::string& home);

}  // namespace initdb
