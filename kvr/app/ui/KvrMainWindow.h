#pragma once
// The logging window: the main menu built from MainMenu, what the engineer watches during a job
// (job, string, telemetry, log, file, rows, depth), the telemetry counters and a status line that
// confirms what the last command did. Menu commands go to handlers; the "&Window" menu lists
// the log windows.

#include <QAction>
#include <QLabel>
#include <QMainWindow>

#include <QStringList>

#include <functional>
#include <map>

#include "kvr/core/MainMenu.h"

namespace kvr::ui {

// The job as the window shows it; empty texts show as "-".
struct JobView {
  QString clientAndWell, toolString, link, telemetry, log, file, rows, depth;
};

class KvrMainWindow : public QMainWindow {
 public:
  using Handler = std::function<void()>;
  static constexpr int kWidth = 600, kHeight = 740;

  explicit KvrMainWindow(MainMenu& menu, QWidget* parent = nullptr);
  void setHandler(MenuCommand c, Handler h) { handlers_[c] = std::move(h); }
  void setAboutHandler(Handler h) { about_ = std::move(h); }
  // Called when the window is asked to close; return false to keep it open.
  void setCloseHandler(std::function<bool()> h) { close_ = std::move(h); }
  // Shows the menu's enabled states.
  void refreshMenu();
  void setCounters(const QString& frames, const QString& frameErrors, const QString& crcErrors,
                   const QString& readCycles, const QString& frameRate);
  void setTelemetryOn(bool on);
  void setStatusText(const QString& text);
  QString statusText() const;
  void setJob(const JobView& job);
  const JobView& job() const { return job_; }
  // The "&Window" menu: one entry per log window (shown and raised when chosen) and tiling.
  void setLogWindows(const QStringList& titles, std::function<void(int)> show, Handler tile);
  QMenu* windowMenu() const { return windowMenu_; }
  QAction* action(MenuCommand c) const { return actions_.at(c); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MainMenu& menu_;
  std::map<MenuCommand, QAction*> actions_;
  std::map<MenuCommand, Handler> handlers_;
  Handler about_;
  std::function<bool()> close_;
  QLabel* counters_[5]{};
  QLabel* telemetry_ = nullptr;
  QLabel* jobLabels_[8]{};
  JobView job_;
  QMenu* windowMenu_ = nullptr;
};

}  // namespace kvr::ui
