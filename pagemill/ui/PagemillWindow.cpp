#include "pagemill/ui/PagemillWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <filesystem>

#include "common/datafile/PosixFiles.h"
#include "common/jobdata/ui/JobDataDialog.h"
#include "common/presentation/AnnotationRenderer.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintPlaces.h"
#include "pagemill/ui/Dialogs.h"
#include "platform/SystemPaths.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtSettings.h"

namespace pagemill::ui {

namespace {
constexpr const char* kSaveQuestion = "Are you sure you want to save the changes now ?";
constexpr const char* kUnsavedQuestion = "The log has changes that are not saved.\nDo you want to save them now ?";
constexpr int kRecentCount = 4;
}  // namespace

// The log pane: rows of the log in page units, K across the width, y down.
class LogPane final : public QWidget {
 public:
  explicit LogPane(PagemillWindow& w) : QWidget(&w), w_(w) {
    setMinimumSize(400, 200);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    platform::qt::QtCanvas c(p, {0, 0, width(), height()});
    c.fillRect({0, 0, width(), height()}, 0xFFFFFF);
    c.setMapping(w_.viewer().logMapping());
    w_.viewer().drawLog(c);
  }
  void resizeEvent(QResizeEvent*) override { w_.refresh(); }
  void wheelEvent(QWheelEvent* e) override {
    w_.viewer().wheel(e->angleDelta().y() > 0 ? -1 : 1);
    w_.refresh();
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    w_.viewer().press(w_.viewer().toLogPane({e->pos().x(), e->pos().y()}));
    update();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    const auto at = w_.viewer().toLogPane({e->pos().x(), e->pos().y()});
    w_.viewer().release(at, [this](const presentation::Annotation& a) {
      // The text's size in the object's font, measured in page units on this pane.
      QPainter p(this);
      platform::qt::QtCanvas c(p, {0, 0, width(), height()});
      c.setMapping(w_.viewer().logMapping());
      c.setFont(presentation::objectFont(a, !w_.english()));
      return c.textExtent(a.text);
    });
    unsetCursor();
    w_.refresh();
  }

 private:
  PagemillWindow& w_;
};

// The heading pane (the reference view): the curve headings with the same mapping.
class HeadingPane final : public QWidget {
 public:
  explicit HeadingPane(PagemillWindow& w) : QWidget(&w), w_(w) { setMinimumHeight(60); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    platform::qt::QtCanvas c(p, {0, 0, width(), height()});
    c.fillRect({0, 0, width(), height()}, 0xFFFFFF);
    c.setMapping(w_.viewer().headingMapping());
    w_.viewer().drawHeadings(c);
  }
  void resizeEvent(QResizeEvent*) override { w_.refresh(); }
  void wheelEvent(QWheelEvent* e) override {
    w_.viewer().scrollHeadings(e->angleDelta().y() > 0 ? 1 : -1);
    update();
  }

 private:
  PagemillWindow& w_;
};

PagemillWindow::PagemillWindow(platform::Settings& settings, platform::Prompter& prompter, const platform::Paths& paths)
    : settings_(settings), prompter_(prompter), paths_(paths), viewer_(log_, prompter), templates_(settings, prompter, info_) {
  chooseShippedTemplates(settings_, shippedTemplates());
  setWindowTitle("Pagemill");
  resize(900, 760);
  auto* central = new QWidget(this);
  auto* split = new QSplitter(Qt::Vertical, central);
  headings_ = new HeadingPane(*this);
  pane_ = new LogPane(*this);
  split->addWidget(headings_);
  split->addWidget(pane_);
  split->setSizes({140, 600});
  scroll_ = new QScrollBar(Qt::Vertical, central);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(split, 1);
  row->addWidget(scroll_);
  setCentralWidget(central);

  // While the thumb is dragged, a small window shows the depths of the pane's top and bottom.
  thumb_ = new QLabel(this, Qt::ToolTip);
  thumb_->setFrameStyle(QFrame::Box);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
    if (scroll_->isSliderDown()) return;
    viewer_.setScrollPosition(v);
    pane_->update();
  });
  connect(scroll_, &QScrollBar::sliderMoved, this, [this](int v) {
    const auto [top, bottom] = viewer_.depthsAt(v);
    thumb_->setText(QString("%1  to  %2").arg(top, 0, 'f', 1).arg(bottom, 0, 'f', 1));
    thumb_->adjustSize();
    const QPoint at = pane_->mapToGlobal(QPoint(pane_->width() - 20 - thumb_->width(), pane_->height() / 2));
    thumb_->move(at);
    thumb_->show();
  });
  connect(scroll_, &QScrollBar::sliderReleased, this, [this] {
    thumb_->hide();
    viewer_.releaseThumb(scroll_->value());
    pane_->update();
  });

  buildMenus();
  buildToolbar();
  statusBar()->showMessage("Ready");
  for (int i = 1; i <= kRecentCount; ++i) {
    const auto f = settings_.getString(keys::kRecentFiles, "File" + std::to_string(i), "");
    if (!f.empty()) recent_.push_back(f);
  }
  rebuildRecentMenu();
  setEnglish(settings_.getInt(keys::kSettings, keys::kUnitSystem, 1) == 1);
}

PagemillWindow::~PagemillWindow() = default;

void PagemillWindow::buildMenus() {
  auto* file = menuBar()->addMenu("&File");
  file->addAction("&New", this, &PagemillWindow::fileNew);
  file->addAction("&Open...", QKeySequence::Open, this, &PagemillWindow::fileOpen);
  file->addAction("&Save", QKeySequence::Save, this, &PagemillWindow::fileSave);
  file->addSeparator();
  file->addAction("Print &Manager", this,
                  [this] { runPrintManager(this, settings_, prompter_, templates_, english_, paths_.dataRoot()); });
  file->addAction("&Print", this, &PagemillWindow::printHeaderPage);
  file->addSeparator();
  recentMenu_ = file->addMenu("Recent Files");
  file->addSeparator();
  file->addAction("E&xit", this, &QWidget::close);

  auto* mode = menuBar()->addMenu("&Mode");
  auto* group = new QActionGroup(this);
  englishAction_ = mode->addAction("&English", this, [this] { setEnglish(true); });
  metricAction_ = mode->addAction("&Metric", this, [this] { setEnglish(false); });
  for (auto* a : {englishAction_, metricAction_}) {
    a->setCheckable(true);
    group->addAction(a);
  }

  auto* view = menuBar()->addMenu("&View");
  auto* toolbar = view->addAction("&Toolbar");
  toolbar->setCheckable(true);
  toolbar->setChecked(true);
  connect(toolbar, &QAction::toggled, this, [this](bool on) {
    for (auto* t : findChildren<QToolBar*>()) t->setVisible(on);
  });
  auto* status = view->addAction("&Status Bar");
  status->setCheckable(true);
  status->setChecked(true);
  connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
  view->addAction("&Edit Curve", this, [this] {
    if (!log_.isOpen()) return;
    if (runCurveEditor(this, log_, prompter_, [this] { refresh(); })) viewer_.setModified(true);
  });

  auto* graphic = menuBar()->addMenu("&Graphic");
  graphic->addAction("System &Font", this, [this] { runFontDialog(this, viewer_.defaults().font); });
  graphic->addAction("&Brush and Pen", this, [this] { runPenBrushDialog(this, viewer_.defaults().pen); });

  auto* header = menuBar()->addMenu("&Header");
  header->addAction("&Load Static Data", this, &PagemillWindow::loadStaticData);
  header->addAction("Header &Info", this, &PagemillWindow::editHeaderInfo);
  header->addAction("&Preview", this, [this] { runPreview(this, templates_); });

  auto* config = menuBar()->addMenu("&Configuration");
  auto* tpl = config->addMenu("&Template");
  const char* kinds[4] = {"&Header", "&Tail", "&Separator", "&Remarks"};
  for (int k = 0; k < 4; ++k) tpl->addAction(kinds[k], this, [this, k] { chooseTemplate(k); });
}

void PagemillWindow::buildToolbar() {
  auto* bar = addToolBar("Tools");
  struct Tool {
    const char* text;
    GraphicTool tool;
  };
  const Tool tools[] = {{"Text", GraphicTool::TextBox},       {"Line", GraphicTool::Line},
                        {"Labels", GraphicTool::CurveLabels}, {"Rectangle", GraphicTool::Rectangle},
                        {"Ellipse", GraphicTool::Ellipse},    {"Rounded", GraphicTool::RoundedBox}};
  for (const auto& t : tools) {
    const GraphicTool tool = t.tool;
    bar->addAction(t.text, this, [this, tool] {
      if (viewer_.armTool(tool)) pane_->setCursor(Qt::CrossCursor);
    });
  }
}

void PagemillWindow::setEnglish(bool english) {
  english_ = english;
  englishAction_->setChecked(english);
  metricAction_->setChecked(!english);
  settings_.setInt(keys::kSettings, keys::kUnitSystem, english ? 1 : 0);
  templates_.setEnglish(english);
  log_.setEnglishMode(english);
  viewer_.reset();
  refresh();
}

void PagemillWindow::refresh() {
  if (!pane_ || !headings_) return;
  viewer_.setPaneSizes({pane_->width(), pane_->height()}, {headings_->width(), headings_->height()});
  updateScrollBar();
  pane_->update();
  headings_->update();
}

void PagemillWindow::updateScrollBar() {
  const QSignalBlocker block(scroll_);
  scroll_->setRange(0, viewer_.scrollRange());
  scroll_->setSingleStep(10);
  scroll_->setPageStep(50);
  scroll_->setValue(viewer_.scrollPosition());
}

void PagemillWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete && viewer_.deleteSelected()) {
    refresh();
    return;
  }
  if (e->key() == Qt::Key_PageDown || e->key() == Qt::Key_PageUp) viewer_.pageScroll(e->key() == Qt::Key_PageDown ? 1 : -1);
  else if (e->key() == Qt::Key_Down || e->key() == Qt::Key_Up) viewer_.lineScroll(e->key() == Qt::Key_Down ? 1 : -1);
  else return QMainWindow::keyPressEvent(e);
  refresh();
}

void PagemillWindow::closeEvent(QCloseEvent* e) {
  if (log_.isOpen() && viewer_.modified()) {
    const auto a = prompter_.ask({"ATTENTION", kUnsavedQuestion, platform::Buttons::YesNoCancel, platform::Icon::Question});
    bool stay = a == platform::Answer::Cancel;
    if (a == platform::Answer::Yes && log_.save() != 0) {
      platform::tell(prompter_, "ERROR", "File Could not be saved", platform::Icon::Error);
      stay = true;
    }
    if (stay) return e->ignore();
  }
  e->accept();
}

bool PagemillWindow::openLog(const std::string& path) {
  const OpenResult r = log_.open(path, true, english_);
  if (r != OpenResult::Ok) {
    platform::tell(prompter_, "ERROR", r == OpenResult::Invalid ? kFileNotValid : kFileNotRead, platform::Icon::Error);
    log_.close();
    refresh();
    return false;
  }
  path_ = path;
  viewer_.reset();
  viewer_.setModified(false);
  addRecent(path);
  setWindowTitle(QString::fromStdString(std::filesystem::path(path).filename().string()) + " - Pagemill");
  statusBar()->showMessage(QString("%1 records, %2 to %3")
                               .arg(static_cast<qulonglong>(log_.recordCount()))
                               .arg(log_.firstDepth())
                               .arg(log_.lastDepth()));
  refresh();
  return true;
}

void PagemillWindow::fileNew() {
  log_.close();
  path_.clear();
  setWindowTitle("Pagemill");
  viewer_.reset();
  refresh();
}

void PagemillWindow::fileOpen() {
  const auto path = prompter_.openFile(
      {"", "KVR Data files (*.cdf)|*.cdf||", "", "cdf", logFolder(recent_, paths_.dataRoot()).string()});
  if (path) openLog(*path);
}

void PagemillWindow::fileSave() {
  if (!log_.isOpen()) return;
  if (prompter_.ask({"ATTENTION", kSaveQuestion, platform::Buttons::YesNo, platform::Icon::Question}) !=
      platform::Answer::Yes)
    return;
  if (log_.save() != 0) platform::tell(prompter_, "ERROR", "File Could not be saved", platform::Icon::Error);
  else viewer_.setModified(false);
}

std::filesystem::path PagemillWindow::shippedTemplates() const { return paths_.shippedDataFolder() / "templates"; }

// File > Print in the view: the header template alone on one page.
void PagemillWindow::printHeaderPage() {
  auto target = runPrintDialog(this, defaultPdfPath({}, paths_.dataRoot()).string(), english_);
  if (!target) return;
  if (target->startDocument(kDocumentName) <= 0 || target->startPage() <= 0) {
    target->abortDocument();
    return;
  }
  const auto info = target->pageInfo();
  const int upi = english_ ? 1000 : 2540;
  target->canvas().setMapping({{0, 0}, {upi, upi}, {info.printableDevice.left, info.printableDevice.top},
                               {info.dpiX, -info.dpiY}});
  templates_.setOrigin(0);
  templates_.run(kHeaderTemplate, target->canvas(), true);
  target->endPage();
  const int r = target->endDocument();
  if (r <= 0) prompter_.ask(PrintJob::failureMessage(r));
  else platform::tell(prompter_, "MESSAGE", finishedMessage(*target), platform::Icon::Information);
}

void PagemillWindow::addRecent(const std::string& path) {
  recent_.erase(std::remove(recent_.begin(), recent_.end(), path), recent_.end());
  recent_.insert(recent_.begin(), path);
  if (recent_.size() > kRecentCount) recent_.resize(kRecentCount);
  for (int i = 0; i < kRecentCount; ++i)
    settings_.setString(keys::kRecentFiles, "File" + std::to_string(i + 1),
                        i < static_cast<int>(recent_.size()) ? recent_[static_cast<std::size_t>(i)] : "");
  rebuildRecentMenu();
}

void PagemillWindow::rebuildRecentMenu() {
  recentMenu_->clear();
  for (std::size_t i = 0; i < recent_.size(); ++i) {
    const std::string p = recent_[i];
    recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(p)), this, [this, p] { openLog(p); });
  }
  recentMenu_->setEnabled(!recent_.empty());
}

void PagemillWindow::loadStaticData() {
  const auto path = prompter_.openFile(
      {"", "KVR Data files (*.KVR)|*.KVR||", "", "kvr", logFolder(recent_, paths_.dataRoot()).string()});
  if (!path) return;
  kvr::PosixFileSystem fs;
  const int r = info_.loadStaticData(fs, *path);
  if (r != 0) platform::tell(prompter_, "ERROR", r == -2 ? kFileNotValid : kFileNotRead, platform::Icon::Error);
}

void PagemillWindow::editHeaderInfo() {
  if (const auto edited = jobdata::ui::runJobDataDialog(this, info_.record())) info_.setRecord(*edited);
}

void PagemillWindow::chooseTemplate(int kind) {
  static const char* kFilters[4] = {"KVR Header Template (*.txt)|*.txt||", "KVR Tail Template (*.txt)|*.txt||",
                                    "KVR Separator Template (*.txt)|*.txt||", "KVR Remarks Template (*.txt)|*.txt||"};
  const auto path =
      prompter_.openFile({"", kFilters[kind], "", "txt", templateFolder(settings_, kind, shippedTemplates()).string()});
  if (path) settings_.setString(keys::kTemplates, templateValue(kind), *path);
}

int runPagemill(const std::vector<std::string>& args) {
  platform::qt::QtSettings settings(keys::kApplication);
  platform::qt::QtPrompter prompter;
  // The data root KVR records under.
  const platform::qt::QtSettings kvr(keys::kKvrApplication);
  const platform::SystemPaths paths(kvr.getString(keys::kKvrProgramFolders, keys::kKvrDataRoot, ""));
  PagemillWindow window(settings, prompter, paths);
  prompter.setParent(&window);
  window.show();
  if (!args.empty() && !args.front().empty() && args.front()[0] != '-') window.openLog(args.front());
  return QApplication::exec();
}

}  // namespace pagemill::ui
