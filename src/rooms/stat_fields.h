// The fields of an open STAT_TIP by position, looked up once per table object, for the
// routines that go through many rows. Numbers are written clamped to what their field can
// hold, so that an absurd percentage (a full type on a night its rooms left the inventory)
// never stops a process halfway.
#pragma once

#include <string>
#include <vector>

#include "lib/wdbtable.h"
#include "rooms/availability.h"

namespace rooms {

class StatTipFields {
 public:
  explicit StatTipFields(const lib::WDBTable& statTip);

  // 1-based positions.
  int NEGOCIO, FECHA, TIPO_ROM, CLASE, XCLASE, SHOW1, SHOW2;
  int TOTAL, LIBRE, RESERVADO, BLOQUEADO, OUTORDER, N_ADULT, N_NINHO, N_GRATIS;
  int CLAS[5];
  int LLEGAN, SALEN, ALLOT_TOT, ALLOT_LIB, CUTOFF_LIB, HOUSE1, HOUSE0;
  int P_OCUP, P_OCUP_A, P_OCUP_AC, P_LIBRE, P_LIBRE_A, P_LIBRE_AC, P_DISP, P_DISP_A, P_DISP_AC;
  int DISPON, DISPON_A, DISPON_AC, LIM_TOPE, ALTERA_TOP, NOTIF_TOPE, ALTERA_1, CONSTRUYE;

  double num(const lib::WDBTable& t, int pos) const { return t.FieldGet(pos).number; }
  std::string text(const lib::WDBTable& t, int pos) const;  // right-trimmed
  // Writes `value` rounded to the field's decimals, within what the field can hold.
  void put(lib::WDBTable& t, int pos, double value) const;
  void add(lib::WDBTable& t, int pos, double delta) const { put(t, pos, num(t, pos) + delta); }

  AvailabilityCounts counts(const lib::WDBTable& t) const;
  bool upToDate(const lib::WDBTable& t) const;
  // Assigns the derived fields of the current record (its lock held by the caller).
  void complement(lib::WDBTable& t) const;

 private:
  int at(const lib::WDBTable& t, const char* name);
  double clamped(int pos, double value) const;
  std::vector<double> high_, low_;  // by position: what the field can hold
};

}  // namespace rooms
