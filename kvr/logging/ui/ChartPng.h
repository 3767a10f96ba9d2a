#pragma once
// A chart data file's picture saved as a PNG: the log window's drawing of every row, off
// screen. Text needs a QGuiApplication (the offscreen platform does).

#include <filesystem>
#include <ostream>
#include <string_view>
#include <vector>

#include "common/presentation/HeaderBox.h"

namespace kvr::ui {

// header: the job's texts; the format name and scale come from the file when left empty.
// modeWord: the system mode word of the log. False when the file cannot be read as a
// chart data file or the picture cannot be written.
bool saveChartPng(const std::filesystem::path& cdf, const std::filesystem::path& png,
                  presentation::HeaderTexts header, int modeWord);

// Each chart data file's picture beside it, for a command-line program: brings up an
// offscreen GUI application for the drawing when none runs, prints "file: PNG" on out for
// each picture and "PROGRAM: no picture of CDF" on err for each file that could not be drawn.
void listChartPngsBeside(const std::vector<std::filesystem::path>& cdfs, const presentation::HeaderTexts& header,
                         int modeWord, std::ostream& out, std::ostream& err, std::string_view program);

// The PNG beside a chart data file: same name, ".png".
inline std::filesystem::path chartPngPath(const std::filesystem::path& cdf) {
  auto p = cdf;
  return p.replace_extension(".png");
}

}  // namespace kvr::ui
