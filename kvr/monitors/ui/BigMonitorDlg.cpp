#include "kvr/monitors/ui/BigMonitorDlg.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace kvr::ui {

CBigMonitorDlg::CBigMonitorDlg(int id, const QString& title, std::function<void(int)> closed)
    : QWidget(nullptr, Qt::Window), id_(id), text_(new StaticExWidget(true, this)), closed_(std::move(closed)) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
}

void CBigMonitorDlg::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) closed_(id_);
}

}  // namespace kvr::ui
