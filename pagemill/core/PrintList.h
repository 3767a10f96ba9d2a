#pragma once
// The print list: one entry a line, a prefix and its argument, and its file (.wpl).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pagemill {

enum class EntryKind { Header, Tail, Separator, Remarks, File, Picture, TextFile, Unknown };

inline constexpr const char* kHeaderPrefix = "&HEADER: ";
inline constexpr const char* kTailPrefix = "&TAIL: ";
inline constexpr const char* kSeparatorPrefix = "&SEPARATOR: ";
inline constexpr const char* kRemarksPrefix = "&REMARKS: ";
inline constexpr const char* kFilePrefix = "&FILE: ";
inline constexpr const char* kPicturePrefix = "&BMP: ";
inline constexpr const char* kTextFilePrefix = "&TEXTFILE: ";

struct ParsedEntry {
  EntryKind kind = EntryKind::Unknown;
  std::string argument;
};
ParsedEntry parseEntry(std::string_view entry);

// A list file line, and a separator text, are cut at these lengths.
constexpr std::size_t kListLineMax = 254;
constexpr std::size_t kSeparatorTextMax = 50;
// A list file is read only up to this size.
constexpr std::size_t kListFileMax = 1 << 20;

// The lines of a list file (LF, CR LF or CR), each cut at 254 characters; the rest of an
// overlong line is dropped rather than read as another entry, and empty lines are skipped.
std::vector<std::string> readPrintList(std::string_view text);
// One entry a line, each ending in CR LF.
std::string writePrintList(const std::vector<std::string>& entries);

}  // namespace pagemill
