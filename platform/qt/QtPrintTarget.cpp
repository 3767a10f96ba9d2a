#include "platform/qt/QtPrintTarget.h"

#include <QFileInfo>

#include <algorithm>

namespace platform::qt {

QMarginsF pdfMargins(const PrintSetup& setup) {
  if (setup.continuous) return {};
  const QSizeF mm = setup.pageSize.size(QPageSize::Millimeter);
  const double across = setup.landscape ? mm.height() : mm.width();
  const double side = std::clamp((across - setup.contentWidthMm) / 2, 0.0, setup.marginMm);
  return {side, setup.marginMm, side, setup.marginMm};
}

QtPrintTarget::QtPrintTarget(PrintSetup setup) : setup_(std::move(setup)) {}

QtPrintTarget::~QtPrintTarget() {
  if (painter_ && painter_->isActive()) painter_->end();
}

QPagedPaintDevice* QtPrintTarget::device() const {
  if (printer_) return printer_.get();
  return pdf_.get();
}

int QtPrintTarget::startDocument(const std::string& name) {
  QPageLayout::Orientation o = setup_.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
  if (setup_.printerName.empty()) {
    pdf_ = std::make_unique<QPdfWriter>(QString::fromStdString(setup_.pdfPath));
    pdf_->setResolution(setup_.resolution);
    pdf_->setTitle(QString::fromStdString(name));
    pdf_->setCreator("Varexa");
    pdf_->setPageLayout(QPageLayout(setup_.pageSize, o, pdfMargins(setup_), QPageLayout::Millimeter));
  } else {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPrinterName(QString::fromStdString(setup_.printerName));
    if (!printer_->isValid()) return kPrintError;
    printer_->setDocName(QString::fromStdString(name));
    printer_->setPageSize(setup_.pageSize);
    printer_->setPageOrientation(o);
    // Fan-fold paper is printed edge to edge so that page breaks fall on the perforations;
    // sheets keep the printer's margins and the origin at the printable area.
    printer_->setFullPage(setup_.continuous);
  }
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(device())) {
    painter_.reset();
    return setup_.printerName.empty() ? kPrintOutOfDisk : kPrintError;
  }
  firstPage_ = true;
  pages_ = 0;
  return kPrintOk;
}

int QtPrintTarget::startPage() {
  if (!painter_ || pageOpen_) return kPrintError;
  // Qt opens the first page with the document; later pages need newPage().
  if (!firstPage_ && !device()->newPage()) return kPrintError;
  firstPage_ = false;
  PageInfo info = pageInfo();
  painter_->resetTransform();
  painter_->setClipping(false);
  canvas_ = std::make_unique<QtCanvas>(*painter_, info.printableDevice);
  canvas_->fillRect(info.printableDevice, 0xFFFFFF);
  pageOpen_ = true;
  return kPrintOk;
}

int QtPrintTarget::endPage() {
  if (!pageOpen_) return kPrintError;
  pageOpen_ = false;
  ++pages_;
  return kPrintOk;
}

int QtPrintTarget::endDocument() {
  if (!painter_) return kPrintError;
  canvas_.reset();
  bool ok = painter_->end();
  painter_.reset();
  if (!ok) return kPrintError;
  if (!setup_.printerName.empty()) return kPrintOk;
  QFileInfo f(QString::fromStdString(setup_.pdfPath));
  return f.exists() && f.size() > 0 ? kPrintOk : kPrintOutOfDisk;
}

void QtPrintTarget::abortDocument() {
  if (printer_) printer_->abort();
  canvas_.reset();
  if (painter_ && painter_->isActive()) painter_->end();
  painter_.reset();
  pageOpen_ = false;
}

PageInfo QtPrintTarget::pageInfo() const {
  PageInfo info;
  info.continuous = setup_.continuous;
  QPagedPaintDevice* d = device();
  if (!d) {
    QSizeF mm = setup_.pageSize.size(QPageSize::Millimeter);
    info.dpiX = info.dpiY = setup_.resolution;
    info.pageDevice = {static_cast<int>(mm.width() / 25.4 * setup_.resolution),
                       static_cast<int>(mm.height() / 25.4 * setup_.resolution)};
    info.printableDevice = {0, 0, info.pageDevice.width, info.pageDevice.height};
    return info;
  }
  info.dpiX = d->logicalDpiX();
  info.dpiY = d->logicalDpiY();
  info.pageDevice = {d->width(), d->height()};
  info.printableDevice = {0, 0, d->width(), d->height()};
  return info;
}

Canvas& QtPrintTarget::canvas() { return *canvas_; }

std::string QtPrintTarget::outputFile() const {
  if (!setup_.printerName.empty()) return {};
  return QFileInfo(QString::fromStdString(setup_.pdfPath)).absoluteFilePath().toStdString();
}

}  // namespace platform::qt
