#include "kvr/app/ui/KvrProgram.h"

#include <QApplication>
#include <QScreen>

#include <fstream>
#include <sstream>

#include "common/jobdata/CMyPropertySheet.h"
#include "common/jobdata/ui/JobDataDialog.h"
#include "common/presentation/LogWindowLayout.h"
#include "common/presentation/PresentationFile.h"
#include "common/records/SystemMode.h"
#include "kvr/app/ProgramFolderCommand.h"
#include "kvr/app/SessionCommands.h"
#include "kvr/app/UtilityCommands.h"
#include "kvr/app/ui/SettingsDialogs.h"
#include "kvr/app/CalibrationCommands.h"
#include "kvr/calibration/ui/CalibrationDialog.h"
#include "kvr/calibration/ui/SystemParametersDialog.h"
#include "kvr/calibration/ui/ToolParametersDialog.h"
#include "kvr/core/AboutBox.h"
#include "kvr/core/SettingKeys.h"
#include "kvr/core/ToolStringEditor.h"
#include "kvr/core/CToolSelector.h"
#include "kvr/core/ui/AboutDialog.h"
#include "kvr/core/ui/LoadParameterSelectorDialog.h"
#include "kvr/core/ui/ToolStringManagerDialog.h"
#include "kvr/utilities/ui/CrossPlotDialogs.h"
#include "kvr/utilities/ui/KvrToAsciiDialog.h"
#include "kvr/utilities/ui/MergeKvrDialog.h"

namespace kvr::ui {

using C = MenuCommand;

namespace {
std::vector<std::string> toStd(const QStringList& l) {
  std::vector<std::string> out;
  for (const auto& s : l) out.push_back(s.toStdString());
  return out;
}

QString fileName(const std::filesystem::path& p) { return QString::fromStdString(p.filename().string()); }

const char* directionText(std::uint8_t direction) {
  return direction == 1 ? "log up" : direction == 0 ? "log down" : "station log";
}
}  // namespace

KvrProgram::KvrProgram(const QStringList& arguments)
    : paths_(settings_.getString(keys::kProgramFolders, keys::kDataRoot, "")), app_(settings_, paths_) {
  navikor_ = std::make_unique<CNavikor>();
  StartupHooks hooks;
  hooks.showSplash = [this](const std::string& version) {
    if (!qEnvironmentVariableIsSet("VAREXA_NO_SPLASH")) runSplash(loop_, version);
  };
  app_.InitInstance(hooks);

  PanelLink link = openPanelLink(panelLinkChoice(settings_, toStd(arguments)), clock_);
  const QString linkText = QString::fromStdString(link.statusText);
  LoggingHooks lh;
  lh.countersChanged = [this] { showCounters(); };
  lh.framesDispatched = [this] { updateMonitors(); };
  lh.menuChanged = [this] {
    if (window_) window_->refreshMenu();
    showJob();
  };
  lh.quit = [] { QCoreApplication::quit(); };
  lh.presentationEditorOpen = [this] { return presDialog_ && presDialog_->isVisible(); };
  lh.statusText = [this](const std::string& text) {
    if (window_) window_->setStatusText(QString::fromStdString(text));
  };
  lh.logStarted = [this](std::uint8_t direction, bool) {
    rowsAtLogStart_ = station_->dialog().rowsDrawn();
    logDirection_ = direction;
    window_->setStatusText(QString("Started the %1: recording %2")
                               .arg(directionText(direction), fileName(station_->dialog().outputFile())));
  };
  station_ = std::make_unique<LoggingStation>(StationPorts{loop_, clock_, prompter_, paths_, app_.program(), &settings_},
                                              std::move(link), false, lh);
  logWindows_ = std::make_unique<LogWindows>();
  station_->library().useNavikor(*navikor_);
  station_->charts().setViews(logWindows_.get());
  window_ = std::make_unique<KvrMainWindow>(station_->menu());
  prompter_.setParent(window_.get());
  linkText_ = linkText;
  window_->setStatusText(linkText);
  // The log windows fill the screen beside the main window.
  const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
  if (screen) window_->move(screen->availableGeometry().topLeft());
  logWindows_->setArea([this] {
    const QScreen* s = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = s ? s->availableGeometry() : QRect(0, 0, 1280, 800);
    QRect area = screenArea;
    area.setLeft(window_->frameGeometry().right() + 1);
    // On a narrow screen the windows keep their least width and reach past the screen's edge.
    area.setRight(std::max(screenArea.right(), area.left() + presentation::LogWindowLayout::kMinWidth - 1));
    return area;
  });
  logWindows_->setChanged([this] { showLogWindowMenu(); });
  showLogWindowMenu();
  wireJob();
  wireLogging();
  wireUtilities();
  wireSettings();
  wirePresentations();
  wireMonitors();
  wireCalibrations();
  wireTaskPanels();
  window_->setAboutHandler([this] {
    AboutBox box;
    box.toolsVersion = station_->library().globals().Tools_DLL_Version;
    box.navikorVersion = navikor_->GetVersion();
    AboutDialog(box, window_.get()).exec();
  });
  window_->setCloseHandler([this] { return station_->dialog().closeRequest(); });
}

KvrProgram::~KvrProgram() {
  station_->setTarnCPanelChanged({});
  tarncPanelWindow_.reset();
  station_->tools().setChannelsRebuilt({});
  monDialog_.reset();
  presDialog_.reset();
  tarncWindow_.reset();
  postProcessWindow_.reset();  // a child of the main window, and over the manager
  postProcess_.reset();
  gaugeWindow_.reset();
  station_->setTaskPanelsChanged({});
  tarnbWindow_.reset();
  tarnWindow_.reset();
  station_->charts().setViews(nullptr);
  logWindows_.reset();
  window_.reset();
  station_.reset();
}

void KvrProgram::showCounters() {
  const auto& c = station_->dialog().counters();
  window_->setCounters(QString::number(c.goodFrames), QString::number(c.frameErrors), QString::number(c.crcErrors),
                       QString::number(c.readCycles), QString::fromStdString(c.frameRate));
  window_->setTelemetryOn(station_->telemetry().telemetryActive());
  showJob();
}

void KvrProgram::showJob() {
  if (!window_) return;
  auto& s = *station_;
  const auto& job = s.session().job();
  JobView v;
  if (s.session().started())
    v.clientAndWell = QString::fromStdString(job.client) + " / " + QString::fromStdString(job.wellName);
  QStringList names;
  for (const auto& t : s.tools().toolList()) names << QString::fromStdString(t.name);
  v.toolString = names.join(", ");
  v.link = linkText_;
  v.telemetry = QString::fromStdString(s.telemetry().statusText());
  auto& d = s.dialog();
  if (d.logRunning()) {
    v.log = QString("Recording a %1").arg(directionText(logDirection_));
    v.file = QString::fromStdString(d.outputFile().string());
    v.rows = QString::number(d.rowsDrawn() - rowsAtLogStart_);
  } else if (s.playback().running()) {
    v.log = "Playing back " + fileName(s.playback().inputFile());
    v.file = QString::fromStdString(s.playback().outputName().string());
    v.rows = QString::number(d.rowsDrawn() - rowsAtLogStart_);
  } else {
    v.log = "No log running";
    if (!d.outputFile().empty()) v.file = "Last: " + QString::fromStdString(d.outputFile().string());
  }
  if (s.telemetry().telemetryActive() || d.logRunning()) v.depth = QString::number(s.tools().currentDepth(), 'f', 2);
  window_->setJob(v);
}

void KvrProgram::followUnitSystem(bool wasEnglish) {
  // The shipped formats of the old unit system, untouched, give way to those of the new one;
  // formats the engineer changed are kept as they are.
  const auto& folder = app_.program().mainFolder;
  const auto readFile = [](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return presentation::readPresentation(s.str());
  };
  const auto oldFile = folder / presentation::CPresManager::shippedFile(wasEnglish);
  const auto newFile = folder / presentation::CPresManager::shippedFile(!wasEnglish);
  if (!std::filesystem::exists(oldFile) || !std::filesystem::exists(newFile)) return;
  const auto shipped = readFile(oldFile);
  if (presentation::writePresentation(shipped.formats) != presentation::writePresentation(presentations_->formats()))
    return;
  auto next = readFile(newFile);
  if (next.outcome == presentation::PresentationRead::Outcome::Invalid) return;
  presentations_->formats() = std::move(next.formats);
  window_->setStatusText("Presentation formats for the new units loaded from " + fileName(newFile));
}

void KvrProgram::showLogWindowMenu() {
  QStringList titles;
  for (const auto& w : logWindows_->windows()) titles << w->name();
  window_->setLogWindows(
      titles, [this](int i) { logWindows_->showWindow(static_cast<std::size_t>(i)); }, [this] { logWindows_->tile(); });
}

void KvrProgram::wireJob() {
  window_->setHandler(C::JobData, [this] {
    auto edited = jobdata::ui::runJobDataDialog(window_.get(), station_->session().job());
    if (edited && station_->session().confirmJobData(*edited)) {
      station_->menu().onJobDataConfirmed();
      window_->setStatusText("Session folder: " + QString::fromStdString(station_->session().sessionFolder().string()));
    }
    showJob();
  });
  window_->setHandler(C::DefineToolString, [this] {
    // The dialog opens the editor (reads ToolList.txt and releases the tools' memory) once.
    ToolStringEditor editor(station_->tools(), prompter_, station_->fileSystem(),
                            app_.program().mainFolder / "ToolList.txt");
    ToolStringManagerDialog dlg(editor, prompter_, app_.program().modeWord, window_.get());
    if (dlg.exec() == QDialog::Accepted)
      window_->setStatusText(QString("Tool string confirmed: %1 channels").arg(station_->tools().channels().size()));
    showJob();
  });
  window_->setHandler(C::SaveSession, [this] {
    SessionIni ini;
    if (!monitors_->latestFile().empty()) ini.monitorFile = monitors_->latestFile();
    ini.windows.push_back({"MAIN_DLG", window_->x(), window_->y()});
    if (monDialog_) ini.windows.push_back({"MONITORS_DLG", monDialog_->x(), monDialog_->y()});
    if (tarncPanelWindow_) ini.windows.push_back({"TARN-C_DLG", tarncPanelWindow_->x(), tarncPanelWindow_->y()});
    if (auto saved = saveSession(*station_, prompter_, app_.program(), ini))
      window_->setStatusText("Session saved: " + QString::fromStdString(saved->string()));
  });
  window_->setHandler(C::LoadPreviousSession, [this] {
    SessionLoadSteps steps;
    steps.positionWindow = [this](const std::string& key, int left, int top) {
      if (key == "MAIN_DLG") window_->move(left, top);
      if (key == "MONITORS_DLG" && monDialog_) monDialog_->move(left, top);
      if (key == "TARN-C_DLG" && tarncPanelWindow_) tarncPanelWindow_->move(left, top);
    };
    steps.loadPresentationFormats = [this] {
      if (std::filesystem::exists(app_.program().mainFolder / presentation::CPresManager::kDefaultFile))
        presentations_->loadDefault();
    };
    steps.reopenMonitors = [this](const std::string& monitorFile) {
      showMonitors();
      if (!monitorFile.empty() && monitors_->load(monitorFile)) monDialog_->refresh();
    };
    if (loadSession(*station_, prompter_, app_.program(), steps)) {
      window_->setStatusText(QString("Session loaded: %1 / %2, %3 tools")
                                 .arg(QString::fromStdString(station_->session().job().client),
                                      QString::fromStdString(station_->session().job().wellName))
                                 .arg(station_->tools().toolList().size()));
    }
    showJob();
  });
  window_->setHandler(C::UnitSystem, [this] {
    const bool wasEnglish = records::isEnglish(app_.program().modeWord);
    const bool ok = runUnitSystemDialog(window_.get(), app_.program().modeWord);
    app_.rebuildSystemParameters();  // on OK and on Cancel alike
    if (ok && records::isEnglish(app_.program().modeWord) != wasEnglish) followUnitSystem(wasEnglish);
  });
}

void KvrProgram::wireLogging() {
  auto& d = station_->dialog();
  window_->setHandler(C::StartTelemetry, [this, &d] {
    d.startTelemetry();
    showCounters();
  });
  window_->setHandler(C::StopTelemetry, [this, &d] {
    d.stopTelemetry();
    showCounters();
  });
  window_->setHandler(C::StartLogUp, [&d] { d.startLog(1, false); });
  window_->setHandler(C::StartLogDown, [&d] { d.startLog(0, false); });
  window_->setHandler(C::StationLog, [&d] { d.startLog(2, true); });
  window_->setHandler(C::StopLogging, [this, &d] {
    if (!d.logRunning()) return;
    d.stopLogging();
    window_->setStatusText(QString("Log stopped: %1 rows recorded in %2")
                               .arg(d.rowsDrawn() - rowsAtLogStart_)
                               .arg(fileName(d.outputFile())));
    showJob();
  });
  wirePlayback();
}

void KvrProgram::wirePlayback() {
  auto& playback = station_->playback();
  auto showOutput = [this, &playback] {
    window_->setStatusText("Playback output: " + QString::fromStdString(playback.outputName().filename().string()));
  };
  window_->setHandler(C::ChooseFile, [this, &playback] {
    if (playback.chooseFile())
      window_->setStatusText("Playback file: " + QString::fromStdString(playback.inputFile().filename().string()));
  });
  window_->setHandler(C::StartPlayback, [this, &playback, showOutput] {
    rowsAtLogStart_ = station_->dialog().rowsDrawn();
    if (playback.startPlayback()) showOutput();
  });
  window_->setHandler(C::StopPlayback, [&playback] { playback.stopPlayback(); });
  window_->setHandler(C::LoadParameters, [this] {
    CToolSelector selector(station_->tools(), station_->files(), prompter_);
    const auto folder = station_->session().started() ? station_->session().sessionFolder() : paths_.kvrFolder();
    const int loaded = runLoadParameters(selector, folder, window_.get());
    if (loaded > 0) window_->setStatusText(QString("Parameters loaded for %1 tools").arg(loaded));
  });
  window_->setHandler(C::PlaybackOptions, [this] {
    runSystemParametersDialog(window_.get(), app_.program().systemParameters, CSysParManager::Range::Playback);
  });
  window_->setHandler(C::SystemParameters, [this] {
    runSystemParametersDialog(window_.get(), app_.program().systemParameters, CSysParManager::Range::Main);
  });
}

void KvrProgram::wireCalibrations() {
  window_->setHandler(C::ToolParameters, [this] {
    if (!haveToolString(*station_, prompter_)) return;
    ToolParameters params(*station_);
    ToolParametersDialog(params.editor(), window_.get()).exec();
  });
  window_->setHandler(C::Calibrations, [this] {
    if (!haveToolString(*station_, prompter_)) return;
    std::unique_ptr<Calibrations> session;
    CalibrationDialog dialog(
        [&](CalibrationView& view) -> CCaliManager& {
          session = std::make_unique<Calibrations>(*station_, prompter_, loop_, clock_, paths_, view);
          return session->manager();
        },
        window_.get());
    dialog.exec();
    session.reset();  // stops its timers and closes the report while the dialog still shows
  });
  window_->setHandler(C::CreateReportList, [this] {
    createReportList(*station_, prompter_, clock_, paths_, app_.program().systemParameters);
  });
}

void KvrProgram::wireTaskPanels() {
  station_->setTaskPanelsChanged([this] { showTaskPanels(); });
  station_->setReportViewer([this](const std::filesystem::path& path, const std::string& text) {
    tarnb::ui::showReportViewer(window_.get(), path, text);
  });
}

// A string with a TARN-B or TARN tool shows its modeless task panel; the next string takes it away.
void KvrProgram::showTaskPanels() {
  auto* tarnB = station_->tarnBPanel();
  if (!tarnB) tarnbWindow_.reset();
  if (tarnB && !tarnbWindow_) {
    tarnbWindow_ = std::make_unique<tarnb::ui::TarnBPanelWindow>(*tarnB, window_.get());
    tarnbWindow_->show();
  }
  auto* tarn = station_->tarnPanel();
  if (!tarn) tarnWindow_.reset();
  if (tarn && !tarnWindow_) {
    tarnWindow_ = std::make_unique<tarn::ui::TarnPanelWindow>(*tarn, window_.get());
    tarnWindow_->show();
  }
}

void KvrProgram::wireUtilities() {
  auto& program = app_.program();
  window_->setHandler(C::KvrToAscii, [this, &program] {
    PosixFileSystem dataFiles;
    utilities::PosixTextFiles textFiles;
    utilities::CKvrToAscii converter(prompter_, paths_, clock_, dataFiles, textFiles, program.systemUnits.code[records::kTime]);
    prepareConverter(converter, *station_, paths_);
    utilities::ui::runKvrToAsciiDialog(window_.get(), converter, prompter_, clock_);
  });
  window_->setHandler(C::MergeAndSplice, [this] {
    // Refused silently while a log runs.
    if (station_->dialog().logRunning()) return;
    utilities::CMergeKvr merge(
        prompter_, station_->fileSystem(),
        [this] {
          if (station_->session().started()) return station_->session().sessionFolder();
          std::error_code ignored;
          std::filesystem::create_directories(paths_.kvrFolder(), ignored);
          return paths_.kvrFolder();
        },
        [this] { return station_->dialog().logRunning(); }, &station_->library());
    if (merge.mayOpen()) utilities::ui::runMergeKvrDialog(window_.get(), merge);
  });
  window_->setHandler(C::CrossPlot, [this] { utilities::ui::runCrossPlotDialog(window_.get(), prompter_); });
  window_->setHandler(C::TarnCLowLevelCommands, [this] { showTarnCTerminal(); });
  // The TARN-C task panel comes and goes with the tool string, shown beside the main window.
  station_->setTarnCPanelChanged([this] {
    tarncPanelWindow_.reset();
    if (auto* panel = station_->tarnCPanel()) {
      tarncPanelWindow_ =
          std::make_unique<tarnc::ui::TaskPanelWindow>(*panel, [this] { showTarnCTerminal(); }, window_.get());
      tarncPanelWindow_->setPostProcess([this] { showPostProcess(); });
      tarncPanelWindow_->show();
    }
  });
  window_->setHandler(C::MemoryGauge, [this] {
    auto* panel = station_->gaugePanel();
    if (!panel) return;
    if (!gaugeWindow_) gaugeWindow_ = std::make_unique<gauge::ui::DataLatchWindow>(*panel, clock_, window_.get());
    gaugeWindow_->show();
    gaugeWindow_->raise();
  });
}

void KvrProgram::showTarnCTerminal() {
  auto* terminal = station_->tarnCTerminal();
  if (!terminal) return;
  if (!tarncWindow_) tarncWindow_ = std::make_unique<tarnc::ui::LowLevelCmdWindow>(*terminal, window_.get());
  tarncWindow_->show();
  tarncWindow_->raise();
}

// "Post Process" of the TARN-C panel: the post-processing window, modeless, its "Add Files"
// starting in the running session's folder.
void KvrProgram::showPostProcess() {
  if (!postProcess_)
    postProcess_ = std::make_unique<postprocess::PostProcessManager>(station_->library(), prompter_, clock_,
                                                                     postProcessTrace_);
  const auto folder = station_->session().started() ? station_->session().sessionFolder() : paths_.kvrFolder();
  if (!postProcessWindow_ || folder != postProcessFolder_) {
    postProcessWindow_ = std::make_unique<postprocess::ui::PostProcessWindow>(*postProcess_, folder.string(), window_.get());
    postProcessFolder_ = folder;
  }
  postProcessWindow_->show();
  postProcessWindow_->raise();
}

void KvrProgram::wirePresentations() {
  auto& program = app_.program();
  presentations_ = std::make_unique<presentation::CPresManager>(prompter_, program.mainFolder);
  if ((program.startupFlags & kLoadPresentationFormats) &&
      std::filesystem::exists(program.mainFolder / presentation::CPresManager::kDefaultFile))
    presentations_->loadDefault();
  // Logs show the formats as the presentation manager holds them, edited or not yet saved.
  station_->charts().setFormatSource([this] { return presentations_->formats(); });
  window_->setHandler(C::EditPresentations, [this] {
    if (!presDialog_)
      presDialog_ = std::make_unique<PresentationsDialog>(*presentations_, prompter_,
                                                          [this]() -> const records::ChannelList& {
                                                            return station_->tools().channels();
                                                          });
    presDialog_->refresh();
    presDialog_->show();
    presDialog_->raise();
  });
}

void KvrProgram::wireMonitors() {
  monitors_ = std::make_unique<monitors::CMonitorManager>(prompter_, station_->fileSystem(), station_->tools(),
                                                          app_.program().mainFolder);
  // A new string, a playback or a loaded session: the boxes find their channels again.
  station_->tools().setChannelsRebuilt([this] {
    monitors_->rebind();
    if (monDialog_) monDialog_->refresh();
  });
  window_->setHandler(C::Monitors, [this] { showMonitors(); });
}

void KvrProgram::showMonitors() {
  if (!monDialog_) monDialog_ = std::make_unique<MonitorsDialog>(*monitors_);
  monDialog_->refresh();
  monDialog_->show();
  monDialog_->raise();
}

void KvrProgram::updateMonitors() {
  if (!monitors_) return;
  monitors_->update();
  if (monDialog_) monDialog_->refresh();
}

void KvrProgram::wireSettings() {
  auto& program = app_.program();
  window_->setHandler(C::SystemUnits, [this, &program] {
    if (!runSystemUnitsDialog(window_.get(), settings_, program.systemUnits)) return;
    station_->setSystemUnits(program.systemUnits);
    window_->setStatusText("System units set: the tools convert with them from now on");
  });
  window_->setHandler(C::Options, [this, &program] {
    if (runOptionsDialog(window_.get(), settings_, program.startupFlags)) window_->setStatusText("KVR options saved");
  });
  window_->setHandler(C::ProgramFolder, [this, &program] {
    if (!chooseProgramFolder(prompter_, settings_, program.mainFolder)) return;
    presentations_->setMainFolder(program.mainFolder);
    window_->setStatusText("Program folder: " + QString::fromStdString(program.mainFolder.string()));
  });
}

}  // namespace kvr::ui
