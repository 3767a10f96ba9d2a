// Chart data files from other people and other versions: the header reader, the value
// records, the annotation table, and drawing what was read on screen and on paper.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/presentation/Annotation.h"
#include "common/presentation/ChartDataFile.h"
#include "common/presentation/RenderRules.h"
#include "common/presentation/TrackRenderer.h"
#include "fuzz/NullCanvas.h"

using namespace presentation;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryFile file(std::vector<std::uint8_t>(data, data + size));
  ChartDataReader reader(file);
  const int result = reader.open();
  if (result != 0) {
    if (result != -1 && result != -2) std::abort();
    return 0;
  }
  const auto& h = reader.header();
  if (h.dataOffset > size || (h.annotationOffset != 0 && h.annotationOffset > size)) std::abort();
  std::vector<Annotation> table;
  if (readAnnotations(file, h, table) != 0) std::abort();

  std::vector<float> values;
  const std::size_t got = reader.readFrames(reader.frameCount() / 2, 64, values);
  if (values.size() != got * static_cast<std::size_t>(reader.valuesPerFrame())) std::abort();

  NullCanvas canvas;
  CFormat screen = h.format;
  TrackRenderer onScreen(screenRules(screen, h.loggingUp));
  CFormat paper = h.format;
  toPageUnits(paper, paperLogWidth(true));
  TrackRenderer onPaper(paperRules(paper, true, h.loggingUp, false));
  const auto n = static_cast<std::size_t>(reader.valuesPerFrame());
  for (std::size_t i = 0; i < got; ++i) {
    const std::span<const float> record(values.data() + i * n, n);
    onScreen.drawRow(canvas, screen, record, 388, 390);
    onPaper.drawRow(canvas, paper, record, -static_cast<int>(i) * 15, -static_cast<int>(i) * 15 + 15);
  }
  for (const auto& t : paper.tracks)
    for (const auto& c : t.curves) onPaper.drawHeading(canvas, t, c, c.labelPosition);

  // Pagemill's rewrite and table update keep the file readable.
  ChartHeader header = h;
  if (rewriteChartHeader(file, header, h.format) != 0) std::abort();
  if (writeAnnotations(file, header, table) != 0) std::abort();
  ChartDataReader after(file);
  if (after.open() != 0) std::abort();
  return 0;
}
