#include "kvr/utilities/ui/CrossPlotDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cfloat>

#include "kvr/utilities/CCrossPlotSetupDLG.h"
#include "kvr/utilities/CDirSurveyReportOptions.h"
#include "kvr/utilities/ui/CrossPlotView.h"

namespace kvr::utilities::ui {

namespace {
QDoubleSpinBox* numberBox(QWidget* parent, double value, double low = -1e9, double high = 1e9) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(low, high);
  box->setDecimals(2);
  box->setValue(value);
  return box;
}
}  // namespace

void runCrossPlotDialog(QWidget* parent, platform::Prompter& prompter) {
  CCrossPlotViewWnd plotWnd;
  CCrossPlot plot(prompter, plotWnd);
  QDialog dlg(parent);
  dlg.setWindowTitle("Cross Plot Generator");
  auto* view = new CrossPlotView(plotWnd, &dlg);

  auto* kinds = new QButtonGroup(&dlg);
  auto* kindColumn = new QVBoxLayout;
  const std::pair<const char*, PlotKind> kindButtons[] = {{"ND-ED Plot", PlotKind::NdEd},
                                                          {"ND-TVD Plot", PlotKind::NdTvd},
                                                          {"ED-TVD Plot", PlotKind::EdTvd},
                                                          {"Closure -TVD Plot", PlotKind::ClosureTvd}};
  for (auto [text, kind] : kindButtons) {
    auto* b = new QRadioButton(text, &dlg);
    b->setChecked(kind == PlotKind::NdEd);
    kinds->addButton(b, static_cast<int>(kind));
    kindColumn->addWidget(b);
  }
  QObject::connect(kinds, &QButtonGroup::idClicked, &dlg, [&](int id) { plot.setPlotKind(static_cast<PlotKind>(id)); });

  auto* load = new QPushButton("&Load Data", &dlg);
  auto* now = new QPushButton("&Plot Now !", &dlg);
  auto* setup = new QPushButton("&Grapth Setup", &dlg);
  auto* save = new QPushButton("&Save File", &dlg);
  auto* close = new QPushButton("Close", &dlg);
  QObject::connect(load, &QPushButton::clicked, &dlg, [&] { plot.loadData(); });
  QObject::connect(now, &QPushButton::clicked, &dlg, [&] {
    plot.plotNow();
    view->update();
  });
  QObject::connect(setup, &QPushButton::clicked, &dlg, [&] { runCrossPlotSetupDialog(&dlg, prompter, plot); });
  QObject::connect(save, &QPushButton::clicked, &dlg, [&] { plot.saveFile(); });
  QObject::connect(close, &QPushButton::clicked, &dlg, &QDialog::accept);

  auto* side = new QVBoxLayout;
  side->addWidget(load);
  side->addLayout(kindColumn);
  side->addWidget(now);
  side->addWidget(setup);
  side->addWidget(save);
  side->addStretch();
  side->addWidget(close);
  auto* layout = new QHBoxLayout(&dlg);
  layout->addWidget(view, 1);
  layout->addLayout(side);
  dlg.resize(1000, 620);
  dlg.exec();
}

bool runCrossPlotSetupDialog(QWidget* parent, platform::Prompter& prompter, CCrossPlot& plot) {
  CCrossPlotSetupDLG logic(prompter, plot.settings(), plot.automaticSettings());
  QDialog dlg(parent);
  dlg.setWindowTitle("Cross Plot Graphics Setup");
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Starting", &dlg), 0, 1);
  grid->addWidget(new QLabel("Final", &dlg), 0, 2);
  struct Row {
    const char* label;
    AxisRange PlotSettings::*range;
    QDoubleSpinBox* start = nullptr;
    QDoubleSpinBox* final = nullptr;
  };
  Row rows[] = {{"East Departure / Closure:", &PlotSettings::east},
                {"North Departure:", &PlotSettings::north},
                {"Depth:", &PlotSettings::depth}};
  int r = 1;
  for (auto& row : rows) {
    row.start = numberBox(&dlg, (logic.values.*row.range).start);
    row.final = numberBox(&dlg, (logic.values.*row.range).final);
    grid->addWidget(new QLabel(row.label, &dlg), r, 0);
    grid->addWidget(row.start, r, 1);
    grid->addWidget(row.final, r, 2);
    ++r;
  }
  auto show = [&] {
    for (auto& row : rows) {
      row.start->setValue((logic.values.*row.range).start);
      row.final->setValue((logic.values.*row.range).final);
    }
  };
  auto* autoRange = new QPushButton("Auto Range", &dlg);
  QObject::connect(autoRange, &QPushButton::clicked, &dlg, [&] {
    logic.autoRange();
    show();
  });
  auto* form = new QFormLayout;
  auto* hGrid = numberBox(&dlg, logic.values.horizontalGrid, 0);
  auto* vGrid = numberBox(&dlg, logic.values.verticalGrid, 0);
  auto* invert = new QCheckBox("Invert Vertical Scale", &dlg);
  invert->setChecked(logic.values.invertVertical);
  form->addRow("Horizontal Grid:", hGrid);
  form->addRow("Vertical Grid:", vGrid);
  form->addRow(invert);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, [&] {
    for (auto& row : rows) logic.values.*row.range = AxisRange{row.start->value(), row.final->value()};
    logic.values.horizontalGrid = hGrid->value();
    logic.values.verticalGrid = vGrid->value();
    logic.values.invertVertical = invert->isChecked();
    if (logic.ok()) {
      dlg.accept();
    } else {
      show();  // the ranges went back; the dialog stays open
    }
  });
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(grid);
  layout->addWidget(autoRange);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (dlg.exec() != QDialog::Accepted) return false;
  plot.setSettings(logic.values);
  return true;
}

bool runDirSurveyReportOptionsDialog(QWidget* parent, platform::Settings& settings, platform::Prompter& prompter) {
  CDirSurveyReportOptions logic(settings);
  QDialog dlg(parent);
  dlg.setWindowTitle("Report Generation Options ");
  auto* autoDepth = new QCheckBox("Automatic Station Depth", &dlg);
  autoDepth->setChecked(logic.autoDepth != 0);
  auto* start = numberBox(&dlg, logic.depthStart);
  auto* inc = numberBox(&dlg, logic.depthIncrement);
  auto* form = new QFormLayout;
  form->addRow(autoDepth);
  form->addRow("Starting Depth:", start);
  form->addRow("Depth Increment:", inc);
  form->addRow("", new QLabel("(Negative for up directions)", &dlg));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  buttons->button(QDialogButtonBox::Ok)->setText("Ok");
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, [&] {
    logic.autoDepth = autoDepth->isChecked() ? 1 : 0;
    logic.depthStart = start->value();
    logic.depthIncrement = inc->value();
    if (logic.ok(prompter)) dlg.accept();
  });
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(buttons);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kvr::utilities::ui
