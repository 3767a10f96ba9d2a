#include "kvr/app/ui/KvrMainWindow.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kvr::ui {

KvrMainWindow::KvrMainWindow(MainMenu& menu, QWidget* parent) : QMainWindow(parent), menu_(menu) {
  setWindowTitle("Varexa");
  for (const auto& top : mainMenuTree()) {
    QMenu* m = menuBar()->addMenu(top.text);
    std::map<std::string, QMenu*> subs;
    for (const auto& e : top.entries) {
      QMenu* target = m;
      if (e.submenu) {
        auto& sub = subs[e.submenu];
        if (!sub) sub = m->addMenu(e.submenu);
        target = sub;
      }
      if (e.separatorBefore) target->addSeparator();
      QAction* a = target->addAction(e.text);
      MenuCommand c = e.command;
      connect(a, &QAction::triggered, this, [this, c] {
        auto it = handlers_.find(c);
        if (it != handlers_.end() && it->second) it->second();
        refreshMenu();
      });
      actions_[c] = a;
    }
  }
  windowMenu_ = menuBar()->addMenu("&Window");
  setLogWindows({}, {}, {});
  QMenu* help = menuBar()->addMenu("&Help");
  connect(help->addAction("&About KVR..."), &QAction::triggered, this, [this] {
    if (about_) about_();
  });

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  auto* jobBox = new QGroupBox("Job", central);
  auto* jobForm = new QFormLayout(jobBox);
  const char* jobNames[8] = {"Client / Well", "Tool String", "Panel", "Telemetry", "Log", "Recording", "Rows", "Depth"};
  for (int i = 0; i < 8; ++i) {
    jobLabels_[i] = new QLabel("-", jobBox);
    jobLabels_[i]->setWordWrap(true);
    jobLabels_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    jobForm->addRow(QString(jobNames[i]) + ":", jobLabels_[i]);
  }
  layout->addWidget(jobBox);
  auto* box = new QGroupBox("Telemetry Status", central);
  auto* form = new QFormLayout(box);
  const char* names[5] = {"Telemetry Frames", "Frame Errors", "CRC Errors", "Read Cycles", "Frame Rate"};
  for (int i = 0; i < 5; ++i) {
    counters_[i] = new QLabel("0", box);
    form->addRow(QString(names[i]) + ":", counters_[i]);
  }
  telemetry_ = new QLabel(box);
  form->addRow("Telemetry:", telemetry_);
  layout->addWidget(box);
  layout->addStretch();
  setCentralWidget(central);
  setTelemetryOn(false);
  refreshMenu();
  // Wide enough for the whole menu bar, tall enough for the job and the counters.
  resize(std::max(kWidth, menuBar()->sizeHint().width()), kHeight);
}

void KvrMainWindow::refreshMenu() {
  for (auto& [c, a] : actions_) a->setEnabled(menu_.enabled(c));
}

void KvrMainWindow::setCounters(const QString& frames, const QString& frameErrors, const QString& crcErrors,
                                const QString& readCycles, const QString& frameRate) {
  const QString* v[5] = {&frames, &frameErrors, &crcErrors, &readCycles, &frameRate};
  for (int i = 0; i < 5; ++i) counters_[i]->setText(*v[i]);
}

void KvrMainWindow::setTelemetryOn(bool on) {
  telemetry_->setText(on ? "ON" : "OFF");
  telemetry_->setStyleSheet(on ? "color: #0a0; font-weight: bold" : "color: #a00; font-weight: bold");
}

void KvrMainWindow::setStatusText(const QString& text) { statusBar()->showMessage(text); }

QString KvrMainWindow::statusText() const { return statusBar()->currentMessage(); }

void KvrMainWindow::setJob(const JobView& job) {
  job_ = job;
  const QString* v[8] = {&job.clientAndWell, &job.toolString, &job.link, &job.telemetry,
                         &job.log,           &job.file,       &job.rows, &job.depth};
  for (int i = 0; i < 8; ++i) jobLabels_[i]->setText(v[i]->isEmpty() ? "-" : *v[i]);
}

void KvrMainWindow::setLogWindows(const QStringList& titles, std::function<void(int)> show, Handler tile) {
  windowMenu_->clear();
  QAction* tileAction = windowMenu_->addAction("&Tile Log Windows");
  tileAction->setEnabled(!titles.isEmpty() && tile);
  connect(tileAction, &QAction::triggered, this, [tile] {
    if (tile) tile();
  });
  if (!titles.isEmpty()) windowMenu_->addSeparator();
  for (int i = 0; i < titles.size(); ++i) {
    QAction* a = windowMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(titles[i]));
    connect(a, &QAction::triggered, this, [show, i] {
      if (show) show(i);
    });
  }
}

void KvrMainWindow::closeEvent(QCloseEvent* event) {
  if (close_ && !close_()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace kvr::ui
