// The print preview of a demo closing report: it shows every page of the document, and a
// picture of it is kept beside the test (vista_previa_cierre.png) for a look at it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "frontcash/closing_report.h"
#include "lib/use.h"
#include "screens/print_document.h"
#include "support/program_folder.h"
#include "support/temp_dir.h"

namespace {

TEST(ClosingPreview, ShowsEveryPageOfADemoClosing) {
  testing_support::ProgramFolder folder;
  std::string out;
  ASSERT_EQ(
      testing_support::runCommand(std::string(INITDB_PATH) + " '" + folder.path() + "' --force --demo 2>&1", &out), 0)
      << out;
  // The demo's first closed period of register 01.
  frontcash::Period start, end;
  bool found = false;
  lib::EACH_RECORD("DET_HCAJ", "DET_HCAJ", "0101", [&](const lib::WDBTable& p) {
    if (found || p.D("FECHA_FIN") == 0) return;
    start = {p.D("FECHA_INI"), p.S("HORA_INI")};
    end = {p.D("FECHA_FIN"), p.S("HORA_FIN")};
    found = true;
  });
  ASSERT_TRUE(found);
  frontcash::ClosingOptions options;
  options.detalle = true;
  options.resumen = true;
  screens::PRINT_DOC doc("Cierre de Caja", "");
  frontcash::IMPRIME_CIERRE(frontcash::RECOGE_CIERRE("01", "01", start, end, {}), options, doc);
  ASSERT_GT(doc.pages(), 0);

  QPrinter device(QPrinter::HighResolution);
  device.setOutputFormat(QPrinter::PdfFormat);  // no printer needed to lay the pages out
  std::unique_ptr<QPrintPreviewDialog> preview = doc.PREVIEW(device);
  preview->resize(900, 700);
  preview->show();
  QApplication::processEvents();
  auto* pages = preview->findChild<QPrintPreviewWidget*>();
  ASSERT_NE(pages, nullptr);
  pages->updatePreview();
  QApplication::processEvents();
  EXPECT_EQ(pages->pageCount(), doc.pages());
  EXPECT_EQ(preview->windowTitle().toStdString(), "Cierre de Caja");
  EXPECT_TRUE(preview->grab().save("vista_previa_cierre.png"));
}

}  // namespace
