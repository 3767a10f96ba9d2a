#pragma once
// Pagemill's single-document window: the heading pane and the log pane of the opened chart
// data file, the menus, the toolbar of graphic tools and the status bar.

#include <QMainWindow>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pagemill/core/DataManager.h"
#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/LogViewer.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

class QAction;
class QLabel;
class QScrollBar;

namespace pagemill::ui {

class LogPane;
class HeadingPane;

class PagemillWindow final : public QMainWindow {
  Q_OBJECT
 public:
  // A first start chooses the shipped templates; file dialogs start in the data root.
  PagemillWindow(platform::Settings& settings, platform::Prompter& prompter, const platform::Paths& paths);
  ~PagemillWindow() override;

  // File > Open... by name; false when the file could not be shown.
  bool openLog(const std::string& path);
  void setEnglish(bool english);
  bool english() const { return english_; }

  CDataManager& log() { return log_; }
  LogViewer& viewer() { return viewer_; }
  CHeaderInfo& headerInfo() { return info_; }
  CHeaderWnd& templates() { return templates_; }
  platform::Settings& settings() { return settings_; }
  platform::Prompter& prompter() { return prompter_; }
  void refresh();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  // Exit with changes not saved asks whether to save them.
  void closeEvent(QCloseEvent* e) override;

 private:
  void buildMenus();
  void buildToolbar();
  void updateScrollBar();
  void addRecent(const std::string& path);
  void rebuildRecentMenu();
  void fileNew();
  void fileOpen();
  void fileSave();
  void printHeaderPage();
  void loadStaticData();
  void editHeaderInfo();
  void chooseTemplate(int kind);
  std::filesystem::path shippedTemplates() const;

  platform::Settings& settings_;
  platform::Prompter& prompter_;
  const platform::Paths& paths_;
  CDataManager log_;
  LogViewer viewer_;
  CHeaderInfo info_;
  CHeaderWnd templates_;
  bool english_ = true;
  std::string path_;
  std::vector<std::string> recent_;

  HeadingPane* headings_ = nullptr;
  LogPane* pane_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  QLabel* thumb_ = nullptr;
  QAction* englishAction_ = nullptr;
  QAction* metricAction_ = nullptr;
  QMenu* recentMenu_ = nullptr;
};

// Runs the program's window, opening the log named by the arguments if any; returns the exit code.
int runPagemill(const std::vector<std::string>& args);

}  // namespace pagemill::ui
