// The log viewers of "Archivo > Mantenimientos": the records a log table holds (errors,
// logins, rolled-back transactions, mails), newest first, for a range of dates and, when
// asked, one user and one workstation (texts contained in theirs, capitals or not). The
// records are copied into a working table of this workstation (TMP_LOG) each time the
// filter is applied, so the grid lists, orders and exports ("Exportar a Excel") just them;
// "Detalle..." shows a record's full text as the log keeps it. Nothing here changes a log,
// except what a definition's own button does (resending a mail).
//
// The dates start a month before the newest record, so that a log shows its latest
// entries whatever the date; an empty date leaves that end open.
#pragma once

#include <functional>
#include <string>

#include "screens/list_screen.h"

namespace app {

// One log record as the viewer lists it.
struct LogRow {
  std::string user, workstation;
  std::string text, other, state;
};

struct LogDefinition {
  std::string screen;  // the class the menu names (VIEW_ERRORS)
  std::string table;   // the log (tag of the same name: DTOS(FECHA)+HORA)
  // Headings of the listed columns; an empty one is not shown.
  std::string userHeading = "Usuario", workstationHeading = "Estación";
  std::string textHeading, otherHeading, stateHeading;
  int userWidth = 26, workstationWidth = 24, textWidth = 64, otherWidth = 24;  // characters
  std::function<LogRow(const lib::WDBTable& log)> row;
  std::function<std::string(const lib::WDBTable& log)> detail;
  // What button 103 of the screen's template does with the record under the cursor (the
  // log's table on it); true when it changed the record.
  std::function<bool(lib::WDBTable& log)> action = {};
};

class LOG_VIEWER : public screens::LIST_SCREEN {
 public:
  LOG_VIEWER(LogDefinition definition, const std::string& dialog, const std::string& negocio);
  std::string name() const override { return log_.screen; }
  void INIT() override;

  // "Filtrar": the working table again from the log, for the dates, user and workstation
  // typed. False (after telling the user) when a date is not one.
  bool FILTRAR();
  void DETALLE();
  void ACCION();

 protected:
  void AbrirBases() override;
  void BOTONES() override;
  void MontarColumnas() override;
  void ConfigBrow() override;
  void DOBLE_CLICK() override { DETALLE(); }

 private:
  // The log on the record the working table's current row came from; false without one.
  bool onOriginal(lib::WDBTable& log) const;
  void showCount();

  const LogDefinition log_;
  lib::WDBTable* LOG = nullptr;
};

// The line of a report that starts with `label` ("Computer: "), without it; "" when none.
std::string reportLine(const std::string& report, const std::string& label);

void registerLogViewers();

}  // namespace app
