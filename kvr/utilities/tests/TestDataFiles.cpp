#include "kvr/utilities/tests/TestDataFiles.h"

#include <stdexcept>

#include "common/datafile/DataFileInspection.h"

namespace testfiles {

Read read(kvr::MemoryFileSystem& fs, const std::filesystem::path& path) {
  Read out;
  kvr::CFileManager fm(fs);
  if (kvr::inspectDataFile(fm, path, out.contents) != 0) throw std::runtime_error("output not readable");
  const std::size_t m = out.contents.summary.rowWidth;
  std::vector<float> buf(m * 64);
  for (std::size_t n; (n = fm.readWholeRows(buf, m)) > 0;)
    for (std::size_t i = 0; i < n; ++i) out.rows.emplace_back(buf.begin() + i * m, buf.begin() + (i + 1) * m);
  return out;
}

}  // namespace testfiles
