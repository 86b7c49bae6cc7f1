#include "agencies/references.h"

namespace agencies {

const std::vector<screens::RecodeStep>& AGENCY_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ENC_RES", "AGENCIA", "ENC_RES2"},  {"T_ALLOT", "AGENCIA", "T_ALLOT"}, {"TIP_PREC", "AGENCIA", "TIP_PREC3"},
      {"DET_RES9", "AGENCIA", "DET_RS94"}, {"DET_AGE", "AGENCIA", "DET_AGE"}, {"DET_AGE2", "AGENCIA", "DET_AGE2"},
      {"DET_AGE3", "AGENCIA", "DET_AGE3"},
  };
  return steps;
}

const std::vector<screens::RecodeStep>& AGENCY_ROWS() {
  static const std::vector<screens::RecodeStep> steps = {
      {"AGE_VEND", "AGENCIA", "AGE_VEND", true, true},  {"T_ALLOT", "AGENCIA", "T_ALLOT", true, true},
      {"TIP_PREC", "AGENCIA", "TIP_PREC3", true, true}, {"DET_AGE", "AGENCIA", "DET_AGE", true, true},
      {"DET_AGE2", "AGENCIA", "DET_AGE2", true, true},  {"DET_AGE3", "AGENCIA", "DET_AGE3", true, true},
  };
  return steps;
}

}  // namespace agencies
