#include "kvr/tarnc/ui/ReportViewer.h"

#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <fstream>
#include <iterator>

#include "kvr/tarnc/RollTestTexts.h"

namespace kvr::tarnc::ui {

ReportViewer::ReportViewer(const std::filesystem::path& report, QWidget* parent) : QDialog(parent) {
  setWindowTitle(text::kReportViewerTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  text_ = new QTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QTextEdit::NoWrap);
  QFont fixed("Monospace");
  fixed.setStyleHint(QFont::TypeWriter);
  text_->setFont(fixed);
  std::ifstream in(report, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // The report holds CR LF and the replacement character's UTF-8 bytes.
  text_->setPlainText(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).remove('\r'));
  layout->addWidget(text_);
  auto* ok = new QPushButton("OK", this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok);
  resize(820, 600);
}

QString ReportViewer::text() const { return text_->toPlainText(); }

}  // namespace kvr::tarnc::ui
