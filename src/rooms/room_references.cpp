#include "rooms/room_references.h"

namespace rooms {

const std::vector<screens::RecodeStep>& ROOM_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ROOMS", "CODIGO", "ROOMS"},
      // Rooms connected to this one name it too.
      {"ROOMS", "COD_ROOM2", "", false},
      {"DET_RES2", "COD_ROOMS", "DET_RS28"},
      {"TAB_RESE", "CODIGO", "TAB_RES2"},
      {"DET_ROM1", "ROOM", "DET_ROM1"},
      {"DET_ROM2", "ROOM", "DET_ROM2"},
      {"DET_ROM3", "CODIGO", "DET_ROM3"},
      {"DET_FOL", "ROOM", ""},
      {"DET_FOL", "HAB_ORIGEN", ""},
      {"ENC_FOL", "ROOM", ""},
      {"DET_FAC", "ROOM", ""},
      {"ENC_FAC", "ROOM", ""},
      {"RECADOS", "ROOM", "RECADOS"},
      {"LLAMADAS", "ROOM", "LLAMADAS"},
      {"LIMBO", "ROOM", "LIMBO"},
      {"EVENTOS", "ROOM2", ""},
      {"EVENTOS", "ROOM", ""},
  };
  return steps;
}

const std::vector<screens::RecodeStep>& TYPE_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ROOMS", "TIPO", "ROOMS2"},           {"TIP_PREC", "T_ROOM", "TIP_PREC11"},
      {"STAT_TIP", "TIPO_ROM", "STAT_TIP"},  {"DET_RES1", "TIPO_ROM", ""},
      {"CDET_RS1", "TIPO_ROM", "CDET_RS12"}, {"PDET_RS1", "TIPO_ROM", "PDET_RS12"},
      {"DET_RES9", "TIPO_ROM", ""},          {"NIV_TARI", "TIPO_ROM", "NIV_TARI3"},
      {"MAP_CIE", "TIPO_ROM", "MAP_CIE2"},   {"MAP_CIE2", "TIPO_ROM", "MAP_CIE22"},
      {"DET_EV11", "TIPO_ROM", "DET_EV112"}, {"AB_E_RCI", "TIPO_ROM", "AB_E_RCI2"},
  };
  return steps;
}

const std::vector<screens::RecodeStep>& CLASS_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ROOMS", "CLASE", "ROOMS8", false},  // under the progress window's first line
      {"TIPO_ROM", "CLASE", "TIPO_ROM2"},  {"CLAS_ROM", "OTRA_CLASE", "", false},
      {"STAT_TIP", "CLASE", "STAT_TIP4"},  {"STAT_TIP", "XCLASE", "STAT_TIP9", false},
      {"TAB_RESE", "CLASE", ""},           {"DET_RES9", "CLASE", ""},
      {"ENC_RACK", "CLASE", ""},
  };
  return steps;
}

const std::vector<screens::RecodeStep>& CLASS_LEAVES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"ROOMS", "CLASE", "ROOMS8"},
      {"TIPO_ROM", "CLASE", "TIPO_ROM2"},
      {"CLAS_ROM", "OTRA_CLASE", "", false},
      {"STAT_TIP", "XCLASE", "STAT_TIP9", true, true},
  };
  return steps;
}

const std::vector<screens::RecodeStep>& RESERVATION_TYPE_REFERENCES() {
  static const std::vector<screens::RecodeStep> steps = {
      {"DET_RES1", "TIPO_ROM", ""},
      {"CDET_RS1", "TIPO_ROM", "CDET_RS12"},
      {"PDET_RS1", "TIPO_ROM", "PDET_RS12"},
      // Every nightly row of the business unit, without a line of its own on the progress window.
      {"DET_RES9", "TIPO_ROM", "", false},
  };
  return steps;
}

}  // namespace rooms
