#include "common/jobdata/ui/JobDataDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>

#include "common/jobdata/CMyPropertySheet.h"

namespace jobdata::ui {

namespace {
QString labelOf(const records::JobField& f) {
  if (f.group && std::string(f.label) == "Remarks") return QString("Remarks %1:").arg(f.group);
  return QString::fromLatin1(f.label);
}
}  // namespace

std::optional<records::JobRecord> runJobDataDialog(QWidget* parent, const records::JobRecord& job) {
  CMyPropertySheet sheet(job);
  QDialog dlg(parent);
  dlg.setWindowTitle(CMyPropertySheet::kTitle);
  auto* tabs = new QTabWidget(&dlg);
  std::map<const records::JobField*, QLineEdit*> edits;
  for (const auto& page : CMyPropertySheet::pages()) {
    auto* inner = new QWidget;
    auto* form = new QFormLayout(inner);
    for (const records::JobField* f : page.fields) {
      auto* e = new QLineEdit(QString::fromLatin1(sheet.value(*f).c_str()), inner);
      if (f->kind == records::JobField::Text) {
        e->setMaxLength(static_cast<int>(CMyPropertySheet::maxLength(*f)));
      } else if (f->kind == records::JobField::Int) {
        e->setValidator(new QIntValidator(e));
      } else {
        auto* v = new QDoubleValidator(e);
        v->setLocale(QLocale::c());
        e->setValidator(v);
      }
      form->addRow(labelOf(*f), e);
      edits[f] = e;
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    tabs->addTab(scroll, page.title);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  dlg.resize(520, 560);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  for (auto& [f, e] : edits) sheet.setValue(*f, e->text().toLatin1().toStdString());
  return sheet.result();
}

}  // namespace jobdata::ui
