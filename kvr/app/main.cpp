// KVR: the acquisition and survey program.

#include <QApplication>

#include "kvr/app/CKVRApp.h"
#include "kvr/app/ProgramFolderCommand.h"
#include "kvr/app/SettingKeys.h"
#include "kvr/app/ui/KvrMainWindow.h"
#include "kvr/app/ui/SettingsDialogs.h"
#include "kvr/core/PosixFiles.h"
#include "kvr/utilities/ui/KvrToAsciiDialog.h"
#include "platform/SystemClock.h"
#include "platform/SystemPaths.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtSettings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("KVR");
  QApplication::setOrganizationName(kvr::CKVRApp::kSettingsKey);

  platform::qt::QtSettings settings;
  platform::SystemPaths paths(settings.getString(kvr::keys::kProgramFolders, kvr::keys::kDataRoot, ""));
  platform::qt::QtPrompter prompter;
  platform::qt::QtEventLoop loop;
  kvr::CKVRApp kvrApp(settings, paths);
  kvr::MainMenu menu;
  std::unique_ptr<kvr::ui::KvrMainWindow> window;

  kvr::StartupHooks hooks;
  hooks.showSplash = [&](const std::string& version) {
    if (!qEnvironmentVariableIsSet("VAREXA_NO_SPLASH")) kvr::ui::runSplash(loop, version);
  };
  hooks.createMainDialog = [&] {
    window = std::make_unique<kvr::ui::KvrMainWindow>(menu);
    prompter.setParent(window.get());
  };
  kvrApp.InitInstance(hooks);

  auto& program = kvrApp.program();
  using C = kvr::MenuCommand;
  window->setHandler(C::UnitSystem, [&] {
    kvr::ui::runUnitSystemDialog(window.get(), program.modeWord);
    kvrApp.rebuildSystemParameters();  // on OK and on Cancel alike
  });
  window->setHandler(C::SystemUnits, [&] { kvr::ui::runSystemUnitsDialog(window.get(), settings, program.systemUnits); });
  window->setHandler(C::Options, [&] { kvr::ui::runOptionsDialog(window.get(), settings, program.startupFlags); });
  window->setHandler(C::KvrToAscii, [&] {
    static platform::SystemClock clock;
    kvr::PosixFileSystem dataFiles;
    kvr::utilities::PosixTextFiles textFiles;
    kvr::utilities::CKvrToAscii converter(prompter, paths, clock, dataFiles, textFiles,
                                          program.systemUnits.code[records::kTime]);
    converter.setSessionFolder(paths.kvrFolder());
    kvr::utilities::ui::runKvrToAsciiDialog(window.get(), converter, prompter, clock);
  });
  window->setHandler(C::ProgramFolder, [&] { kvr::chooseProgramFolder(prompter, settings, program.mainFolder); });
  window->setStatusText(QString("Data root: %1").arg(QString::fromStdString(paths.dataRoot().string())));
  window->show();
  return QApplication::exec();
}
