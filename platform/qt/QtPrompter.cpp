#include "platform/qt/QtPrompter.h"

#include "platform/qt/TextBytes.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace platform::qt {

namespace {
QString fromBytes(const std::string& s) { return textFromBytes(s); }

QMessageBox::StandardButtons buttonsOf(Buttons b) {
  switch (b) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::CancelTryContinue: return QMessageBox::NoButton;  // own buttons, see ask
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(Icon i) {
  switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

Answer answerOf(int button) {
  switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Cancel;
  }
}

std::optional<std::string> pathOrNone(const QString& s) {
  if (s.isEmpty()) return std::nullopt;
  return s.toStdString();
}
}  // namespace

QString qtFilter(const std::string& windowsFilter) {
  QStringList parts = QString::fromStdString(windowsFilter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString name = parts[i];
    QString patterns = parts[i + 1].replace(';', ' ');
    out << (name.contains('(') ? name : name + " (" + patterns + ")");
  }
  return out.join(";;");
}

Answer QtPrompter::ask(const Message& message) {
  QMessageBox box(iconOf(message.icon), fromBytes(message.title), fromBytes(message.text), buttonsOf(message.buttons),
                  parent_);
  if (message.buttons == Buttons::CancelTryContinue) {
    QPushButton* cancel = box.addButton(QMessageBox::tr("Cancel"), QMessageBox::RejectRole);
    QPushButton* again = box.addButton(QMessageBox::tr("Try Again"), QMessageBox::ActionRole);
    QPushButton* go = box.addButton(QMessageBox::tr("Continue"), QMessageBox::AcceptRole);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == again) return Answer::TryAgain;
    if (box.clickedButton() == go) return Answer::Continue;
    return Answer::Cancel;
  }
  return answerOf(box.exec());
}

std::optional<std::string> QtPrompter::openFile(const FileRequest& r) {
  QString start = QDir(QString::fromStdString(r.initialDir)).filePath(QString::fromStdString(r.defaultName));
  return pathOrNone(QFileDialog::getOpenFileName(parent_, QString::fromStdString(r.title), start, qtFilter(r.filter)));
}

std::optional<std::string> QtPrompter::saveFile(const FileRequest& r) {
  QString start = QDir(QString::fromStdString(r.initialDir)).filePath(QString::fromStdString(r.defaultName));
  QFileDialog dlg(parent_, QString::fromStdString(r.title), start, qtFilter(r.filter));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  if (!r.defaultExtension.empty()) dlg.setDefaultSuffix(QString::fromStdString(r.defaultExtension));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().front().toStdString();
}

std::optional<std::string> QtPrompter::chooseFolder(const std::string& title, const std::string& initialDir) {
  return pathOrNone(
      QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title), QString::fromStdString(initialDir)));
}

std::optional<Colour> QtPrompter::chooseColour(Colour initial) {
  QColor c = QColorDialog::getColor(QColor(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF), parent_);
  if (!c.isValid()) return std::nullopt;
  return static_cast<Colour>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

std::optional<std::string> QtPrompter::inputText(const TextRequest& r) {
  bool ok = false;
  QString s = QInputDialog::getText(parent_, QString::fromStdString(r.title), QString::fromStdString(r.label),
                                    QLineEdit::Normal, QString::fromStdString(r.initial), &ok);
  if (!ok) return std::nullopt;
  if (r.maxLength > 0 && s.size() > r.maxLength) s.truncate(r.maxLength);
  return s.toStdString();
}

}  // namespace platform::qt
