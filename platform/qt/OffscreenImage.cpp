#include "platform/qt/OffscreenImage.h"

#include <QGuiApplication>

#include "platform/RuntimeDir.h"

namespace platform::qt {

void ensureOffscreenGui() {
  if (QCoreApplication::instance()) return;
  platform::ensureRuntimeDir();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "varexa";
  static char* argv[] = {name, nullptr};
  // Lives for the rest of the process, as an application object must.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

OffscreenImage::OffscreenImage(int width, int height) : image_(width, height, QImage::Format_RGB32) {
  if (image_.isNull()) return;
  image_.fill(Qt::white);
  painter_.begin(&image_);
  canvas_ = std::make_unique<QtCanvas>(painter_, Rect{0, 0, width, height}, &image_);
}

OffscreenImage::~OffscreenImage() {
  canvas_.reset();
  if (painter_.isActive()) painter_.end();
}

bool OffscreenImage::savePng(const std::filesystem::path& path) {
  canvas_.reset();
  if (painter_.isActive()) painter_.end();
  return !image_.isNull() && image_.save(QString::fromStdString(path.string()), "PNG");
}

}  // namespace platform::qt
