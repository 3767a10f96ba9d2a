#pragma once
// The graphic objects Pagemill places on a printed log, kept as a table of 256-byte
// records at the annotation offset of the chart data file.

#include <cstdint>
#include <string>
#include <vector>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "platform/Geometry.h"

namespace presentation {

constexpr std::size_t kAnnotationSize = 256;

enum class AnnotationType : std::uint32_t {
  TextBox = 1, Line = 2, None = 3, Arrow = 4, Rectangle = 5, Ellipse = 6, RoundedBox = 7,
};

struct AnnotationFont {
  std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 400;  // 0.001 inch
  std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
  std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  std::string face;  // at most 31 characters
  friend bool operator==(const AnnotationFont&, const AnnotationFont&) = default;
};

struct Annotation {
  bool transparent = false;
  std::uint32_t penWidthUnit = 10;  // 10 English, 25 Metric
  std::uint32_t fillColour = 0xFFFFFF;
  std::uint32_t penColour = 0;
  std::uint32_t fillPattern = 0;
  std::uint32_t penStyle = 0;
  std::uint32_t penWidth = 1;
  std::uint32_t textColour = 0;
  AnnotationFont font;
  platform::Point lineEnd, lineStart;
  std::uint32_t type = static_cast<std::uint32_t>(AnnotationType::None);
  std::string text;  // at most 99 characters
  platform::Rect frame;  // x1, y1, x2, y2 in page units, y down the log
  friend bool operator==(const Annotation&, const Annotation&) = default;
};

void encodeAnnotation(const Annotation& a, std::uint8_t* out256);
Annotation decodeAnnotation(const std::uint8_t* in256);

// The table of a file whose header was read: whole records from the annotation offset to
// the end (a torn last record is left out). 0, or -1 on a short read.
int readAnnotations(ByteFile& file, const ChartHeader& header, std::vector<Annotation>& out);

// Writes the table at the annotation offset (the end of the file when the file had none)
// and cuts the file after it; an empty table cuts the file back to the value records and
// sets the offset to 0. Updates header.annotationOffset. 0, or -1.
int writeAnnotations(ByteFile& file, ChartHeader& header, const std::vector<Annotation>& table);

}  // namespace presentation
