#include "kvr/tarnc/ui/LowLevelCmdWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "kvr/tarnc/LowLevelTexts.h"

namespace kvr::tarnc::ui {

LowLevelCmdWindow::LowLevelCmdWindow(CTARNC_LowLevelCmdDlg& terminal, QWidget* parent)
    : QDialog(parent), terminal_(terminal) {
  setWindowTitle(text::kTitle);
  setModal(false);
  auto* grid = new QGridLayout(this);
  commands_ = new QComboBox(this);
  for (int i = 0; i < CTARNC_LowLevelCmdDlg::kCommands; ++i) commands_->addItem(text::kCommandNames[i], 1000 + i);
  help_ = new QLabel(this);
  help_->setWordWrap(true);
  help_->setMinimumHeight(110);
  status_ = new QLabel(this);
  status_->setFrameShape(QFrame::Panel);
  status_->setFrameShadow(QFrame::Sunken);
  values_ = new QPlainTextEdit(this);
  send_ = new QPushButton("Send to Tool", this);
  auto* cancel = new QPushButton("Cancelar", this);
  grid->addWidget(commands_, 0, 0, 1, 2);
  grid->addWidget(help_, 1, 0, 1, 2);
  grid->addWidget(values_, 2, 0, 1, 2);
  grid->addWidget(new QLabel("Current Status", this), 3, 0);
  grid->addWidget(status_, 3, 1);
  grid->addWidget(send_, 4, 0);
  grid->addWidget(cancel, 4, 1);

  connect(commands_, &QComboBox::currentIndexChanged, this, [this](int i) { terminal_.choose(i); });
  connect(send_, &QPushButton::clicked, this, [this] {
    // The edit control's lines end in CR LF, as the terminal reads them.
    terminal_.setValues(values_->toPlainText().replace('\n', "\r\n").toStdString());
    terminal_.sendToTool();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  terminal_.setChanged([this] { refresh(); });
  terminal_.choose(0);
}

LowLevelCmdWindow::~LowLevelCmdWindow() { terminal_.setChanged(nullptr); }

void LowLevelCmdWindow::refresh() {
  help_->setText(QString::fromStdString(terminal_.help()));
  status_->setText(QString::fromStdString(terminal_.status()));
  QString values = QString::fromStdString(terminal_.values());
  values.replace("\r\n", "\n");
  if (values != values_->toPlainText()) values_->setPlainText(values);
}

}  // namespace kvr::tarnc::ui
