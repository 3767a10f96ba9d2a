// Presentation files from anywhere: the reader must end on every input, and what it keeps
// must write out, read back the same and draw without faults.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/presentation/PresentationFile.h"
#include "common/presentation/RenderRules.h"
#include "common/presentation/TrackRenderer.h"
#include "fuzz/NullCanvas.h"

using namespace presentation;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto read = readPresentation(text);
  if (read.formats.size() > kMaxFormats) std::abort();
  const std::string written = writePresentation(read.formats);
  const auto again = readPresentation(written);
  if (again.formats.size() != read.formats.size()) std::abort();
  if (writePresentation(again.formats) != written) std::abort();

  NullCanvas canvas;
  for (auto& f : read.formats) {
    TrackRenderer r(screenRules(f, false));
    std::vector<float> record(static_cast<std::size_t>(f.valuesPerRecord()));
    for (int row = 0; row < 3; ++row) {
      for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<float>((row + 1) * (i + 3)) * 37.5f;
      r.drawRow(canvas, f, record, 300 - 2 * row, 302 - 2 * row);
    }
    for (const auto& t : f.tracks)
      for (const auto& c : t.curves) r.drawHeading(canvas, t, c, c.labelPosition);
  }
  return 0;
}
