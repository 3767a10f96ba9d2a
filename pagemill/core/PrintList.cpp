#include "pagemill/core/PrintList.h"

#include "common/presentation/TextCursor.h"

namespace pagemill {

ParsedEntry parseEntry(std::string_view entry) {
  struct Prefix {
    const char* text;
    EntryKind kind;
  };
  static constexpr Prefix kPrefixes[] = {
      {kHeaderPrefix, EntryKind::Header},   {kTailPrefix, EntryKind::Tail},       {kSeparatorPrefix, EntryKind::Separator},
      {kRemarksPrefix, EntryKind::Remarks}, {kFilePrefix, EntryKind::File},       {kPicturePrefix, EntryKind::Picture},
      {kTextFilePrefix, EntryKind::TextFile},
  };
  for (const auto& p : kPrefixes) {
    const std::string_view prefix(p.text);
    if (entry.substr(0, prefix.size()) == prefix) return {p.kind, std::string(entry.substr(prefix.size()))};
  }
  return {};
}

std::vector<std::string> readPrintList(std::string_view text) {
  if (text.size() > kListFileMax) text = text.substr(0, kListFileMax);
  std::vector<std::string> out;
  presentation::TextCursor in(text);
  while (!in.atEnd()) {
    std::string_view line = in.line();
    if (line.size() > kListLineMax) line = line.substr(0, kListLineMax);
    if (!line.empty()) out.emplace_back(line);
  }
  return out;
}

std::string writePrintList(const std::vector<std::string>& entries) {
  std::string out;
  for (const auto& e : entries) out += e + "\r\n";
  return out;
}

}  // namespace pagemill
