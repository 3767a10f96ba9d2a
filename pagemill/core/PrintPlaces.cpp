#include "pagemill/core/PrintPlaces.h"

#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintJob.h"
#include "pagemill/core/PrintList.h"

namespace pagemill {

namespace {

constexpr const char* kShippedNames[4] = {"HEADER.TXT", "TAIL.TXT", "SEPARATOR.TXT", "REMARKS.TXT"};

bool isFolder(const std::filesystem::path& p) {
  std::error_code ec;
  return !p.empty() && std::filesystem::is_directory(p, ec);
}

bool present(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec) || std::filesystem::is_symlink(p, ec);
}

}  // namespace

std::filesystem::path defaultPdfPath(const std::vector<std::string>& entries, const std::filesystem::path& dataRoot) {
  std::filesystem::path folder = dataRoot;
  std::string stem = kDocumentName;
  for (const auto& e : entries) {
    const ParsedEntry p = parseEntry(e);
    if (p.kind != EntryKind::File) continue;
    const std::filesystem::path log(p.argument);
    if (isFolder(log.parent_path()) && !log.stem().empty()) {
      folder = log.parent_path();
      stem = log.stem().string();
    }
    break;
  }
  std::filesystem::path out = folder / (stem + ".pdf");
  for (int n = 2; present(out) && n < 10000; ++n) out = folder / (stem + " (" + std::to_string(n) + ").pdf");
  return out;
}

std::filesystem::path templateFolder(const platform::Settings& settings, int kind,
                                     const std::filesystem::path& shippedTemplates) {
  const std::filesystem::path chosen = settings.getString(keys::kTemplates, templateValue(kind), "");
  return isFolder(chosen.parent_path()) ? chosen.parent_path() : shippedTemplates;
}

void chooseShippedTemplates(platform::Settings& settings, const std::filesystem::path& shippedTemplates) {
  for (int kind = 0; kind < 4; ++kind) {
    if (!settings.getString(keys::kTemplates, templateValue(kind), "").empty()) continue;
    const auto shipped = shippedTemplates / kShippedNames[kind];
    if (present(shipped)) settings.setString(keys::kTemplates, templateValue(kind), shipped.string());
  }
}

}  // namespace pagemill
