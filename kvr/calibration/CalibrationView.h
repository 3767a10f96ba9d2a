#pragma once
// What the calibration engine shows: the rich-text output (scrolled to its end) and the
// progress window. The Qt dialog implements it; the headless run and the tests record it.

#include <string>

namespace kvr {

class CalibrationView {
 public:
  virtual ~CalibrationView() = default;
  virtual void appendOutput(const std::string& text) = 0;
  virtual void showProgress(const std::string& text) = 0;
  virtual void setProgress(int position) = 0;  // 0..100
  virtual void hideProgress() = 0;
};

// Keeps what was shown.
class RecordingCalibrationView final : public CalibrationView {
 public:
  void appendOutput(const std::string& text) override { output += text; }
  void showProgress(const std::string& text) override {
    progressText = text;
    progressVisible = true;
    ++progressShown;
  }
  void setProgress(int position) override { progress = position; }
  void hideProgress() override { progressVisible = false; }

  std::string output;
  std::string progressText;
  bool progressVisible = false;
  int progressShown = 0;
  int progress = 0;
};

}  // namespace kvr
