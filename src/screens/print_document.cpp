#include "screens/print_document.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "lib/globals.h"
#include "lib/picture.h"
#include "lib/printer_profile.h"
#include "lib/program_time.h"
#include "lib/text.h"
#include "screens/listing.h"
#include "screens/messages.h"
#include "win/driver.h"

namespace screens {

std::vector<std::string> GETPTRLIST() {
  std::vector<std::string> entries;
  if (win::Driver::installed()) {
    std::ifstream in(lib::G().PATH + "PRINTERS.TXT");
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!lib::trim(line).empty()) entries.push_back(lib::printerEntry(line));
    }
    return entries;
  }
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
    // CUPS names no port: the printer's location (or its make) tells users which one it is.
    QString port = info.location().isEmpty() ? info.makeAndModel() : info.location();
    if (port.isEmpty()) port = "CUPS";
    entries.push_back((info.printerName() + " on " + port).toStdString());
  }
  return entries;
}

std::string printerName(const std::string& entry) {
  const std::string plain = lib::printerEntry(entry);
  const size_t on = plain.rfind(" on ");
  return lib::trim(on == std::string::npos ? plain : plain.substr(0, on));
}

bool CHECKVALIDPRINTER(const std::string& entry) {
  const std::string plain = lib::trim(lib::printerEntry(entry));
  if (plain.empty()) return false;
  if (win::Driver::installed()) {
    const auto list = GETPTRLIST();
    return std::find(list.begin(), list.end(), plain) != list.end();
  }
  return !QPrinterInfo::printerInfo(QString::fromStdString(printerName(plain))).isNull();
}

bool PRINTER::ASSIGNPRINTER(const std::string& printer, const std::string& modeFlag, const std::string& p1,
                            const std::string& p2, const std::string& p3) {
  if (!lib::predetFlag(modeFlag)) {
    entry_ = lib::printerEntry(printer);
    return CHECKVALIDPRINTER(entry_);
  }
  entry_.clear();
  for (const std::string& candidate : GETPTRLIST()) {
    if (lib::matchesPatterns(candidate, p1, p2, p3)) {
      entry_ = candidate;
      return CHECKVALIDPRINTER(entry_);
    }
  }
  return false;
}

namespace {

lib::PredetInfo resolveNow(const std::string& negocio, const std::string& codigo) {
  lib::ProfileFile ini(lib::profilePath("SALTMERE.INI"));
  return lib::RESOLVE_PREDET(ini, negocio, codigo, lib::XTIME().substr(0, 5));
}

}  // namespace

bool SET_PREDET_INFO(const std::string& negocio, const std::string& codigo, PRINTER& printer, int mode) {
  const lib::PredetInfo info = resolveNow(negocio, codigo);
  const bool station = !lib::trim(info.station).empty();
  if (mode == 1 && station && !info.printAlso) return false;
  return printer.ASSIGNPRINTER(info.printer, "0", info.pattern1, info.pattern2, info.pattern3);
}

std::string PREDET_ESTACION(const std::string& negocio, const std::string& codigo) {
  return resolveNow(negocio, codigo).station;
}

PRINT_DOC::PRINT_DOC(std::string title, std::string pdfName) : title_(std::move(title)), pdfName_(std::move(pdfName)) {}

void PRINT_DOC::TITLES(std::vector<std::string> titles) {
  titles.resize(std::min<size_t>(titles.size(), 4));
  titles_ = std::move(titles);
}

void PRINT_DOC::startPage() {
  pages_.emplace_back();
  row_ = 0;
  const std::string number = "Página " + std::to_string(pages_.size());
  for (size_t n = 0; n < titles_.size(); ++n) {
    SAY(0, titles_[n]);
    if (n == 0) SAY(kColumns - static_cast<int>(number.size()) + 1, number);  // "á" is one column
    ++row_;
  }
  if (titles_.empty()) {
    SAY(kColumns - static_cast<int>(number.size()) + 1, number);
    ++row_;
  }
  ++row_;
  if (onPage_ && !inHeader_) {
    inHeader_ = true;
    onPage_(*this);
    inHeader_ = false;
  }
}

void PRINT_DOC::SAY(int col, const std::string& text, int rowOffset) {
  if (pages_.empty()) startPage();
  page().items.push_back({Item::Text, row_ + rowOffset, col, 0, text});
}

void PRINT_DOC::NUMBER(int col, lib::Money amount, const std::string& picture, int rowOffset) {
  SAY(col, lib::TRANSFORM_NUMBER(amount.rounded(lib::pictureDecimals(picture)).number(), picture), rowOffset);
}

void PRINT_DOC::RULE(int col, int width, int rowOffset) {
  if (pages_.empty()) startPage();
  page().items.push_back({Item::Rule, row_ + rowOffset, col, width, ""});
}

void PRINT_DOC::BITMAP(const std::string& path, int heightRows) {
  if (pages_.empty()) startPage();
  page().items.push_back({Item::Bitmap, row_, 0, heightRows, path});
  row_ += heightRows;
}

bool PRINT_DOC::NEEDS_PAGE(int rows) const {
  return pages_.empty() || row_ + rows > kRowsPerPage;
}

void PRINT_DOC::LINE(int n) {
  if (pages_.empty()) startPage();
  row_ += n;
  if (row_ >= kRowsPerPage && !inHeader_) startPage();
}

void PRINT_DOC::PAGE() {
  startPage();
}

std::string PRINT_DOC::text() const {
  std::string out;
  for (const Page& p : pages_) {
    std::vector<const Item*> texts;
    for (const Item& item : p.items)
      if (item.kind == Item::Text) texts.push_back(&item);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const Item* a, const Item* b) { return a->row != b->row ? a->row < b->row : a->col < b->col; });
    int lastRow = -1;
    for (const Item* item : texts) {
      if (item->row != lastRow && lastRow >= 0)
        out += '\n';
      else if (item->row == lastRow)
        out += ' ';
      out += item->text;
      lastRow = item->row;
    }
    out += "\n\f";
  }
  return out;
}

bool PRINT_DOC::paintOn(QPagedPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QRect area = painter.viewport();
  const double cell = double(area.width()) / kColumns;
  const double rowHeight = double(area.height()) / kRowsPerPage;
  QFont font("Liberation Mono");
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(std::max(1, int(rowHeight * 0.8)));
  // The glyphs narrowed until a row of kColumns fits the page's width.
  while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance('M') > cell)
    font.setPixelSize(font.pixelSize() - 1);
  painter.setFont(font);
  const double baseline = rowHeight - QFontMetricsF(font).descent();
  const std::vector<Page> pages = pages_.empty() ? std::vector<Page>(1) : pages_;
  for (size_t n = 0; n < pages.size(); ++n) {
    if (n > 0) device.newPage();
    for (const Item& item : pages[n].items) {
      const double x = item.col * cell, y = item.row * rowHeight;
      switch (item.kind) {
        case Item::Text:
          painter.drawText(QPointF(x, y + baseline), QString::fromStdString(item.text));
          break;
        case Item::Rule:
          painter.drawLine(QPointF(x, y + rowHeight / 2), QPointF(x + item.width * cell, y + rowHeight / 2));
          break;
        case Item::Bitmap: {
          QImage image(QString::fromStdString(item.text));
          if (image.isNull()) break;
          const QSizeF box(area.width(), item.width * rowHeight);
          QSizeF size = QSizeF(image.size()).scaled(box, Qt::KeepAspectRatio);
          painter.drawImage(QRectF(QPointF(x, y), size), image);
          break;
        }
      }
    }
  }
  return painter.end();
}

bool PRINT_DOC::TO_PDF(const std::string& path) const {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  QPdfWriter writer(QString::fromStdString(path));
  writer.setTitle(QString::fromStdString(title_));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
  writer.setResolution(300);
  return paintOn(writer);
}

std::unique_ptr<QPrintPreviewDialog> PRINT_DOC::PREVIEW(QPrinter& device) const {
  auto dialog = std::make_unique<QPrintPreviewDialog>(&device);
  dialog->setWindowTitle(QString::fromStdString(title_));
  QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, [this](QPrinter* p) { paintOn(*p); });
  return dialog;
}

bool PRINT_DOC::PRINT(const std::string& printer, bool setUp, bool preview) {
  if (win::Driver::installed()) {
    if (!TO_PDF(listingPath(pdfName_))) {
      error("No se pudo imprimir: " + title_);
      return false;
    }
    return true;
  }
  QPrinter device(QPrinter::HighResolution);
  device.setDocName(QString::fromStdString(title_));
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
  if (!lib::trim(printer).empty()) {
    if (CHECKVALIDPRINTER(printer)) {
      device.setPrinterName(QString::fromStdString(printerName(printer)));
    } else {
      error("La impresora \"" + printerName(printer) + "\" no existe en esta estación.\rElija otra impresora.");
      setUp = true;
    }
  }
  if (setUp) {
    QPrintDialog dialog(&device);
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  if (preview) return PREVIEW(device)->exec() == QDialog::Accepted;
  if (!paintOn(device)) {
    error("No se pudo imprimir: " + title_);
    return false;
  }
  return true;
}

}  // namespace screens
