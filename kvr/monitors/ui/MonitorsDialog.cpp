#include "kvr/monitors/ui/MonitorsDialog.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "kvr/presentation/ui/ChannelsDialog.h"

namespace kvr::ui {

namespace {
constexpr int kColumns = 4;
}

MonitorsDialog::MonitorsDialog(monitors::CMonitorManager& manager, QWidget* parent)
    : QDialog(parent), manager_(manager) {
  setWindowTitle("Monitors");
  auto* bar = new QMenuBar(this);
  fileMenu_ = bar->addMenu("&File");
  fileMenu_->addAction("&Load Monitor", this, [this] {
    if (manager_.load()) refresh();
  });
  fileMenu_->addAction("&Save Monitor", this, [this] { manager_.save(); });

  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    auto& b = boxes_[i];
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    b.frame = frame;
    b.caption = new QLabel(frame);
    b.caption->setAlignment(Qt::AlignCenter);
    b.value = new StaticExWidget(false, frame);
    b.value->setMinimumSize(140, 36);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(3, 3, 3, 3);
    column->addWidget(b.caption);
    column->addWidget(b.value);
    for (QWidget* w : {static_cast<QWidget*>(frame), static_cast<QWidget*>(b.caption), static_cast<QWidget*>(b.value)}) {
      w->setProperty("monitorBox", static_cast<int>(i));
      w->installEventFilter(this);
    }
    grid->addWidget(frame, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(bar);
  layout->addLayout(grid);
  refresh();
}

MonitorsDialog::~MonitorsDialog() {
  for (auto& [id, w] : big_) delete w;
}

bool MonitorsDialog::eventFilter(QObject* watched, QEvent* event) {
  const QVariant index = watched->property("monitorBox");
  if (index.isValid()) {
    const auto i = static_cast<std::size_t>(index.toInt());
    if (event->type() == QEvent::MouseButtonDblClick) {
      chooseChannel(i);
      return true;
    }
    if (event->type() == QEvent::ContextMenu) {
      openBoxMenu(i, static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MonitorsDialog::chooseChannel(std::size_t i) {
  auto& channels = manager_.channels();
  if (auto chosen = ui::chooseChannel(this, channels)) {
    manager_.bind(i, *chosen);
    manager_.update();
    refresh();
  }
}

void MonitorsDialog::openBoxMenu(std::size_t i, const QPoint& at) {
  QMenu menu(this);
  menu.addAction("Close Monitor", this, [this, i] {
    manager_.close(i);
    refresh();
  });
  menu.addAction("Magnify Monitor", this, [this, i] { magnify(i); });
  menu.exec(at);
}

void MonitorsDialog::magnify(std::size_t i) {
  const auto id = manager_.magnify(i);
  if (!id) return;
  auto* w = new CBigMonitorDlg(*id, QString::fromStdString(manager_.caption(i)), [this](int closed) {
    closeMagnified(closed);
  });
  // Sized and placed as the box is on the screen.
  const QWidget* frame = boxes_[i].frame;
  w->setGeometry(QRect(frame->mapToGlobal(QPoint(0, 0)), frame->size()));
  big_[*id] = w;
  refresh();
  w->show();
}

void MonitorsDialog::closeMagnified(int id) {
  manager_.closeMagnified(id);
  auto it = big_.find(id);
  if (it == big_.end()) return;
  it->second->deleteLater();  // it is still in its close event
  big_.erase(it);
}

void MonitorsDialog::refresh() {
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i].caption->setText(QString::fromStdString(manager_.caption(i)));
    boxes_[i].value->setText(manager_.box(i).active ? manager_.value(i) : std::string());
  }
  for (auto& [id, w] : big_) {
    if (const auto* m = manager_.findMagnified(id)) w->text().setText(m->box.active ? m->value : std::string());
  }
}

}  // namespace kvr::ui
