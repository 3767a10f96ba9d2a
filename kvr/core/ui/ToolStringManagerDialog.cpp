#include "kvr/core/ui/ToolStringManagerDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "kvr/core/ui/SingleValueInputDialog.h"
#include "kvr/core/ui/ToolSketchWidget.h"

namespace kvr::ui {

ToolStringManagerDialog::ToolStringManagerDialog(ToolStringEditor& editor, platform::Prompter& prompter,
                                                 std::int32_t modeWord, QWidget* parent)
    : QDialog(parent), editor_(editor), prompter_(prompter), modeWord_(modeWord) {
  setWindowTitle("ToolString Manager");
  available_ = new QListWidget(this);
  accessories_ = new QListWidget(this);
  string_ = new QListWidget(this);
  sketch_ = new ToolSketchWidget(this);
  scroll_ = new QScrollBar(Qt::Vertical, this);
  scroll_->setRange(0, CTSViewer::kScrollRange);

  auto* toLeft = new QPushButton("<<", this);
  auto* toRight = new QPushButton(">>", this);
  auto* up = new QPushButton("&Up", this);
  auto* down = new QPushButton("&Down", this);
  auto* onTop = new QPushButton("Add on TOP", this);
  auto* add = new QPushButton("Add", this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* moves = new QVBoxLayout;
  for (auto* b : {toLeft, toRight, up, down}) moves->addWidget(b);
  moves->addStretch();
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Defined ToolString", this), 0, 0);
  grid->addWidget(new QLabel("Available Tools", this), 0, 2);
  grid->addWidget(string_, 1, 0, 3, 1);
  grid->addLayout(moves, 1, 1);
  grid->addWidget(available_, 1, 2);
  grid->addWidget(new QLabel("Acsesories", this), 2, 2);
  auto* accessoryBox = new QVBoxLayout;
  accessoryBox->addWidget(accessories_);
  auto* accessoryButtons = new QHBoxLayout;
  accessoryButtons->addWidget(onTop);
  accessoryButtons->addWidget(add);
  accessoryBox->addLayout(accessoryButtons);
  grid->addLayout(accessoryBox, 3, 2);
  auto* sketchBox = new QHBoxLayout;
  sketchBox->addWidget(sketch_, 1);
  sketchBox->addWidget(scroll_);
  grid->addLayout(sketchBox, 0, 3, 4, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addWidget(buttons);

  connect(toLeft, &QPushButton::clicked, this, [this] { addTool(); });
  connect(available_, &QListWidget::itemDoubleClicked, this, [this] { addTool(); });
  connect(toRight, &QPushButton::clicked, this, [this] { removeItem(); });
  connect(up, &QPushButton::clicked, this, [this] { moveUp(); });
  connect(down, &QPushButton::clicked, this, [this] { moveDown(); });
  connect(onTop, &QPushButton::clicked, this, [this] { addOnTop(); });
  connect(add, &QPushButton::clicked, this, [this] { addAccessory(); });
  connect(accessories_, &QListWidget::itemDoubleClicked, this, [this] { addAccessory(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &ToolStringManagerDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) { onScroll(action); });
  connect(sketch_, &ToolSketchWidget::scrolled, this, [this] { showScrollPosition(); });

  string_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(string_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(this);
    menu.addAction("&Remove Tool", this, [this] { removeItem(); });
    menu.addAction("&Serial Number", this, [this] { serialNumber(); });
    menu.exec(string_->viewport()->mapToGlobal(at));
  });

  editor_.open();
  refresh(std::nullopt);
}

std::optional<std::size_t> ToolStringManagerDialog::current(QListWidget* list) const {
  const int row = list->currentRow();
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

void ToolStringManagerDialog::refresh(std::optional<std::size_t> select) {
  auto fill = [](QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    for (const auto& n : names) list->addItem(QString::fromStdString(n));
  };
  fill(available_, editor_.availableTools());
  fill(accessories_, editor_.accessories());
  string_->clear();
  for (const auto& item : editor_.items()) string_->addItem(QString::fromStdString(item.text));
  if (select) string_->setCurrentRow(static_cast<int>(*select));
  sketch_->setTools(editor_.draft());
}

void ToolStringManagerDialog::addTool() {
  if (auto i = current(available_)) refresh(editor_.addTool(*i));
}
void ToolStringManagerDialog::removeItem() {
  if (auto i = current(string_)) refresh(editor_.removeItem(*i));
}
void ToolStringManagerDialog::moveUp() {
  if (auto i = current(string_)) {
    auto moved = editor_.moveUp(*i);
    refresh(moved ? moved : i);
  }
}
void ToolStringManagerDialog::moveDown() {
  if (auto i = current(string_)) {
    auto moved = editor_.moveDown(*i);
    refresh(moved ? moved : i);
  }
}
void ToolStringManagerDialog::addOnTop() {
  if (auto i = current(accessories_)) refresh(editor_.addAccessoryOnTop(*i));
}
void ToolStringManagerDialog::addAccessory() {
  if (auto i = current(accessories_)) refresh(editor_.addAccessory(*i));
}

void ToolStringManagerDialog::serialNumber() {
  const auto i = current(string_);
  if (!i) return;
  CSingleValueInput input = editor_.serialNumberInput(*i);
  SingleValueInputDialog dialog(input, prompter_, this);
  if (dialog.exec() == QDialog::Accepted) {
    editor_.setSerialNumber(*i, static_cast<std::uint32_t>(input.value()));
    refresh(i);
  }
}

void ToolStringManagerDialog::onScroll(int action) {
  CTSViewer& v = sketch_->viewer();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: v.lineUp(); break;
    case QAbstractSlider::SliderSingleStepAdd: v.lineDown(); break;
    case QAbstractSlider::SliderPageStepSub: v.pageUp(); break;
    case QAbstractSlider::SliderPageStepAdd: v.pageDown(); break;
    case QAbstractSlider::SliderMove: v.thumbTrack(scroll_->sliderPosition()); break;
    case QAbstractSlider::SliderToMinimum: v.top(); break;
    default: return;  // other requests are ignored
  }
  showScrollPosition();
  sketch_->update();
}

void ToolStringManagerDialog::showScrollPosition() {
  QSignalBlocker block(scroll_);
  scroll_->setSliderPosition(sketch_->viewer().scrollBarPosition());
}

void ToolStringManagerDialog::accept() {
  editor_.confirm(modeWord_);
  QDialog::accept();
}

}  // namespace kvr::ui
