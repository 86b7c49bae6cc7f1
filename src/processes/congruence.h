// The data congruence check ("Congruencia de Datos"): the reservation data of the business
// unit compared with the room master (ROOMS.COD_RES), the room-by-date table (TAB_RESE) and
// the reservation-day rows (DET_RES9). Every disagreement becomes a finding; with `repair`
// the findings that have a repair are repaired at once, each record changed under its own
// lock and journalled (repair_journal.h).
//
// The steps, in order: repeated in-house rooms (always); with `inHouse` the room master
// against the in-house stays and back, the room-days and the day rows of the in-house stays;
// with `historic` the day rows of the stays departed from the closing day less 10 days, and
// the surplus day rows from then on; with `future` the day rows and pre-assignments of the
// pending stays and the room-days from the closing day on; with `attributes` the agency,
// class, room type and source kind of the day rows from the closing day less 10 days.
//
// Each index is walked forward; the progress is asked between records whether to go on: a
// cancelled run stops there, keeping what it repaired. A missing room-day or day row reads as
// blank (and a repair never creates a room-day); a missing reservation, line or rate type
// makes the expected values blank.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rooms/availability_runs.h"

namespace processes {

class RepairJournal;

struct CongruenceOptions {
  bool historic = false;   // "Revisar Históricos"
  bool inHouse = true;     // "Revisar In-House"
  bool future = true;      // "Revisar Futuros"
  bool attributes = true;  // "Revisar Congruencia Tipo Room, Agencia, etc."
};

struct Finding {
  std::string text;  // COMENTA
  std::string room;
  int32_t arrival = 0, departure = 0;
  std::string reservation;
};

struct CongruenceResult {
  std::vector<Finding> findings;
  bool completed = true;  // false when cancelled
  long read = 0;          // records read
  long repaired = 0;      // records changed, appended or deleted
};

// `journal` is given to repair, null to report only.
CongruenceResult CONGRUENCIA(const std::string& negocio, const CongruenceOptions& options, RepairJournal* journal,
                             rooms::Progress& progress);

}  // namespace processes
