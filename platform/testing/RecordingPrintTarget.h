#pragma once
// A PrintTarget that records documents and pages, each page on its own RecordingCanvas.

#include <memory>
#include <string>
#include <vector>

#include "platform/PrintTarget.h"
#include "platform/testing/RecordingCanvas.h"

namespace platform::testing {

class RecordingPrintTarget final : public PrintTarget {
 public:
  explicit RecordingPrintTarget(PageInfo info = {300, 300, {2550, 3300}, {0, 0, 2550, 3300}, false}) : info_(info) {}

  int startDocument(const std::string& name) override;
  int startPage() override;
  int endPage() override;
  int endDocument() override;
  void abortDocument() override { aborted_ = true; inDocument_ = false; }
  PageInfo pageInfo() const override { return info_; }
  Canvas& canvas() override;

  // Makes the call with this name ("startDocument", "startPage", "endPage", "endDocument")
  // fail with code once its count of successful calls reaches after.
  void failAt(const std::string& call, int after, int code = -1);
  // The picture size every page's canvas answers.
  void setImageSize(Size s) { imageSize_ = s; }

  const std::vector<std::unique_ptr<RecordingCanvas>>& pages() const { return pages_; }
  const std::vector<std::string>& documents() const { return documents_; }
  bool aborted() const { return aborted_; }
  bool pageOpen() const { return pageOpen_; }
  int endedDocuments() const { return ended_; }

 private:
  int check(const std::string& call, int& count);
  PageInfo info_;
  std::vector<std::unique_ptr<RecordingCanvas>> pages_;
  std::vector<std::string> documents_;
  bool inDocument_ = false, pageOpen_ = false, aborted_ = false;
  int ended_ = 0;
  int startDocs_ = 0, startPages_ = 0, endPages_ = 0, endDocs_ = 0;
  std::string failCall_;
  int failAfter_ = -1, failCode_ = -1;
  RecordingCanvas closed_;
  Size imageSize_{100, 50};
};

}  // namespace platform::testing
