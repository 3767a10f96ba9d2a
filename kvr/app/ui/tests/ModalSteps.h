#pragma once
// Answers the program's modal dialogs in a test as a user would: each new modal window gets
// the next step, which must close it. The titles of the windows met are kept in order.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <functional>

namespace kvr::ui::testing {

class ModalSteps {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalSteps() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }
  ModalSteps& then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
  }
  bool done() const { return steps_.empty(); }
  const QStringList& titles() const { return titles_; }
  void clearTitles() { titles_.clear(); }
  // Modal windows no step was waiting for: closed at once so that the test goes on, and named here.
  const QStringList& unexpected() const { return unexpected_; }

  // Common answers.
  static Step accept() {
    return [](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        QAbstractButton* b = box->button(QMessageBox::Yes);
        if (!b) b = box->button(QMessageBox::Ok);
        if (b) b->click();
        else box->accept();
        return;
      }
      if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
    };
  }
  static Step reject() {
    return [](QWidget* w) {
      if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    };
  }
  static Step file(const QString& path) {
    return [path](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      if (!d) return reject()(w);
      // Typed into the file name box, as a user would.
      if (auto* edit = d->findChild<QLineEdit*>("fileNameEdit")) edit->setText(path);
      else d->selectFile(path);
      QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);  // as the Open or Save button does
    };
  }
  // The edit a form row labelled `label` holds.
  static QLineEdit* field(QWidget* dialog, const QString& label) {
    for (auto* l : dialog->findChildren<QLabel*>())
      if (l->text() == label) return qobject_cast<QLineEdit*>(l->buddy());
    return nullptr;
  }
  static QPushButton* button(QWidget* dialog, const QString& text) {
    for (auto* b : dialog->findChildren<QPushButton*>())
      if (b->text() == text) return b;
    return nullptr;
  }

 private:
  void poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || (w == handled_ && w->isVisible())) return;
    handled_ = w;
    if (steps_.empty()) {
      unexpected_ << w->windowTitle() + ": " + (qobject_cast<QMessageBox*>(w) ? qobject_cast<QMessageBox*>(w)->text() : "");
      QTimer::singleShot(0, w, [w] { w->close(); });
      return;
    }
    titles_ << w->windowTitle();
    // Run after this poll returns, so that a window the step opens is answered too.
    QTimer::singleShot(0, w, [w, step = std::move(steps_.front())] { step(w); });
    steps_.pop_front();
  }

  QTimer timer_;
  std::deque<Step> steps_;
  QPointer<QWidget> handled_;
  QStringList titles_;
  QStringList unexpected_;
};

}  // namespace kvr::ui::testing
