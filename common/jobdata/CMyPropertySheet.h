#pragma once
// The "Job Data Form": four pages over a copy of the job record. Text fields take one
// character less than their width; numbers must read as numbers.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/records/JobRecord.h"

namespace jobdata {

class CMyPropertySheet {
 public:
  static constexpr const char* kTitle = "Job Data Form";
  struct Page {
    const char* title;
    std::vector<const records::JobField*> fields;
  };
  // "Basic Job Data", "Additional Job Data", "Well Configuration", "Remarks".
  static const std::array<Page, 4>& pages();

  explicit CMyPropertySheet(const records::JobRecord& job);

  std::string value(const records::JobField& f) const;
  // The most characters a text field takes; 0 for numbers.
  static std::size_t maxLength(const records::JobField& f) { return f.kind == records::JobField::Text ? f.width - 1 : 0; }
  // Text longer than the field is cut at its limit; a number that does not read leaves the
  // field as it was and returns false. An empty number field is 0.
  bool setValue(const records::JobField& f, const std::string& text);
  // The edited record (what OK copies back).
  records::JobRecord result() const { return records::decodeJobRecord(bytes_.data()); }

 private:
  std::array<std::uint8_t, records::kJobRecordSize> bytes_{};
};

}  // namespace jobdata
