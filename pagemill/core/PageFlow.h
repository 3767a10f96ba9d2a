#pragma once
// The pages of a print job as the parts that print onto them see them: the canvas of the
// current page in page units (y up, 0 at the top of the printable area, negative below),
// its size, and the step to the next page.

#include "platform/Canvas.h"

namespace pagemill {

class PageFlow {
 public:
  virtual ~PageFlow() = default;
  virtual platform::Canvas& canvas() = 0;
  // H, the printable page height, and the printable width, in page units.
  virtual int pageHeight() const = 0;
  virtual int pageWidth() const = 0;
  virtual bool englishUnits() const = 0;
  // Ends the page and starts the next with the page mapping; false when a page call failed
  // (the job then stops).
  virtual bool nextPage() = 0;
};

}  // namespace pagemill
