#include "kvr/calibration/ui/CalibrationDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace kvr::ui {

CalibrationDialog::CalibrationDialog(const std::function<CCaliManager&(CalibrationView&)>& open, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), output_(new QTextEdit(this)) {
  manager_ = &open(*this);
  auto* previous = new QPushButton("<<", this);
  auto* next = new QPushButton(">>", this);
  connect(previous, &QPushButton::clicked, this, [this] {
    manager_->previous();
    showTool();
  });
  connect(next, &QPushButton::clicked, this, [this] {
    manager_->next();
    showTool();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { manager_->start(static_cast<std::size_t>(list_->row(item))); });
  output_->setReadOnly(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  progress_ = new QWidget(this, Qt::Tool);
  progressText_ = new QLabel(progress_);
  progressBar_ = new QProgressBar(progress_);
  progressBar_->setRange(0, 100);
  auto* pl = new QVBoxLayout(progress_);
  pl->addWidget(progressText_);
  pl->addWidget(progressBar_);

  auto* row = new QHBoxLayout;
  row->addWidget(previous);
  row->addWidget(next);
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(new QLabel("Available Calibrations", this));
  layout->addWidget(list_);
  layout->addWidget(output_, 1);
  layout->addWidget(buttons);
  resize(560, 480);
  showTool();
}

void CalibrationDialog::showTool() {
  setWindowTitle(QString::fromStdString(manager_->title()));
  list_->clear();
  for (const auto& name : manager_->calibrationNames()) list_->addItem(QString::fromStdString(name));
}

void CalibrationDialog::appendOutput(const std::string& text) {
  // The texts are plain: shown as such in the rich-text window, line ends kept.
  QString html = QString::fromStdString(text).toHtmlEscaped().replace('\n', "<br>");
  output_->moveCursor(QTextCursor::End);
  output_->insertHtml(html);
  output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void CalibrationDialog::showProgress(const std::string& text) {
  progressText_->setText(QString::fromStdString(text));
  progress_->show();
}

void CalibrationDialog::setProgress(int position) { progressBar_->setValue(position); }

void CalibrationDialog::hideProgress() { progress_->hide(); }

void CalibrationDialog::done(int result) {
  manager_->close();  // the timers stop and the step goes back to 0
  QDialog::done(result);
}

}  // namespace kvr::ui
