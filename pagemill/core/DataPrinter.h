#pragma once
// Prints one opened log down the pages: the curve headings, the rows of every track with
// page breaks, the graphic objects of each page, the closing lines and the headings again
// below the log.

#include <optional>

#include "pagemill/core/DataManager.h"
#include "pagemill/core/PageFlow.h"

namespace pagemill {

class CDataPrinter {
 public:
  explicit CDataPrinter(const CDataManager& log) : log_(log) {}
  // Starts at position e of the current page; returns the position after the bottom
  // headings, or nothing when a page call failed.
  std::optional<int> print(PageFlow& pages, int e);
  int pagesAdded() const { return pagesAdded_; }

 private:
  const CDataManager& log_;
  int pagesAdded_ = 0;
};

}  // namespace pagemill
