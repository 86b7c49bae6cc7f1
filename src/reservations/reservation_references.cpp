#include "reservations/reservation_references.h"

namespace reservations {

std::vector<screens::RecodeStep> GUARANTEE_REFERENCES() {
  return {{"ENC_RES", "TIPO", "ENC_RES4"}};
}

std::vector<screens::RecodeStep> GUARANTEE_MESSAGES() {
  return {{"D_T_RES", "CODIGO", "D_T_RES", true, true}};
}

std::vector<screens::RecodeStep> CLASS_REFERENCES(int which) {
  if (which == 1)
    return {{"ENC_RES", "CLAS_1", "ENC_RES33"},
            {"H_E_RES", "CLAS_1", "H_E_RES3"},
            {"E_AGEN1", "CLAS_1", "ORDEN5"},
            {"E_AGEN2", "CLAS_1", "ORDEN4"}};
  return {{"ENC_RES", "CLAS_2", "ENC_RES34"},
          {"H_E_RES", "CLAS_2", "H_E_RES4"},
          {"E_AGEN1", "CLAS_2", "ORDEN6"},
          {"E_AGEN2", "CLAS_2", "ORDEN5"}};
}

}  // namespace reservations
