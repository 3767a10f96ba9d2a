#include "common/presentation/Annotation.h"

#include <cstring>

#include "common/records/LittleEndian.h"

namespace presentation {

namespace le = records::le;

void encodeAnnotation(const Annotation& a, std::uint8_t* p) {
  std::memset(p, 0, kAnnotationSize);
  p[4] = a.transparent ? 1 : 0;
  le::putU32(p + 8, a.penWidthUnit);
  le::putU32(p + 12, a.fillColour);
  le::putU32(p + 16, a.penColour);
  le::putU32(p + 24, a.fillPattern);
  le::putU32(p + 28, a.penStyle);
  le::putU32(p + 32, a.penWidth);
  le::putU32(p + 36, a.textColour);
  const auto& f = a.font;
  le::putI32(p + 40, f.height);
  le::putI32(p + 44, f.width);
  le::putI32(p + 48, f.escapement);
  le::putI32(p + 52, f.orientation);
  le::putI32(p + 56, f.weight);
  const std::uint8_t flags[8] = {f.italic, f.underline, f.strikeOut, f.charSet,
                                 f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily};
  std::memcpy(p + 60, flags, 8);
  le::putText(p + 68, 32, f.face);
  le::putI32(p + 100, a.lineEnd.x);
  le::putI32(p + 104, a.lineEnd.y);
  le::putI32(p + 108, a.lineStart.x);
  le::putI32(p + 112, a.lineStart.y);
  le::putU32(p + 132, a.type);
  le::putText(p + 136, 100, a.text);
  le::putI32(p + 236, a.frame.left);
  le::putI32(p + 240, a.frame.top);
  le::putI32(p + 244, a.frame.right);
  le::putI32(p + 248, a.frame.bottom);
}

Annotation decodeAnnotation(const std::uint8_t* p) {
  Annotation a;
  a.transparent = p[4] != 0;
  a.penWidthUnit = le::getU32(p + 8);
  a.fillColour = le::getU32(p + 12);
  a.penColour = le::getU32(p + 16);
  a.fillPattern = le::getU32(p + 24);
  a.penStyle = le::getU32(p + 28);
  a.penWidth = le::getU32(p + 32);
  a.textColour = le::getU32(p + 36);
  auto& f = a.font;
  f.height = le::getI32(p + 40);
  f.width = le::getI32(p + 44);
  f.escapement = le::getI32(p + 48);
  f.orientation = le::getI32(p + 52);
  f.weight = le::getI32(p + 56);
  f.italic = p[60];
  f.underline = p[61];
  f.strikeOut = p[62];
  f.charSet = p[63];
  f.outPrecision = p[64];
  f.clipPrecision = p[65];
  f.quality = p[66];
  f.pitchAndFamily = p[67];
  f.face = le::getText(p + 68, 32);
  a.lineEnd = {le::getI32(p + 100), le::getI32(p + 104)};
  a.lineStart = {le::getI32(p + 108), le::getI32(p + 112)};
  a.type = le::getU32(p + 132);
  a.text = le::getText(p + 136, 100);
  a.frame = {le::getI32(p + 236), le::getI32(p + 240), le::getI32(p + 244), le::getI32(p + 248)};
  return a;
}

int readAnnotations(ByteFile& file, const ChartHeader& header, std::vector<Annotation>& out) {
  out.clear();
  if (header.annotationOffset == 0) return 0;
  const std::uint64_t size = file.size();
  if (header.annotationOffset > size) return -1;
  const std::uint64_t count = (size - header.annotationOffset) / kAnnotationSize;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count * kAnnotationSize));
  if (file.read(header.annotationOffset, bytes) != bytes.size()) return -1;
  out.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) out.push_back(decodeAnnotation(bytes.data() + i * kAnnotationSize));
  return 0;
}

int writeAnnotations(ByteFile& file, ChartHeader& header, const std::vector<Annotation>& table) {
  std::uint8_t word[4];
  if (table.empty()) {
    if (header.annotationOffset == 0) return 0;
    if (!file.truncate(header.annotationOffset)) return -1;
    le::putU32(word, 0);
    if (file.write(4, word) != 4) return -1;
    header.annotationOffset = 0;
    return 0;
  }
  const std::uint64_t at = header.annotationOffset != 0 ? header.annotationOffset : file.size();
  if (at > UINT32_MAX) return -1;
  std::vector<std::uint8_t> bytes(table.size() * kAnnotationSize);
  for (std::size_t i = 0; i < table.size(); ++i) encodeAnnotation(table[i], bytes.data() + i * kAnnotationSize);
  if (file.write(at, bytes) != bytes.size()) return -1;
  if (!file.truncate(at + bytes.size())) return -1;
  le::putU32(word, static_cast<std::uint32_t>(at));
  if (file.write(4, word) != 4) return -1;
  header.annotationOffset = static_cast<std::uint32_t>(at);
  return 0;
}

}  // namespace presentation
