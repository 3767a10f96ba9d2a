#include "platform/testing/RecordingPrintTarget.h"

namespace platform::testing {

void RecordingPrintTarget::failAt(const std::string& call, int after, int code) {
  failCall_ = call;
  failAfter_ = after;
  failCode_ = code;
}

int RecordingPrintTarget::check(const std::string& call, int& count) {
  if (call == failCall_ && count >= failAfter_) return failCode_;
  ++count;
  return 1;
}

int RecordingPrintTarget::startDocument(const std::string& name) {
  int r = check("startDocument", startDocs_);
  if (r <= 0) return r;
  documents_.push_back(name);
  inDocument_ = true;
  aborted_ = false;
  return r;
}

int RecordingPrintTarget::startPage() {
  if (!inDocument_) return -1;
  int r = check("startPage", startPages_);
  if (r <= 0) return r;
  const auto& d = info_.printableDevice;
  pages_.push_back(std::make_unique<RecordingCanvas>(Rect{0, 0, d.width(), d.height()}));
  pages_.back()->setImageSize(imageSize_);
  pageOpen_ = true;
  return r;
}

int RecordingPrintTarget::endPage() {
  if (!pageOpen_) return -1;
  int r = check("endPage", endPages_);
  pageOpen_ = false;
  return r;
}

int RecordingPrintTarget::endDocument() {
  if (!inDocument_) return -1;
  int r = check("endDocument", endDocs_);
  inDocument_ = false;
  if (r > 0) ++ended_;
  return r;
}

Canvas& RecordingPrintTarget::canvas() {
  if (pageOpen_ && !pages_.empty()) return *pages_.back();
  return closed_;
}

}  // namespace platform::testing
