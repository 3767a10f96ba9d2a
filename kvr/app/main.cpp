// KVR: the acquisition and survey program.

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "kvr/app/CKVRApp.h"
#include "kvr/app/CommandLine.h"
#include "kvr/app/ui/KvrProgram.h"
#include "platform/RuntimeDir.h"

int main(int argc, char** argv) {
  // --help needs no display: answer it before Qt looks for one.
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kvr::kKvrUsage, stdout);
      return 0;
    }
  }
  platform::ensureRuntimeDir();
  QApplication app(argc, argv);
  // Qt has taken its own options out; the rest must be ours.
  std::vector<std::string> rest;
  for (const QString& a : QApplication::arguments().mid(1)) rest.push_back(a.toStdString());
  if (const kvr::KvrArguments checked = kvr::checkKvrArguments(rest); !checked.error.empty()) {
    std::fprintf(stderr, "%s\n%s", checked.error.c_str(), kvr::kKvrUsage);
    return 2;
  }
  // Numbers in files and texts are written in the C locale, whatever the desktop's language.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("KVR");
  QApplication::setOrganizationName(kvr::CKVRApp::kSettingsKey);
  kvr::ui::KvrProgram program(QApplication::arguments());
  program.window().show();
  return QApplication::exec();
}
