#pragma once
// A picture drawn off screen: a white RGB image with a painter and a Canvas on it, for
// programs and benchmarks that draw without a window (text needs a running GUI application,
// which ensureOffscreenGui brings up on the offscreen platform when there is none).

#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>

#include "platform/qt/QtCanvas.h"

namespace platform::qt {

void ensureOffscreenGui();

class OffscreenImage {
 public:
  OffscreenImage(int width, int height);
  ~OffscreenImage();
  OffscreenImage(const OffscreenImage&) = delete;
  OffscreenImage& operator=(const OffscreenImage&) = delete;

  bool valid() const { return !image_.isNull(); }
  Canvas& canvas() { return *canvas_; }
  // Ends the painting and saves the picture as PNG.
  bool savePng(const std::filesystem::path& path);

 private:
  QImage image_;
  QPainter painter_;
  std::unique_ptr<QtCanvas> canvas_;
};

}  // namespace platform::qt
