#pragma once
// "&Preview": every format in a log window laid out as for logging up, two pixels a row,
// with every curve's heading and no rows. The windows show copies; a new preview replaces them.

#include <memory>
#include <vector>

#include "common/presentation/Format.h"
#include "kvr/logging/ui/LogWindow.h"

namespace kvr::ui {

class PresentationPreview {
 public:
  PresentationPreview();
  ~PresentationPreview();
  void show(const std::vector<presentation::CFormat>& formats);
  const std::vector<std::unique_ptr<LogWindow>>& windows() const { return windows_; }

 private:
  class NoFrames;
  std::vector<std::unique_ptr<presentation::CFormat>> formats_;
  std::vector<std::unique_ptr<NoFrames>> frames_;
  std::vector<std::unique_ptr<LogWindow>> windows_;
};

}  // namespace kvr::ui
