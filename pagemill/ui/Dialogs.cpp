#include "pagemill/ui/Dialogs.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include "pagemill/core/LogViewer.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintManager.h"
#include "pagemill/core/PrintPlaces.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrintTarget.h"

namespace pagemill::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A button that shows and chooses a colour.
class ColourButton final : public QPushButton {
 public:
  ColourButton(platform::Rgb& colour, QWidget* parent) : QPushButton(parent), colour_(colour) {
    paint();
    connect(this, &QPushButton::clicked, this, [this] {
      const QColor c = QColorDialog::getColor(platform::qt::toQColor(colour_), this);
      if (!c.isValid()) return;
      setColour(platform::rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                              static_cast<unsigned>(c.blue())));
      onChanged();
    });
  }
  // Shows another colour (the swatch follows the value).
  void setColour(platform::Rgb colour) {
    colour_ = colour;
    paint();
  }

  // Called after the user chose a colour.
  std::function<void()> onChanged = [] {};

 private:
  void paint() {
    setText(platform::qt::toQColor(colour_).name());
    setStyleSheet(QString("background-color: %1").arg(platform::qt::toQColor(colour_).name()));
  }
  platform::Rgb& colour_;
};

// The "Printing Status" window. It opens when the job starts, after the print dialog was
// confirmed, so that it never stands over that dialog.
class StatusWindow final : public PrintStatus {
 public:
  explicit StatusWindow(QWidget* parent) : parent_(parent) {}
  void open(int entries) override {
    dialog_ = std::make_unique<QProgressDialog>("Printing:", "Cancel", 0, entries, parent_);
    dialog_->setWindowTitle("Printing Status");
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    dialog_->show();
    QApplication::processEvents();
  }
  void show(const std::string& text) override {
    if (!dialog_) return;
    dialog_->setLabelText("Printing:\n" + qs(text));
    QApplication::processEvents();
  }
  void step() override {
    if (!dialog_) return;
    dialog_->setValue(dialog_->value() + 1);
    QApplication::processEvents();
  }
  void close() override { dialog_.reset(); }
  bool cancelled() override {
    if (!dialog_) return false;
    QApplication::processEvents();
    return dialog_->wasCanceled();
  }

 private:
  QWidget* parent_;
  std::unique_ptr<QProgressDialog> dialog_;
};

// The template drawn as the preview window shows it: 815 pixels across, and as tall as the
// template reaches (at least the window's 600), in a scroll area.
class PreviewPane final : public QWidget {
 public:
  PreviewPane(CHeaderWnd& templates, int kind, QWidget* parent) : QWidget(parent), templates_(templates), kind_(kind) {
    setFixedSize(kPreviewWidth, kPreviewHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    platform::qt::QtCanvas c(p, {0, 0, width(), height()});
    c.fillRect({0, 0, width(), height()}, 0xFFFFFF);
    const platform::Mapping m = previewMapping(templates_.english(), {kPreviewWidth, kPreviewHeight});
    c.setMapping(m);
    templates_.setOrigin(0);
    templates_.setSeparatorText(kPreviewSeparatorText);
    if (drawnOnce_ && !ok_) return;
    ok_ = templates_.run(kind_, c, false);
    drawnOnce_ = true;
    // The bottom of the last main region, in pixels below the top.
    const double bottom = -static_cast<double>(templates_.origin()) * m.viewportExtent.height / -m.windowExtent.height;
    const int needed = std::clamp(static_cast<int>(std::ceil(bottom)) + 1, kPreviewHeight, kPreviewMaxHeight);
    if (ok_ && needed > height()) setFixedHeight(needed);
  }

 private:
  static constexpr int kPreviewMaxHeight = 20000;
  CHeaderWnd& templates_;
  int kind_;
  bool drawnOnce_ = false, ok_ = true;
};

}  // namespace

std::unique_ptr<platform::PrintTarget> runPrintDialog(QWidget* parent, const std::string& suggestedPdf, bool english) {
  QDialog d(parent);
  d.setWindowTitle("Print");
  auto* form = new QFormLayout;
  auto* toPdf = new QRadioButton("PDF file");
  auto* pdfPath = new QLineEdit(qs(suggestedPdf));
  auto* browse = new QPushButton("...");
  auto* pdfRow = new QHBoxLayout;
  pdfRow->addWidget(toPdf);
  pdfRow->addWidget(pdfPath, 1);
  pdfRow->addWidget(browse);
  auto* toPrinter = new QRadioButton("Printer");
  auto* printers = new QComboBox;
  printers->addItems(QPrinterInfo::availablePrinterNames());
  toPrinter->setEnabled(printers->count() > 0);
  auto* printerRow = new QHBoxLayout;
  printerRow->addWidget(toPrinter);
  printerRow->addWidget(printers, 1);
  toPdf->setChecked(true);
  auto* size = new QComboBox;
  size->addItems({"Letter", "A4", "Legal", "Fanfold 8.5 x 11 in"});
  auto* continuous = new QCheckBox("Continuous (fan-fold) paper");
  QObject::connect(size, &QComboBox::currentIndexChanged, &d, [=](int i) { continuous->setChecked(i == 3); });
  QObject::connect(browse, &QPushButton::clicked, &d, [&d, pdfPath] {
    const QString f = QFileDialog::getSaveFileName(&d, "PDF file", pdfPath->text(), "PDF (*.pdf)", nullptr,
                                                   QFileDialog::DontConfirmOverwrite);
    if (!f.isEmpty()) pdfPath->setText(f);
  });
  form->addRow(pdfRow);
  form->addRow(printerRow);
  form->addRow("Paper:", size);
  form->addRow(continuous);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  // A PDF needs a folder to go to, and an existing file is replaced only when the user says so.
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, [&d, toPdf, pdfPath] {
    if (toPdf->isChecked()) {
      const QFileInfo f(pdfPath->text());
      if (pdfPath->text().trimmed().isEmpty() || !f.absoluteDir().exists()) {
        QMessageBox::warning(&d, "Print", "Choose a PDF file in an existing folder.");
        return;
      }
      if (f.exists() &&
          QMessageBox::question(&d, "Print", f.absoluteFilePath() + " already exists.\nDo you want to replace it?") !=
              QMessageBox::Yes)
        return;
    }
    d.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  auto* v = new QVBoxLayout(&d);
  v->addLayout(form);
  v->addWidget(buttons);
  if (d.exec() != QDialog::Accepted) return nullptr;
  platform::qt::PrintSetup setup;
  setup.pdfPath = QFileInfo(pdfPath->text()).absoluteFilePath().toStdString();
  setup.contentWidthMm = logWidthMm(english);
  if (toPrinter->isChecked()) setup.printerName = printers->currentText().toStdString();
  static const QPageSize kSizes[4] = {QPageSize(QPageSize::Letter), QPageSize(QPageSize::A4),
                                      QPageSize(QPageSize::Legal),
                                      QPageSize(QSizeF(8.5, 11.0), QPageSize::Inch, "Fanfold 8.5 x 11 in")};
  setup.pageSize = kSizes[std::clamp(size->currentIndex(), 0, 3)];
  setup.continuous = continuous->isChecked();
  return std::make_unique<platform::qt::QtPrintTarget>(setup);
}

void runPrintManager(QWidget* parent, platform::Settings& settings, platform::Prompter& prompter, CHeaderWnd& templates,
                     bool english, const std::filesystem::path& dataRoot) {
  CPrintManager manager(settings, prompter, templates, dataRoot);
  QDialog d(parent);
  d.setWindowTitle("Print Manager");
  auto* bar = new QMenuBar(&d);
  auto* fileMenu = bar->addMenu("&File");
  auto* list = new QListWidget;
  list->setMinimumSize(480, 260);
  auto refill = [&](int select) {
    list->clear();
    for (const auto& e : manager.entries()) list->addItem(qs(e));
    if (select >= 0 && select < list->count()) list->setCurrentRow(select);
  };
  auto added = [&](std::optional<std::size_t> i) {
    if (i) refill(static_cast<int>(*i));
  };
  fileMenu->addAction("&Save This List", &d, [&] { manager.saveList(); });
  fileMenu->addAction("&Open a List File", &d, [&] {
    if (manager.openList()) refill(0);
  });

  auto* buttons = new QVBoxLayout;
  auto button = [&](const char* text, std::function<void()> f) {
    auto* b = new QPushButton(text);
    QObject::connect(b, &QPushButton::clicked, &d, f);
    buttons->addWidget(b);
  };
  button("Add &Header", [&] { added(manager.addHeader()); });
  button("Add &Tail", [&] { added(manager.addTail()); });
  button("Add &Separator", [&] { added(manager.addSeparator()); });
  button("Add &File", [&] { added(manager.addFile()); });
  button("Add &BMP", [&] { added(manager.addPicture()); });
  button("Add &Text File", [&] { added(manager.addTextFile()); });
  button("Add &Remarks", [&] { added(manager.addRemarks()); });
  button("Move Up", [&] {
    if (list->currentRow() >= 0) refill(static_cast<int>(manager.moveUp(static_cast<std::size_t>(list->currentRow()))));
  });
  button("Move Down", [&] {
    if (list->currentRow() >= 0) refill(static_cast<int>(manager.moveDown(static_cast<std::size_t>(list->currentRow()))));
  });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &d, [&](QListWidgetItem* item) {
    manager.remove(static_cast<std::size_t>(list->row(item)));
    refill(-1);
  });

  auto* blank = new QComboBox;
  for (const auto& b : kBlankPages) blank->addItem(b.name);
  blank->setCurrentText(qs(manager.blankPage()));
  auto* offset = new QSpinBox;
  offset->setRange(-100000, 100000);
  offset->setValue(manager.offsetAdvance());
  auto* hp = new QCheckBox("HP Printer");
  auto* pdf = new QCheckBox("PDF Writer");
  hp->setChecked(manager.printMode() == kHpPrinter);
  pdf->setChecked(manager.printMode() == kPdfWriter);
  // At most one of the two; neither is mode 3.
  QObject::connect(hp, &QCheckBox::toggled, &d, [pdf](bool on) { if (on) pdf->setChecked(false); });
  QObject::connect(pdf, &QCheckBox::toggled, &d, [hp](bool on) { if (on) hp->setChecked(false); });
  auto* options = new QFormLayout;
  options->addRow("Blank Page:", blank);
  auto* offsetRow = new QHBoxLayout;
  offsetRow->addWidget(offset);
  offsetRow->addWidget(new QLabel("[1/100 mm]"));
  options->addRow("Advance Offset:", offsetRow);
  auto* modes = new QHBoxLayout;
  modes->addWidget(hp);
  modes->addWidget(pdf);
  options->addRow("Print mode:", modes);

  auto* printNow = new QPushButton("&Print Now");
  auto* close = new QPushButton("Close");
  QObject::connect(close, &QPushButton::clicked, &d, &QDialog::accept);
  QObject::connect(printNow, &QPushButton::clicked, &d, [&] {
    manager.setPrintMode(hp->isChecked() ? kHpPrinter : pdf->isChecked() ? kPdfWriter : kPlainPrinter);
    manager.setBlankPage(blank->currentText().toStdString());
    manager.setOffsetAdvance(offset->value());
    std::unique_ptr<platform::PrintTarget> target;
    StatusWindow status(&d);
    manager.printNow(
        english,
        [&]() -> platform::PrintTarget* {
          target = runPrintDialog(&d, defaultPdfPath(manager.entries(), dataRoot).string(), english);
          return target.get();
        },
        status);
  });
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(list, 1);
  top->addLayout(buttons);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(options, 1);
  bottom->addWidget(printNow);
  bottom->addWidget(close);
  auto* v = new QVBoxLayout(&d);
  v->setMenuBar(bar);
  v->addLayout(top);
  v->addLayout(bottom);
  d.exec();
}

void runPreview(QWidget* parent, CHeaderWnd& templates) {
  QDialog selector(parent);
  selector.setWindowTitle("Preview Selector");
  auto* v = new QVBoxLayout(&selector);
  int chosen = -1;
  const char* names[4] = {"Preview &Header", "Preview &Tail", "Preview &Separator", "Preview Remarks"};
  for (int k = 0; k < 4; ++k) {
    auto* b = new QPushButton(names[k]);
    QObject::connect(b, &QPushButton::clicked, &selector, [&, k] {
      chosen = k;
      selector.accept();
    });
    v->addWidget(b);
  }
  if (selector.exec() != QDialog::Accepted || chosen < 0) return;
  QDialog preview(parent);
  preview.setWindowTitle(kPreviewTitle);
  auto* layout = new QVBoxLayout(&preview);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroll = new QScrollArea(&preview);
  scroll->setWidget(new PreviewPane(templates, chosen, scroll));
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(scroll);
  preview.resize(kPreviewWidth + scroll->verticalScrollBar()->sizeHint().width() + 2 * scroll->frameWidth(),
                 kPreviewHeight + 2 * scroll->frameWidth());
  preview.exec();
}

bool runFontDialog(QWidget* parent, FontChoice& font) {
  FontChoice f = font;
  QDialog d(parent);
  d.setWindowTitle("Font");
  auto* face = new QComboBox;
  face->addItems({"Swiss", "Roman", "Modern", "Script"});
  face->setCurrentIndex(f.face);
  auto* weight = new QComboBox;
  weight->addItems({"Light", "Normal", "Bold"});
  weight->setCurrentIndex(f.weight >= 700 ? 2 : f.weight >= 400 ? 1 : 0);
  auto* size = new QSpinBox;
  size->setRange(10, 5000);
  size->setValue(f.size);
  auto* colour = new ColourButton(f.colour, &d);
  auto* sample = new QLabel("Sample Text");
  auto update = [&] {
    static const char* kFamilies[4] = {"Sans Serif", "Serif", "Monospace", "Cursive"};
    QFont q(kFamilies[face->currentIndex()]);
    q.setWeight(static_cast<QFont::Weight>(weight->currentIndex() == 2 ? 700 : weight->currentIndex() == 1 ? 400 : 300));
    q.setPixelSize(std::clamp(size->value() / 8, 6, 60));
    sample->setFont(q);
  };
  QObject::connect(face, &QComboBox::currentIndexChanged, &d, update);
  QObject::connect(weight, &QComboBox::currentIndexChanged, &d, update);
  QObject::connect(size, &QSpinBox::valueChanged, &d, update);
  update();
  auto* form = new QFormLayout(&d);
  form->addRow("Face:", face);
  form->addRow("Weight:", weight);
  form->addRow("Char Size:", size);
  form->addRow("Colour:", colour);
  form->addRow(sample);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  form->addRow(buttons);
  if (d.exec() != QDialog::Accepted) return false;
  f.face = static_cast<FontChoice::Face>(face->currentIndex());
  static const int kWeights[3] = {300, 400, 700};
  f.weight = kWeights[weight->currentIndex()];
  f.size = size->value();
  font = f;
  return true;
}

bool runPenBrushDialog(QWidget* parent, PenBrushChoice& pen) {
  PenBrushChoice p = pen;
  QDialog d(parent);
  d.setWindowTitle("Pen and Brush Options");
  auto* type = new QComboBox;
  type->addItems({"Solid", "Dash", "Dot", "DashDot", "DashDotDot"});
  type->setCurrentIndex(std::clamp(p.penStyle, 0, 4));
  auto* thick = new QComboBox;
  thick->addItems({"Thin", "Middle", "Heavy"});
  thick->setCurrentIndex(std::clamp(p.thickness, 1, 3) - 1);
  auto* pattern = new QComboBox;
  for (const char* n : kBrushPatternNames) pattern->addItem(n);
  for (int i = 0; i < 7; ++i)
    if (kBrushPatternValues[i] == p.brushPattern) pattern->setCurrentIndex(i);
  auto* noText = new QCheckBox("Don't use on Text");
  noText->setChecked(p.transparentText);
  auto* form = new QFormLayout(&d);
  form->addRow("Pen type:", type);
  form->addRow("Thickness:", thick);
  form->addRow("Pen colour:", new ColourButton(p.penColour, &d));
  form->addRow("Brush pattern:", pattern);
  form->addRow("Brush colour:", new ColourButton(p.brushColour, &d));
  form->addRow(noText);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  form->addRow(buttons);
  if (d.exec() != QDialog::Accepted) return false;
  p.penStyle = type->currentIndex();
  p.thickness = thick->currentIndex() + 1;
  p.brushPattern = kBrushPatternValues[std::clamp(pattern->currentIndex(), 0, 6)];
  p.transparentText = noText->isChecked();
  pen = p;
  return true;
}

bool runCurveEditor(QWidget* parent, CDataManager& log, platform::Prompter& prompter,
                    const std::function<void()>& redraw) {
  auto& format = log.storedFormat();
  if (format.tracks.empty()) return false;
  QDialog d(parent);
  d.setWindowTitle("Curve Editor");
  auto* track = new QComboBox;
  for (std::size_t i = 0; i < format.tracks.size(); ++i) track->addItem(QString("TRACK-%1").arg(i + 1));
  auto* curve = new QComboBox;
  auto* linear = new QRadioButton("Linear");
  auto* logarithmic = new QRadioButton("Logaritmic");
  auto* depth = new QRadioButton("Depth");
  auto* divisions = new QSpinBox;
  divisions->setRange(0, 100);
  auto* decades = new QSpinBox;
  decades->setRange(0, 100);
  auto* leftToRight = new QCheckBox("Log Scale Left to Right");
  auto* midThick = new QCheckBox("Middle line thick");
  auto* name = new QLineEdit;
  name->setMaxLength(9);
  auto* left = new QDoubleSpinBox;
  auto* right = new QDoubleSpinBox;
  for (auto* s : {left, right}) {
    s->setRange(-1e9, 1e9);
    s->setDecimals(3);
  }
  platform::Rgb colour = 0;
  auto* colourButton = new ColourButton(colour, &d);
  auto* lineType = new QComboBox;
  lineType->addItems({"Solid", "Dash", "Dot", "DashDot", "DashDotDot"});
  // "Thin", "Middle" and "Heavy" are 1 to 3 KVR pixels; a thicker curve shows its own
  // width as a fourth choice, so that it is kept as it is.
  auto* thickness = new QComboBox;
  const int k = log.logWidth();

  // Edits not applied yet; the fields' own signals set it, showing a curve clears it.
  // Apply works on the track and curve shown, whatever the lists were changed to since.
  bool edited = false, showing = false;
  int shownTrack = 0, shownCurve = -1;
  auto markEdited = [&] {
    if (!showing) edited = true;
  };
  colourButton->onChanged = markEdited;

  auto enableByType = [=] {
    divisions->setEnabled(linear->isChecked());
    midThick->setEnabled(linear->isChecked());
    decades->setEnabled(logarithmic->isChecked());
    leftToRight->setEnabled(logarithmic->isChecked());
  };
  auto showThickness = [&, k](int storedPixels) {
    // Shown as KVR pixels of the page-unit thickness, rounded up.
    const int px = std::max(thicknessPixels(thicknessUnits(storedPixels, k), k), 1);
    thickness->clear();
    const char* names[3] = {"Thin", "Middle", "Heavy"};
    for (int i = 0; i < 3; ++i) thickness->addItem(names[i], i + 1);
    if (px > 3) thickness->addItem(QString("%1 px").arg(px), px);
    thickness->setCurrentIndex(thickness->findData(px));
  };
  auto showCurve = [&] {
    const QSignalBlocker quiet(thickness);
    showing = true;
    shownTrack = std::max(track->currentIndex(), 0);
    shownCurve = curve->currentIndex();
    const auto& t = format.tracks[static_cast<std::size_t>(shownTrack)];
    const int ci = shownCurve;
    const bool has = ci >= 0 && ci < static_cast<int>(t.curves.size());
    for (QWidget* w : std::initializer_list<QWidget*>{name, left, right, colourButton, lineType, thickness})
      w->setEnabled(has);
    if (has) {
      const auto& c = t.curves[static_cast<std::size_t>(ci)];
      name->setText(qs(c.name));
      left->setValue(c.shownLeft());
      right->setValue(c.shownRight());
      colourButton->setColour(c.colour);
      lineType->setCurrentIndex(static_cast<int>(c.lineType));
      showThickness(c.thickness);
    }
    showing = false;
  };
  auto showTrack = [&] {
    showing = true;
    const auto& t = format.tracks[static_cast<std::size_t>(std::max(track->currentIndex(), 0))];
    linear->setChecked(t.mode == presentation::TrackMode::Linear);
    logarithmic->setChecked(t.mode == presentation::TrackMode::Logarithmic);
    depth->setChecked(t.mode == presentation::TrackMode::Depth);
    divisions->setValue(t.divisions);
    decades->setValue(t.decades);
    leftToRight->setChecked(t.leftToRight);
    midThick->setChecked(t.midThick);
    {
      const QSignalBlocker quiet(curve);
      curve->clear();
      for (const auto& c : t.curves) curve->addItem(qs(c.name));
      curve->setCurrentIndex(t.curves.empty() ? -1 : 0);
    }
    enableByType();
    showCurve();
    showing = false;
  };

  bool applied = false;
  auto apply = [&] {
    auto& t = format.tracks[static_cast<std::size_t>(shownTrack)];
    t.mode = linear->isChecked() ? presentation::TrackMode::Linear
             : logarithmic->isChecked() ? presentation::TrackMode::Logarithmic
                                        : presentation::TrackMode::Depth;
    t.divisions = divisions->value();
    t.decades = decades->value();
    t.leftToRight = leftToRight->isChecked();
    t.midThick = midThick->isChecked();
    presentation::sanitize(t);
    const int ci = shownCurve;
    if (ci >= 0 && ci < static_cast<int>(t.curves.size())) {
      auto& c = t.curves[static_cast<std::size_t>(ci)];
      c.name = name->text().toStdString().substr(0, 9);
      float l = static_cast<float>(left->value()), r = static_cast<float>(right->value());
      c.reverse = l > r;
      c.leftValue = std::min(l, r);
      c.rightValue = std::max(l, r);
      c.colour = colour;
      c.lineType = static_cast<presentation::LineType>(lineType->currentIndex());
      c.thickness = thickness->currentData().toInt();
      presentation::sanitize(c);
      if (track->currentIndex() == shownTrack) curve->setItemText(ci, qs(c.name));
    }
    if (t.mode == presentation::TrackMode::Logarithmic) presentation::computeLogTicks(t);
    log.rebuildPageFormat();
    applied = true;
    edited = false;
    redraw();
  };
  // Changing the track or the curve, or closing, with edits not applied asks first.
  auto keepEdits = [&]() -> bool {
    if (!edited) return true;
    const auto a = prompter.ask({"MESSAGE", "The changes to this curve have not been applied.\nApply them now ?",
                                 platform::Buttons::YesNoCancel, platform::Icon::Question});
    if (a == platform::Answer::Cancel) return false;
    if (a == platform::Answer::Yes) apply();
    edited = false;
    return true;
  };

  QObject::connect(track, &QComboBox::currentIndexChanged, &d, [&] {
    if (keepEdits()) return showTrack();
    const QSignalBlocker quiet(track);
    track->setCurrentIndex(shownTrack);
  });
  QObject::connect(curve, &QComboBox::currentIndexChanged, &d, [&] {
    if (keepEdits()) return showCurve();
    const QSignalBlocker quiet(curve);
    curve->setCurrentIndex(shownCurve);
  });
  for (auto* r : {linear, logarithmic, depth}) {
    QObject::connect(r, &QRadioButton::toggled, &d, enableByType);
    QObject::connect(r, &QRadioButton::toggled, &d, markEdited);
  }
  QObject::connect(divisions, &QSpinBox::valueChanged, &d, markEdited);
  QObject::connect(decades, &QSpinBox::valueChanged, &d, markEdited);
  QObject::connect(leftToRight, &QCheckBox::toggled, &d, markEdited);
  QObject::connect(midThick, &QCheckBox::toggled, &d, markEdited);
  QObject::connect(name, &QLineEdit::textEdited, &d, markEdited);
  QObject::connect(left, &QDoubleSpinBox::valueChanged, &d, markEdited);
  QObject::connect(right, &QDoubleSpinBox::valueChanged, &d, markEdited);
  QObject::connect(lineType, &QComboBox::currentIndexChanged, &d, markEdited);
  QObject::connect(thickness, &QComboBox::currentIndexChanged, &d, markEdited);

  auto* form = new QFormLayout;
  form->addRow("Track:", track);
  auto* types = new QHBoxLayout;
  types->addWidget(linear);
  types->addWidget(logarithmic);
  types->addWidget(depth);
  form->addRow("Type:", types);
  form->addRow("Divisions:", divisions);
  form->addRow("Decades:", decades);
  form->addRow(leftToRight);
  form->addRow(midThick);
  form->addRow("Curve:", curve);
  form->addRow("Curve Name:", name);
  form->addRow("Left Limit:", left);
  form->addRow("Right Limit:", right);
  form->addRow("Line colour:", colourButton);
  form->addRow("Line Type:", lineType);
  form->addRow("Thickness:", thickness);
  auto* applyButton = new QPushButton("Apply");
  auto* exit = new QPushButton("Exit");
  QObject::connect(applyButton, &QPushButton::clicked, &d, apply);
  QObject::connect(exit, &QPushButton::clicked, &d, [&] {
    if (keepEdits()) d.accept();
  });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(applyButton);
  row->addWidget(exit);
  auto* v = new QVBoxLayout(&d);
  v->addLayout(form);
  v->addLayout(row);
  showTrack();
  d.exec();
  return applied;
}

}  // namespace pagemill::ui
