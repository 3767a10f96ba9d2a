#pragma once
// The logging window: the main menu built from MainMenu, the telemetry status box and a status line.
// Menu commands go to handlers; entries without a handler stay in the menu and do nothing yet.

#include <QAction>
#include <QLabel>
#include <QMainWindow>

#include <functional>
#include <map>

#include "kvr/core/MainMenu.h"

namespace kvr::ui {

class KvrMainWindow : public QMainWindow {
 public:
  using Handler = std::function<void()>;

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
  QLabel* status_ = nullptr;
};

}  // namespace kvr::ui
