#include "kvr/presentation/ui/PresentationsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kvr/presentation/ui/TrackEditorDialog.h"

namespace kvr::ui {

namespace {
constexpr const char* kScaleChoices[10] = {"1/40 English",  "1/40 Metric",  "1/100 English", "1/100 Metric",
                                           "1/200 English", "1/200 Metric", "1/500 English", "1/500 Metric",
                                           "1/1000 English", "1/1000 Metric"};
}  // namespace

PresentationsDialog::PresentationsDialog(presentation::CPresManager& manager, platform::Prompter& prompter,
                                         CurveEditorDialog::Channels channels, QWidget* parent)
    : QDialog(parent), manager_(manager), prompter_(prompter), channels_(std::move(channels)) {
  setWindowTitle("Log Page Presentations");
  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    auto& r = rows_[i];
    const int row = static_cast<int>(i);
    r.select = new QCheckBox(this);
    r.name = new QLineEdit(this);
    r.name->setMaxLength(static_cast<int>(presentation::kFormatNameMax));
    r.scale = new QComboBox(this);
    for (const char* s : kScaleChoices) r.scale->addItem(s);
    r.grid = new QPushButton("Grid", this);
    r.curves = new QPushButton("Curves", this);
    r.grid->setAutoDefault(false);
    r.curves->setAutoDefault(false);
    grid->addWidget(r.select, row, 0);
    grid->addWidget(r.name, row, 1);
    grid->addWidget(r.scale, row, 2);
    grid->addWidget(r.grid, row, 3);
    grid->addWidget(r.curves, row, 4);
    connect(r.select, &QCheckBox::toggled, this, [this, i](bool on) { manager_.select(i, on); });
    connect(r.grid, &QPushButton::clicked, this, [this, i] { editTracks(i); });
    connect(r.curves, &QPushButton::clicked, this, [this, i] { editCurves(i); });
  }

  auto* buttons = new QHBoxLayout;
  auto add = [&](const char* text, auto&& onClick) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, onClick);
  };
  add("&Open", [this] {
    if (manager_.open() == 0) refresh();
  });
  add("&Append", [this] {
    copySlots();
    if (manager_.append() == 0) refresh();
  });
  add("&Save", [this] {
    copySlots();
    manager_.save();
  });
  add("&Deselect All", [this] {
    manager_.deselectAll();
    refresh();
  });
  add("&Erase", [this] {
    copySlots();
    if (manager_.erase()) refresh();
  });
  add("&Preview", [this] {
    copySlots();
    preview_.show(manager_.formats());
  });
  add("Exit", [this] { tryExit(); });

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addLayout(buttons);
  refresh();
}

PresentationsDialog::~PresentationsDialog() = default;

// The buttons of an empty slot do nothing.
void PresentationsDialog::editTracks(std::size_t slot) {
  if (slot >= manager_.formats().size()) return;
  copySlots();
  TrackEditorDialog(manager_.formats()[slot], this).exec();
}

void PresentationsDialog::editCurves(std::size_t slot) {
  if (slot >= manager_.formats().size()) return;
  copySlots();
  CurveEditorDialog(manager_.formats()[slot], prompter_, channels_, this).exec();
}

void PresentationsDialog::refresh() {
  const auto& formats = manager_.formats();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    auto& r = rows_[i];
    const QSignalBlocker block(r.select);
    const bool used = i < formats.size();
    r.select->setChecked(used && manager_.selected(i));
    r.name->setText(used ? QString::fromStdString(formats[i].name) : QString());
    r.scale->setCurrentIndex(used ? presentation::CPresManager::scaleChoice(formats[i]) : -1);
    r.select->setEnabled(used);
    r.name->setEnabled(used);
    r.scale->setEnabled(used);
  }
}

void PresentationsDialog::copySlots() {
  for (std::size_t i = 0; i < manager_.formats().size(); ++i)
    manager_.setSlot(i, rows_[i].name->text().toStdString(), rows_[i].scale->currentIndex());
}

bool PresentationsDialog::tryExit() {
  copySlots();
  if (!manager_.exit()) return false;
  QDialog::accept();
  return true;
}

void PresentationsDialog::reject() { tryExit(); }

}  // namespace kvr::ui
