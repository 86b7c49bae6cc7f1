#include "screens/listing.h"

#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <filesystem>

#include "lib/globals.h"
#include "screens/messages.h"
#include "win/driver.h"

namespace screens {

std::string listingPath(const std::string& pdfName) {
  return lib::G().PATH + "TEMP/" + pdfName;
}

bool IMPRIME_LISTADO(const std::string& title, const std::vector<std::string>& lines, const std::string& pdfName) {
  QPrinter printer(QPrinter::HighResolution);
  if (win::Driver::installed()) {
    std::filesystem::create_directories(lib::G().PATH + "TEMP");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(listingPath(pdfName)));
  } else {
    QPrintDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    error("No se pudo imprimir: " + title);
    return false;
  }
  QFont font("Liberation Mono", 8);
  font.setStyleHint(QFont::Monospace);
  painter.setFont(font);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int lineHeight = painter.fontMetrics().lineSpacing();
  const int perPage = std::max(1, page.height() / lineHeight - 3);
  int pageNumber = 0;
  for (size_t at = 0; at < lines.size() || pageNumber == 0;) {
    if (pageNumber > 0) printer.newPage();
    ++pageNumber;
    int y = lineHeight;
    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(0, y, QString::fromStdString(title));
    const QString number = QString("Página %1").arg(pageNumber);
    painter.drawText(page.width() - painter.fontMetrics().horizontalAdvance(number), y, number);
    painter.setFont(font);
    y += 2 * lineHeight;
    for (int n = 0; n < perPage && at < lines.size(); ++n, ++at) {
      painter.drawText(0, y, QString::fromStdString(lines[at]));
      y += lineHeight;
    }
  }
  painter.end();
  return true;
}

}  // namespace screens
