// "Exportar a Excel": the grid's scope, in its order, with its shown columns and headings,
// written as an .xlsx workbook through libxlsxwriter. Numbers stay numbers (formatted as
// their picture says) and dates are dates.
#include <xlsxwriter.h>

#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "lib/picture.h"
#include "lib/table_driver.h"
#include "win/browse_internal.h"
#include "win/message_box.h"
#include "win/wait.h"
#include "xbase/date.h"

namespace win {

namespace {

constexpr uint32_t kLastSheetRow = 1048575;  // the sheet's last row (0-based)
constexpr uint32_t kProgressFrom = 2000;     // rows: longer exports show the progress window
constexpr uint32_t kProgressEvery = 250;

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The number format of a picture: "999,999.99" becomes "#,##0.00".
std::string numberFormat(const std::string& picture, int fieldDecimals) {
  std::string t = lib::pictureTemplate(picture);
  int decimals = t.empty() ? fieldDecimals : lib::pictureDecimals(picture);
  bool thousands = t.find(',') != std::string::npos;
  std::string f = thousands ? "#,##0" : "0";
  if (decimals > 0) f += "." + std::string(size_t(decimals), '0');
  return f;
}

// Sheet names: at most 31 characters, none of []:*?/\.
std::string sheetName(const std::string& name) {
  std::string s;
  for (char c : name)
    if (std::string("[]:*?/\\").find(c) == std::string::npos) s.push_back(c);
  if (s.empty()) s = "Hoja1";
  return s.substr(0, 31);
}

// libxlsxwriter writes numbers with printf, which follows the process locale: under a
// Spanish desktop's 1250.5 would reach the sheet as "1250,5". The C numeric locale is kept
// while a workbook is written.
struct CNumericLocale {
  std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  CNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }
  ~CNumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
};

struct Workbook {
  lxw_workbook* wb = nullptr;
  ~Workbook() {
    if (wb) workbook_close(wb);
  }
};

}  // namespace

bool exportToWorkbook(WBLISTBOX& g, const std::string& path) {
  lib::TableDriver* t = g.table();
  if (!t) return false;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;  // rows go out as they are read
  CNumericLocale cNumbers;             // outlives the workbook, closed in its destructor
  Workbook book;
  book.wb = workbook_new_opt(path.c_str(), &options);
  if (!book.wb) {
    MESSAGE_BOX(g.dialog(), "No se puede crear el archivo: " + path, "Error", 16);
    return false;
  }
  lxw_worksheet* sheet = workbook_add_worksheet(book.wb, sheetName(g.Name()).c_str());
  lxw_format* heading = workbook_add_format(book.wb);
  format_set_bold(heading);
  format_set_bottom(heading, LXW_BORDER_THIN);
  lxw_format* date = workbook_add_format(book.wb);
  format_set_num_format(date, "dd/mm/yyyy");

  // The columns as the grid shows them (a column of width 0 is not shown).
  struct Column {
    const WBCOLUMN* c;
    lxw_format* number;
  };
  std::vector<Column> columns;
  for (int pos = 1; pos <= g.ColCount(); ++pos) {
    const WBCOLUMN* c = g.DrawColumn(pos);
    if (!c || g.ColumnWidth(pos) <= 0) continue;
    int decimals = c->fieldIndex >= 0 ? t->field(c->fieldIndex).decimals : 0;
    lxw_format* number = workbook_add_format(book.wb);
    format_set_num_format(number, numberFormat(c->wbPicture, decimals).c_str());
    lxw_col_t k = lxw_col_t(columns.size());
    worksheet_set_column_pixels(sheet, k, k, std::max(48, g.ColumnWidth(pos) + 8), nullptr);
    worksheet_write_string(sheet, 0, k, rtrim(c->wbHeading).c_str(), heading);
    columns.push_back({c, number});
  }
  worksheet_freeze_panes(sheet, 1, 0);

  std::unique_ptr<WAIT> progress;
  if (g.nMaxRec >= kProgressFrom) {
    progress = std::make_unique<WAIT>(g.dialog());
    progress->PUT_TEXT("Exportando a Excel...", path);
  }
  bool cancelled = false;
  uint32_t row = 0;
  {
    KeepPosition keep(*t);
    for (t->goTop(); !t->eof() && row < kLastSheetRow; t->skip(1)) {
      ++row;
      for (size_t k = 0; k < columns.size(); ++k) {
        const WBCOLUMN& c = *columns[k].c;
        Value v = g.ColumnValue(c);
        lxw_col_t col = lxw_col_t(k);
        switch (v.type) {
          case xbase::ValueType::Number:
            worksheet_write_number(sheet, row, col, v.number, columns[k].number);
            break;
          case xbase::ValueType::Date:
          case xbase::ValueType::DateTime:
            if (v.julian) {
              xbase::Ymd d = xbase::ymdFromJulian(v.julian);
              lxw_datetime when{d.year, d.month, d.day, 0, 0, 0};
              if (v.type == xbase::ValueType::DateTime) {
                when.hour = v.millis / 3600000;
                when.min = v.millis / 60000 % 60;
                when.sec = (v.millis % 60000) / 1000.0;
              }
              worksheet_write_datetime(sheet, row, col, &when, date);
            }
            break;
          case xbase::ValueType::Logical:
            worksheet_write_string(sheet, row, col, v.logical ? "S" : "N", nullptr);
            break;
          case xbase::ValueType::Char: {
            std::string text = rtrim(g.FormatCell(c, v).toStdString());
            if (!text.empty()) worksheet_write_string(sheet, row, col, text.c_str(), nullptr);
            break;
          }
          default:
            break;
        }
      }
      if (progress && row % kProgressEvery == 0) {
        progress->PUT_TEXT("Exportando a Excel...", path,
                           std::to_string(row) + " de " + std::to_string(g.nMaxRec) + " registros");
        if (!progress->CANPRINT()) {
          cancelled = true;
          break;
        }
      }
    }
  }
  progress.reset();
  lxw_error closed = workbook_close(book.wb);
  book.wb = nullptr;
  if (cancelled) {
    std::remove(path.c_str());
    return false;
  }
  if (closed != LXW_NO_ERROR) {
    MESSAGE_BOX(g.dialog(), "No se puede escribir el archivo: " + path + "\r" + lxw_strerror(closed), "Error", 16);
    return false;
  }
  return true;
}

}  // namespace win
