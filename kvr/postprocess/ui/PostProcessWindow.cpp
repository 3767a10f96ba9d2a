#include "kvr/postprocess/ui/PostProcessWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvr::postprocess::ui {

PostProcessWindow::PostProcessWindow(PostProcessManager& manager, std::string sessionFolder, QWidget* parent)
    : QDialog(parent), manager_(manager), sessionFolder_(std::move(sessionFolder)) {
  setWindowTitle("Post Processing Manager");
  addFiles_ = new QPushButton("Add Files", this);
  process_ = new QPushButton("Process", this);
  axis_ = new QCheckBox("Enable Axis Correction", this);
  acel_ = new QCheckBox("Enable Acelerometer Correction", this);
  axis_->setChecked(manager_.options.axisCorrection);
  acel_->setChecked(manager_.options.acelCorrection);
  grid_ = new QTableWidget(0, static_cast<int>(kGridColumns.size()), this);
  QStringList headers;
  for (const char* c : kGridColumns) headers << QString::fromLatin1(c);
  grid_->setHorizontalHeaderLabels(headers);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(addFiles_);
  buttons->addWidget(process_);
  buttons->addStretch();
  buttons->addWidget(axis_);
  buttons->addWidget(acel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(grid_);
  resize(1100, 320);

  connect(addFiles_, &QPushButton::clicked, this, [this] { addFiles(); });
  connect(process_, &QPushButton::clicked, this, [this] { process(); });
  refresh();
}

void PostProcessWindow::addFiles() {
  manager_.addFiles(sessionFolder_);
  refresh();
}

void PostProcessWindow::process() {
  manager_.options.axisCorrection = axis_->isChecked();
  manager_.options.acelCorrection = acel_->isChecked();
  // A long session takes a few seconds: say so while it runs.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  manager_.process();
  QApplication::restoreOverrideCursor();
}

void PostProcessWindow::refresh() {
  const auto& rows = manager_.rows();
  grid_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      grid_->setItem(static_cast<int>(r), static_cast<int>(c),
                     new QTableWidgetItem(QString::fromStdString(rows[r][c])));
  // Nothing to process until a session with a station is loaded.
  process_->setEnabled(manager_.loaded() && !manager_.segments().stations.empty());
}

void QtDebugTrace::trace(std::string_view text) {
  qDebug().noquote() << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
}

}  // namespace kvr::postprocess::ui
