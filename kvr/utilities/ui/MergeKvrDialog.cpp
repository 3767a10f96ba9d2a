#include "kvr/utilities/ui/MergeKvrDialog.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "kvr/utilities/MergeLists.h"

namespace kvr::utilities::ui {

void runMergeKvrDialog(QWidget* parent, CMergeKvr& logic) {
  QDialog dlg(parent);
  dlg.setWindowTitle("Merge and Splice");
  auto* grid = new QGridLayout;
  QLineEdit* files[2];
  QDoubleSpinBox* from[2];
  QDoubleSpinBox* to[2];
  auto box = [&] {
    auto* b = new QDoubleSpinBox(&dlg);
    b->setRange(-1e9, 1e9);
    b->setDecimals(2);
    return b;
  };
  double shownFrom[2] = {}, shownTo[2] = {};
  auto show = [&] {
    for (int i = 0; i < 2; ++i) {
      files[i]->setText(QString::fromStdString(logic.file(i).string()));
      from[i]->setValue(logic.ranges[i].from);
      to[i]->setValue(logic.ranges[i].to);
      shownFrom[i] = from[i]->value();
      shownTo[i] = to[i]->value();
    }
  };
  auto* suffix = new QLineEdit(&dlg);
  suffix->setMaxLength(static_cast<int>(kMaxSuffixLength));
  for (int i = 0; i < 2; ++i) {
    files[i] = new QLineEdit(&dlg);
    files[i]->setReadOnly(true);
    from[i] = box();
    to[i] = box();
    auto* browse = new QPushButton("&Browse", &dlg);
    QObject::connect(browse, &QPushButton::clicked, &dlg, [&, i] {
      logic.browse(i);
      show();
    });
    grid->addWidget(new QLabel(i == 0 ? "File 1:" : "File 2:", &dlg), i, 0);
    grid->addWidget(files[i], i, 1, 1, 3);
    grid->addWidget(browse, i, 4);
    grid->addWidget(new QLabel(i == 0 ? "File 1 from depth:" : "File 2 from depth:", &dlg), 2 + i, 0);
    grid->addWidget(from[i], 2 + i, 1);
    grid->addWidget(new QLabel("to", &dlg), 2 + i, 2);
    grid->addWidget(to[i], 2 + i, 3);
  }
  auto* mergeButton = new QRadioButton("Merge Files", &dlg);
  auto* spliceButton = new QRadioButton("Splice Files", &dlg);
  mergeButton->setChecked(logic.action == MergeAction::Merge);
  spliceButton->setChecked(logic.action == MergeAction::Splice);
  auto* proceed = new QPushButton("&Procced", &dlg);
  auto* exit = new QPushButton("&Exit", &dlg);
  QObject::connect(proceed, &QPushButton::clicked, &dlg, [&] {
    logic.action = spliceButton->isChecked() ? MergeAction::Splice : MergeAction::Merge;
    logic.suffix = suffix->text().toStdString();
    for (int i = 0; i < 2; ++i)
      logic.ranges[i] = DepthRange{depthFromBox(logic.ranges[i].from, shownFrom[i], from[i]->value()),
                                   depthFromBox(logic.ranges[i].to, shownTo[i], to[i]->value())};
    if (logic.proceed()) suffix->clear();
    show();
  });
  QObject::connect(exit, &QPushButton::clicked, &dlg, &QDialog::accept);

  auto* actions = new QHBoxLayout;
  actions->addWidget(mergeButton);
  actions->addWidget(spliceButton);
  auto* suffixRow = new QHBoxLayout;
  suffixRow->addWidget(new QLabel("Identical Channel Name Suffix Renaming:", &dlg));
  suffixRow->addWidget(suffix);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(proceed);
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(grid);
  layout->addLayout(actions);
  layout->addLayout(suffixRow);
  layout->addLayout(buttons);
  show();
  dlg.exec();
  logic.clear();
}

}  // namespace kvr::utilities::ui
