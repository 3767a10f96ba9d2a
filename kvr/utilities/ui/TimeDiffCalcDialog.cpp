#include "kvr/utilities/ui/TimeDiffCalcDialog.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace kvr::utilities::ui {

void runTimeDiffCalcDialog(QWidget* parent, CTimeDiffCalc& calc) {
  QDialog dlg(parent);
  dlg.setWindowTitle("Time Differnce Calculator");
  auto* grid = new QGridLayout(&dlg);
  auto* startDate = new QDateEdit(QDate(calc.startDate.year, calc.startDate.month, calc.startDate.day));
  auto* startTime = new QTimeEdit(QTime(calc.startTime.hour, calc.startTime.minute, calc.startTime.second));
  auto* endDate = new QDateEdit(QDate(calc.endDate.year, calc.endDate.month, calc.endDate.day));
  auto* endTime = new QTimeEdit(QTime(calc.endTime.hour, calc.endTime.minute, calc.endTime.second));
  for (auto* d : {startDate, endDate}) d->setCalendarPopup(true);
  for (auto* t : {startTime, endTime}) t->setDisplayFormat("HH:mm:ss");
  auto* difference = new QLineEdit(QString::number(calc.difference(), 'f', 4));
  auto* cal = new QPushButton("<- Cal");
  grid->addWidget(new QLabel("Starting:"), 0, 0);
  grid->addWidget(startDate, 0, 1);
  grid->addWidget(startTime, 0, 2);
  grid->addWidget(new QLabel("Ending:"), 1, 0);
  grid->addWidget(endDate, 1, 1);
  grid->addWidget(endTime, 1, 2);
  grid->addWidget(new QLabel("Difference:"), 2, 0);
  grid->addWidget(difference, 2, 1);
  grid->addWidget(new QLabel("hrs"), 2, 2);
  grid->addWidget(cal, 2, 3);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  grid->addWidget(buttons, 3, 0, 1, 4);
  QObject::connect(cal, &QPushButton::clicked, &dlg, [&] {
    const QDate sd = startDate->date(), ed = endDate->date();
    const QTime st = startTime->time(), et = endTime->time();
    calc.startDate = {sd.year(), sd.month(), sd.day()};
    calc.startTime = {st.hour(), st.minute(), st.second()};
    calc.endDate = {ed.year(), ed.month(), ed.day()};
    calc.endTime = {et.hour(), et.minute(), et.second()};
    calc.calculate();
    difference->setText(QString::number(calc.difference(), 'f', 4));
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, [&] {
    calc.ok();
    dlg.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  dlg.exec();
}

}  // namespace kvr::utilities::ui
