// Header templates written by hand: both unit sections, on screen and on the printer in
// every print mode, with pictures looked up inside a folder that holds none.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/NullCanvas.h"
#include "pagemill/core/TemplateInterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int run = 0; run < 4; ++run) {
    pagemill::TemplateOptions o;
    o.english = run % 2 == 0;
    o.printing = run >= 2;
    o.printMode = 1 + run % 3;
    o.separatorText = "Separator";
    o.folder = "/nonexistent-template-folder";
    o.item = [](int n) {
      if (n < 1 || n > 61) std::abort();  // the engine asks only for items that exist
      return std::to_string(n);
    };
    NullCanvas canvas;
    const auto state = pagemill::interpretTemplate(text, -5000, o, canvas);
    if (state.origin > 10000000 || state.origin < -10000000) std::abort();
  }
  return 0;
}
