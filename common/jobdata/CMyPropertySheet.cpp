#include "common/jobdata/CMyPropertySheet.h"

#include <charconv>
#include <cmath>

#include "common/records/LittleEndian.h"

namespace jobdata {

const std::array<CMyPropertySheet::Page, 4>& CMyPropertySheet::pages() {
  static const std::array<Page, 4> list = [] {
    std::array<Page, 4> p{{{"Basic Job Data", {}}, {"Additional Job Data", {}}, {"Well Configuration", {}},
                           {"Remarks", {}}}};
    for (const auto& f : records::jobFields()) {
      int page = f.offset < 428 ? 0 : f.offset < 740 ? 1 : f.offset < 860 ? 2 : 3;
      p[page].fields.push_back(&f);
    }
    return p;
  }();
  return list;
}

CMyPropertySheet::CMyPropertySheet(const records::JobRecord& job) { records::encode(job, bytes_.data()); }

std::string CMyPropertySheet::value(const records::JobField& f) const { return records::jobFieldText(bytes_.data(), f); }

namespace {
std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

bool CMyPropertySheet::setValue(const records::JobField& f, const std::string& text) {
  std::uint8_t* at = bytes_.data() + f.offset;
  switch (f.kind) {
    case records::JobField::Text:
      records::le::putText(at, f.width, std::string_view(text).substr(0, maxLength(f)));
      return true;
    case records::JobField::Int: {
      std::string_view s = trimmed(text);
      std::int32_t v = 0;
      if (!s.empty()) {
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec != std::errc() || end != s.data() + s.size()) return false;
      }
      records::le::putI32(at, v);
      return true;
    }
    case records::JobField::Float: {
      std::string_view s = trimmed(text);
      float v = 0;
      if (!s.empty()) {
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
      }
      records::le::putF32(at, v);
      return true;
    }
  }
  return false;
}

}  // namespace jobdata
