#pragma once
// The template engine as the preview window and the print job use it: takes the template
// path of a kind from the settings, reads the file and draws it at the vertical origin V.

#include <optional>
#include <string>

#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/TemplateInterpreter.h"
#include "platform/Canvas.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace pagemill {

// Templates are small; a file beyond this is read only up to it.
constexpr std::size_t kTemplateFileMax = 1 << 20;

// The preview window and its client area.
constexpr int kPreviewWidth = 815, kPreviewHeight = 600;
constexpr const char* kPreviewTitle = "Header Peview";
constexpr const char* kPreviewSeparatorText = "Separator Text is Placed Here";

class CHeaderWnd {
 public:
  CHeaderWnd(platform::Settings& settings, platform::Prompter& prompter, const CHeaderInfo& info)
      : settings_(settings), prompter_(prompter), info_(info) {}

  void setEnglish(bool english) { english_ = english; }
  bool english() const { return english_; }
  void setPrintMode(int mode) { printMode_ = mode; }
  void setSeparatorText(std::string text) { separatorText_ = std::move(text); }

  // V: where the next run starts; after a run, the bottom of its last main region.
  void setOrigin(int v) { origin_ = v; }
  int origin() const { return origin_; }

  std::string templatePath(int kind) const;
  // Draws the template of the kind; false when its path is empty or it cannot be read
  // (the message has been shown and nothing was drawn).
  bool run(int kind, platform::Canvas& canvas, bool printing);
  const TemplateState& lastState() const { return state_; }

 private:
  platform::Settings& settings_;
  platform::Prompter& prompter_;
  const CHeaderInfo& info_;
  bool english_ = true;
  int printMode_ = 0;
  std::string separatorText_;
  int origin_ = 0;
  TemplateState state_;
};

// The preview's mapping: K page units across the client width, 0.73619634 K down its
// height, (0, 0) at the top-left and y up.
platform::Mapping previewMapping(bool english, platform::Size client);

// Reads at most maxBytes of a file; nothing when it cannot be opened.
std::optional<std::string> readFilePrefix(const std::string& path, std::size_t maxBytes);

}  // namespace pagemill
