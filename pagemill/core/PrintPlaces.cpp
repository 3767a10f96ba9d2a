#include "pagemill/core/PrintPlaces.h"

#include <cctype>

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

std::filesystem::path logFolder(const std::vector<std::string>& recent, const std::filesystem::path& dataRoot) {
  for (const auto& r : recent) {
    const std::filesystem::path folder = std::filesystem::path(r).parent_path();
    if (isFolder(folder)) return folder;
  }
  // Sessions sit a few folders below the root (user, client, well, session); a bounded walk
  // keeps a huge or looping tree from stalling the dialog.
  constexpr int kMaxDepth = 6;
  constexpr int kMaxEntries = 50000;
  std::error_code ec;
  std::filesystem::path newest;
  std::filesystem::file_time_type newestTime{};
  std::filesystem::recursive_directory_iterator it(dataRoot, std::filesystem::directory_options::skip_permission_denied,
                                                   ec);
  for (int seen = 0; !ec && it != std::filesystem::recursive_directory_iterator() && seen < kMaxEntries;
       it.increment(ec), ++seen) {
    if (it.depth() >= kMaxDepth) it.disable_recursion_pending();
    const auto& p = it->path();
    std::string ext = p.extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::error_code fe;  // a file that vanished mid-walk is passed over, the walk goes on
    if (ext != ".cdf" || !it->is_regular_file(fe)) continue;
    const auto t = it->last_write_time(fe);
    if (!fe && (newest.empty() || t > newestTime)) {
      newest = p;
      newestTime = t;
    }
  }
  return newest.empty() ? dataRoot : newest.parent_path();
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
