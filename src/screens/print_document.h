// The printing layer of the reports: the system's printers (CUPS on Linux) as the program
// names them, a printer object the printer profiles assign, and a document laid out on a
// fixed-pitch grid of rows and columns, so that reports written for a character printer
// keep their columns.
//
// A document is built first (pages of text, rules and bitmaps at row and column), then
// printed: to the printer the caller chose, after the printer set-up dialog where a user
// expects one, through a print preview when asked, or — under the test driver (tests and
// scripts) — to a PDF file in the program folder's TEMP/ (screens::listingPath) named by
// the caller, whose text a test reads back.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lib/money.h"

class QPagedPaintDevice;
class QPrinter;
class QPrintPreviewDialog;

namespace screens {

// The installed printers, each the printer name + " on " + its port (the device it is
// reached through), in the order the system lists them. Under the test driver, the lines
// of PRINTERS.TXT in the program folder stand in for the system's printers.
std::vector<std::string> GETPTRLIST();
// A printer that can be printed to: an entry of GETPTRLIST; one that is empty after
// trimming is not.
bool CHECKVALIDPRINTER(const std::string& entry);
// The printer's name within an entry ("HP LaserJet on ipp://..." → "HP LaserJet").
std::string printerName(const std::string& entry);

// Where a document goes: the printer a profile or the user chose.
class PRINTER {
 public:
  // Mode flag "0" or empty: `printer` itself, true when it is valid. Otherwise the first
  // installed entry that matches the three patterns (lib::matchesPatterns), true only when
  // one matched and is valid. Either way the object prints to that printer afterwards.
  bool ASSIGNPRINTER(const std::string& printer, const std::string& modeFlag, const std::string& p1,
                     const std::string& p2, const std::string& p3);
  const std::string& entry() const { return entry_; }

 private:
  std::string entry_;
};

// Resolves the profile `codigo` of the business unit on this workstation at the program's
// time (XTIME) and assigns the printer object the printer behind it, in direct mode.
// Mode 0: the result is whether that printer is valid. Mode 1: a profile routed to a
// display station assigns nothing and gives false unless its print-also flag is on.
bool SET_PREDET_INFO(const std::string& negocio, const std::string& codigo, PRINTER& printer, int mode = 0);
// Mode 2: the display station the profile resolves to (4 characters, blanks = none).
std::string PREDET_ESTACION(const std::string& negocio, const std::string& codigo);

class PRINT_DOC {
 public:
  static constexpr int kColumns = 100;  // the widest line the reports lay out

  // `pdfName`: the file written under the test driver.
  PRINT_DOC(std::string title, std::string pdfName);

  // The page header: up to four title lines, printed with the page number on every page.
  void TITLES(std::vector<std::string> titles);
  // Printed at the top of every page after the titles (a report's column header); it may
  // write on the rows from the current one on.
  void ON_PAGE(std::function<void(PRINT_DOC&)> header) { onPage_ = std::move(header); }

  int row() const { return row_; }
  // Text at `col` on the current row (`row` rows below it).
  void SAY(int col, const std::string& text, int rowOffset = 0);
  // An amount through `picture` (lib::TRANSFORM_NUMBER): its text, as wide as the picture,
  // starts at `col`, so the amounts of a column end aligned on their decimals.
  void NUMBER(int col, lib::Money amount, const std::string& picture, int rowOffset = 0);
  // A rule `width` columns wide on the current row.
  void RULE(int col, int width, int rowOffset = 0);
  // A picture file drawn at the top of the current page, `heightRows` rows high; the rows
  // go on below it. A missing file leaves the rows blank.
  void BITMAP(const std::string& path, int heightRows);
  // Down `n` rows; a new page (with its header) when the page is full.
  void LINE(int n = 1);
  // Whether fewer than `rows` rows are left on this page.
  bool NEEDS_PAGE(int rows = 1) const;
  void PAGE();

  // The document's text, page by page, rows top to bottom (what a PDF's text reads).
  std::string text() const;
  int pages() const { return static_cast<int>(pages_.size()); }

  // Prints to `printer` (an installed-printer entry; empty: the system's default). With
  // `setUp` the printer set-up dialog is shown first (false, nothing printed, when the user
  // cancels it); with `preview` a print preview lets the user look before printing. A
  // printer that does not exist is told to the user, who may choose another. Under the test
  // driver the document goes to its PDF file and no dialog shows. False when nothing was
  // printed.
  bool PRINT(const std::string& printer = "", bool setUp = true, bool preview = false);
  // Writes the document to a PDF file.
  bool TO_PDF(const std::string& path) const;
  // The print preview of the document as it would print on `device` (not yet shown); the
  // document must outlive it.
  std::unique_ptr<QPrintPreviewDialog> PREVIEW(QPrinter& device) const;

 private:
  struct Item {
    enum Kind { Text, Rule, Bitmap } kind = Text;
    int row = 0, col = 0, width = 0;
    std::string text;  // the text, or the picture's path
  };
  struct Page {
    std::vector<Item> items;
  };
  void startPage();
  Page& page() { return pages_.back(); }

  std::string title_, pdfName_;
  std::vector<std::string> titles_;
  std::function<void(PRINT_DOC&)> onPage_;
  std::vector<Page> pages_;
  int row_ = 0;
  bool inHeader_ = false;
  bool paintOn(QPagedPaintDevice& device) const;
};

// The rows a page holds.
inline constexpr int kRowsPerPage = 66;

}  // namespace screens
