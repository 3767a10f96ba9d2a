#pragma once
// Printing through Qt: to a PDF file by default, or to a configured (CUPS) printer.

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <memory>
#include <string>

#include "platform/PrintTarget.h"
#include "platform/qt/QtCanvas.h"

namespace platform::qt {

struct PrintSetup {
  std::string pdfPath;      // used when printerName is empty
  std::string printerName;  // a CUPS queue; empty: PDF
  QPageSize pageSize = QPageSize(QPageSize::Letter);
  bool landscape = false;
  bool continuous = false;  // fan-fold paper
  int resolution = 300;
  // A PDF sheet keeps an unprintable edge like a laser printer's, 1/6 inch all round; the
  // side edges narrow (to none) where contentWidthMm would not fit across otherwise.
  // Fan-fold paper is printed edge to edge.
  double marginMm = 25.4 / 6;
  double contentWidthMm = 0;
};

// The margins of a PDF sheet for a setup, in millimetres.
QMarginsF pdfMargins(const PrintSetup& setup);

class QtPrintTarget final : public PrintTarget {
 public:
  explicit QtPrintTarget(PrintSetup setup);
  ~QtPrintTarget() override;

  int startDocument(const std::string& name) override;
  int startPage() override;
  int endPage() override;
  int endDocument() override;
  void abortDocument() override;
  PageInfo pageInfo() const override;
  Canvas& canvas() override;
  std::string outputFile() const override;
  std::string printerName() const override { return setup_.printerName; }
  int pagesPrinted() const { return pages_; }

 private:
  QPagedPaintDevice* device() const;
  PrintSetup setup_;
  std::unique_ptr<QPdfWriter> pdf_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QtCanvas> canvas_;
  bool pageOpen_ = false, firstPage_ = true;
  int pages_ = 0;
};

// The spooler-style codes the print target returns.
constexpr int kPrintOk = kSpoolOk;
constexpr int kPrintError = kSpoolError;
constexpr int kPrintOutOfDisk = kSpoolOutOfDisk;

}  // namespace platform::qt
