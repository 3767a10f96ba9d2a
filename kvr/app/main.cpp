// KVR: the acquisition and survey program.

#include <QApplication>

#include <clocale>

#include "kvr/app/CKVRApp.h"
#include "kvr/app/ui/KvrProgram.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Numbers in files and texts are written in the C locale, whatever the desktop's language.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("KVR");
  QApplication::setOrganizationName(kvr::CKVRApp::kSettingsKey);
  kvr::ui::KvrProgram program(QApplication::arguments());
  program.window().show();
  return QApplication::exec();
}
