// The guest exchange files between properties: for a name N, EH<N> (guest records with the
// structure of H_HUES) and RH<N> (reservation-history rows with the structure of H_RES2), in
// F_EXPORT when this program writes them and in F_IMPORT when it reads them. Plain DBF files
// on the program folder, also when the program works through the database server.
//
// Neither run is a transaction: a failure leaves what was copied so far. Each writes a table
// whole under its file lock when it can have it (no other workstation holding one of its
// records), so a process killed half-way loses the records not yet written with the lock's
// release, and the tables stay sound; otherwise it writes record by record. The import is
// checked first (CHECK_IMPORT), so that the user decides on the whole file before anything is
// written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace guests {

struct ExportResult {
  int guests = 0, stays = 0;
};

// Creates EH<name> and RH<name> in F_EXPORT (replacing files of that name) and copies into
// them the guests of `negocio` updated on or after `from` (F_ACTUALIZ, order H_HUES6) with
// the stays (DET_RES2, order DET_RS41) of each whose document is longer than 4 characters.
// `showing` is told each such document. Stores today as the date of the last export
// (F_H_HUESP of F_HOTEL).
ExportResult EXPORTA_HUESPEDES(const std::string& negocio, int32_t from, const std::string& name,
                               const std::function<void(const std::string& document)>& showing = {});

// The exchange names found in F_IMPORT: N of every EH<N>.DBF, sorted.
std::vector<std::string> ARCHIVOS_IMPORTACION();
// The files of `name` that F_IMPORT lacks ("EHN.DBF", "RHN.DBF"), in that order.
std::vector<std::string> FALTANTES_IMPORTACION(const std::string& name);

// A record of the files that will not be imported, and why.
struct ImportProblem {
  bool stay = false;    // a row of RH<N> (else a guest of EH<N>)
  uint32_t record = 0;  // its record number in the file
  std::string reason;
};

struct ImportCheck {
  std::vector<ImportProblem> problems;
  int guests = 0, stays = 0;                    // what will be imported
  std::vector<uint32_t> goodGuests, goodStays;  // their record numbers
};

// Reads both files of `name` in F_IMPORT without writing anything: a guest without a
// document number, with a document already given by an earlier record of the file, with a
// birth day, month and year that make no date, or with a country the business unit does not
// define is left out, and so are the stays of the guests left out and stays without a
// document.
ImportCheck CHECK_IMPORT(const std::string& negocio, const std::string& name);

struct ImportResult {
  int added = 0, updated = 0, stays = 0;
};

// Imports the records `check` accepted into the business unit `negocio`: each guest sought by
// document (in the business unit first, then in any), overwritten or appended, moved into
// `negocio` with the unit it came from in NEGOCIO_O and the date and time of the import; the
// stays by (business unit, document) overwriting that guest's rows imported before from the
// same unit (order H_RES22) while they last, the rest appended. `progress` is told every 100
// records written.
ImportResult IMPORTA_HUESPEDES(const std::string& negocio, const std::string& name, const ImportCheck& check,
                               const std::function<void(int done)>& progress = {});

}  // namespace guests
