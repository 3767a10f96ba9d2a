#include "kvr/utilities/ui/KvrToAsciiDialog.h"

#include <QApplication>

#include <algorithm>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "kvr/utilities/CTimeDiffCalc.h"
#include "kvr/utilities/ui/FilterOptionsDialog.h"
#include "kvr/utilities/ui/TimeDiffCalcDialog.h"

namespace kvr::utilities::ui {

namespace {

class KvrToAsciiDialog : public QDialog {
 public:
  KvrToAsciiDialog(QWidget* parent, CKvrToAscii& logic, platform::Prompter& prompter, const platform::Clock& clock);

 private:
  QDoubleSpinBox* number();
  void toFields();
  void fromFields();
  void onConvert();

  CKvrToAscii& logic_;
  platform::Prompter& prompter_;
  const platform::Clock& clock_;
  QLineEdit* input_ = new QLineEdit;
  QLineEdit* output_ = new QLineEdit;
  QListWidget* channels_ = new QListWidget;
  QLabel* stepLabel_ = new QLabel;
  QComboBox* step_ = new QComboBox;
  QLabel* startLabel_ = new QLabel;
  QLabel* finalLabel_ = new QLabel;
  QLabel* offsetLabel_ = new QLabel;
  QLabel* units_[3] = {new QLabel, new QLabel, new QLabel};
  QDoubleSpinBox* start_;
  QDoubleSpinBox* final_;
  QDoubleSpinBox* offset_;
  QComboBox* digits_ = new QComboBox;
  QRadioButton* tab_ = new QRadioButton("Tab");
  QRadioButton* spaces_ = new QRadioButton("Spaces:");
  QSpinBox* spaceCount_ = new QSpinBox;
  QCheckBox* wrapped_ = new QCheckBox("Wrapped rows");
  QCheckBox* header_ = new QCheckBox("Header Info");
  QCheckBox* curves_ = new QCheckBox("Write channel name into file");
  QCheckBox* mergeCcl_ = new QCheckBox("Merge CCL");
  QCheckBox* strict_ = new QCheckBox("Strict LAS 2.0");
  QProgressBar* progress_ = new QProgressBar;
};

QDoubleSpinBox* KvrToAsciiDialog::number() {
  auto* s = new QDoubleSpinBox;
  s->setRange(-1e9, 1e9);
  s->setDecimals(4);
  return s;
}

KvrToAsciiDialog::KvrToAsciiDialog(QWidget* parent, CKvrToAscii& logic, platform::Prompter& prompter,
                                   const platform::Clock& clock)
    : QDialog(parent), logic_(logic), prompter_(prompter), clock_(clock) {
  setWindowTitle("KVR to ASCII Converter");
  start_ = number();
  final_ = number();
  offset_ = number();
  input_->setReadOnly(true);
  channels_->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const char* d : {"0.0", "0.00", "0.000", "0.0000"}) digits_->addItem(d);
  spaceCount_->setRange(1, 10);
  strict_->setToolTip("CWLS LAS 2.0 to the letter: spaces, NULL -999.25, every section");

  auto* browse = new QPushButton("&Browse");
  auto* deselect = new QPushButton("&Deselect All");
  auto* filter = new QPushButton("Filter");
  auto* calculate = new QPushButton("Calculate");
  auto* convert = new QPushButton("&Convert");
  auto* view = new QPushButton("View...");
  auto* close = new QPushButton("Close");

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Input File:"), 0, 0);
  grid->addWidget(input_, 0, 1, 1, 3);
  grid->addWidget(browse, 0, 4);
  grid->addWidget(new QLabel("Output File:"), 1, 0);
  grid->addWidget(output_, 1, 1, 1, 4);
  grid->addWidget(new QLabel("Data Channels"), 2, 0);
  grid->addWidget(channels_, 3, 0, 8, 2);
  grid->addWidget(deselect, 11, 0);
  grid->addWidget(stepLabel_, 3, 2);
  grid->addWidget(step_, 3, 3);
  QLabel* labels[] = {startLabel_, finalLabel_, offsetLabel_};
  QDoubleSpinBox* values[] = {start_, final_, offset_};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(labels[i], 4 + i, 2);
    grid->addWidget(values[i], 4 + i, 3);
    grid->addWidget(units_[i], 4 + i, 4);
  }
  grid->addWidget(calculate, 6, 5);
  grid->addWidget(digits_, 7, 3);
  auto* sep = new QHBoxLayout;
  sep->addWidget(tab_);
  sep->addWidget(spaces_);
  sep->addWidget(spaceCount_);
  grid->addLayout(sep, 8, 2, 1, 3);
  grid->addWidget(wrapped_, 9, 2);
  grid->addWidget(header_, 9, 3);
  grid->addWidget(curves_, 10, 2);
  grid->addWidget(mergeCcl_, 10, 3);
  grid->addWidget(strict_, 11, 2);
  grid->addWidget(filter, 11, 3);
  grid->addWidget(progress_, 12, 0, 1, 6);
  auto* buttons = new QHBoxLayout;
  for (auto* b : {convert, view, close}) buttons->addWidget(b);
  grid->addLayout(buttons, 13, 0, 1, 6);

  connect(browse, &QPushButton::clicked, this, [this] {
    toFields();
    logic_.browse();
    fromFields();
  });
  connect(deselect, &QPushButton::clicked, this, [this] {
    logic_.deselectAll();
    channels_->clearSelection();
  });
  connect(filter, &QPushButton::clicked, this, [this] {
    toFields();
    runFilterOptionsDialog(this, logic_.fields().filter, logic_.selectedChannelNames(),
                           !logic_.hasInput() || logic_.source().english());
  });
  connect(calculate, &QPushButton::clicked, this, [this] {
    toFields();
    CTimeDiffCalc calc(prompter_, clock_);
    calc.setScale(logic_.timeFactor());
    calc.setTarget(logic_.offsetTarget());
    runTimeDiffCalcDialog(this, calc);
    fromFields();
  });
  connect(convert, &QPushButton::clicked, this, [this] { onConvert(); });
  connect(view, &QPushButton::clicked, this, [this] {
    toFields();
    logic_.view();
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(strict_, &QCheckBox::toggled, this, [this](bool on) {
    for (QWidget* w : {static_cast<QWidget*>(tab_), static_cast<QWidget*>(header_), static_cast<QWidget*>(curves_)})
      w->setEnabled(!on);
    if (on) spaces_->setChecked(true);
  });
  fromFields();
}

void KvrToAsciiDialog::toFields() {
  auto& f = logic_.fields();
  f.outputFile = output_->text().toStdString();
  f.stepIndex = step_->currentIndex();
  f.start = static_cast<float>(start_->value());
  f.final = static_cast<float>(final_->value());
  f.offset = static_cast<float>(offset_->value());
  f.digits = digits_->currentIndex() + 1;
  f.tab = tab_->isChecked();
  f.spaces = spaceCount_->value();
  f.wrapped = wrapped_->isChecked();
  f.header = header_->isChecked();
  f.curveNames = curves_->isChecked();
  f.mergeCcl = mergeCcl_->isChecked();
  f.strictLas2 = strict_->isChecked();
  for (int i = 0; i < channels_->count() && static_cast<std::size_t>(i) < f.selected.size(); ++i)
    f.selected[static_cast<std::size_t>(i)] = channels_->item(i)->isSelected();
}

void KvrToAsciiDialog::fromFields() {
  const auto& f = logic_.fields();
  input_->setText(QString::fromStdString(f.inputFile));
  output_->setText(QString::fromStdString(f.outputFile));
  channels_->clear();
  const auto names = logic_.channelNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(names[i]), channels_);
    item->setSelected(i < f.selected.size() && f.selected[i]);
  }
  step_->clear();
  for (const auto& s : logic_.steps()) step_->addItem(s.text);
  step_->setCurrentIndex(f.stepIndex);
  const auto l = logic_.labels();
  stepLabel_->setText(QString::fromStdString(l.step));
  startLabel_->setText(QString::fromStdString(l.start));
  finalLabel_->setText(QString::fromStdString(l.final));
  offsetLabel_->setText(QString::fromStdString(l.offset));
  for (auto* u : units_) u->setText(QString::fromStdString(l.unit));
  start_->setValue(f.start);
  final_->setValue(f.final);
  offset_->setValue(f.offset);
  digits_->setCurrentIndex(std::clamp(f.digits, 1, 4) - 1);
  (f.tab ? tab_ : spaces_)->setChecked(true);
  spaceCount_->setValue(f.spaces);
  wrapped_->setChecked(f.wrapped);
  header_->setChecked(f.header);
  curves_->setChecked(f.curveNames);
  mergeCcl_->setChecked(f.mergeCcl);
  strict_->setChecked(f.strictLas2);
}

void KvrToAsciiDialog::onConvert() {
  toFields();
  progress_->setValue(0);
  // The bar moves one step per data line; the screen is refreshed a few hundred times at most.
  std::int64_t shownAt = 0;
  logic_.setProgress([&](std::int64_t lines) {
    const std::int64_t total = std::max<std::int64_t>(logic_.plannedLines(), 1);
    if (lines - shownAt < total / 200 + 1 && lines != total) return;
    shownAt = lines;
    progress_->setMaximum(static_cast<int>(std::min<std::int64_t>(total, 1 << 30)));
    progress_->setValue(static_cast<int>(std::min<std::int64_t>(lines, 1 << 30)));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  logic_.convert();
  logic_.setProgress({});
  fromFields();
}

}  // namespace

void runKvrToAsciiDialog(QWidget* parent, CKvrToAscii& logic, platform::Prompter& prompter,
                         const platform::Clock& clock) {
  KvrToAsciiDialog dlg(parent, logic, prompter, clock);
  dlg.exec();
}

}  // namespace kvr::utilities::ui
