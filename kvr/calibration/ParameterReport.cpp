#include "kvr/calibration/ParameterReport.h"

#include <cstdio>
#include <string>

#include "common/records/ToolCodes.h"
#include "kvr/calibration/CalibrationMessages.h"
#include "kvr/calibration/ReportFile.h"

namespace kvr {

namespace t = cal_text;

namespace {

const char* headingOf(std::uint8_t code) {
  switch (code) {
    case records::kBrix: return "\n\nParameters For BRIX:\n\n";
    case records::kTarn: return "\n\nParameters For TARN:\n\n";
    case records::kTarnB: return "\n\nParameters For TARN B:\n\n";
    case records::kTarnC: return "\n\nParameters For TARN C:\n\n";
    case records::kDune: return "\n\nParameters For DUNE:\n\n";
    case records::kSevo: return "\n\nParameters For SEVO:\n\n";
    case records::kQuil: return "\n\nParameters For QUIL:\n\n";
    case records::kVunt: return "\n\nParameters For VUNT:\n\n";
    case records::kHavo: return "\n\nParameters For HAVO:\n\n";
    case records::kPlov: return "\n\nParameters For PLOV:\n\n";
    case records::kFyrd: return "\n\nParameters For FYRD:\n\n";
    default: return nullptr;
  }
}

std::string line(const std::string& mnemonic, const std::string& name, bool choice, const std::string& choiceText,
                 float value, const std::string& unit) {
  char text[512];
  if (choice)
    std::snprintf(text, sizeof text, "%-10s %50s %10s %10s\n", mnemonic.c_str(), name.c_str(), choiceText.c_str(),
                  unit.c_str());
  else
    std::snprintf(text, sizeof text, "%-10s %50s %10.2f %10s\n", mnemonic.c_str(), name.c_str(),
                  static_cast<double>(value), unit.c_str());
  return text;
}

template <class Record>
std::string choiceTextOf(const Record& r) {
  return r.selectedChoice < r.choiceTexts.size() ? r.choiceTexts[r.selectedChoice] : std::string();
}

}  // namespace

std::filesystem::path writeParameterReport(FileSystem& fs, const std::filesystem::path& folder,
                                           const ParameterReportInput& input, const platform::Clock& clock,
                                           platform::Prompter& prompter) {
  std::string text;
  const auto now = clock.localTime();
  char header[160];
  std::snprintf(header, sizeof header, t::kParameterHeaderFormat, reportTime(now).c_str(), reportDate(now).c_str());
  text += header;
  for (std::size_t i = records::kSvyMode; i < records::kPbDepthOffset && i < input.system.size(); ++i) {
    const auto& r = input.system[i];
    text += line(r.code, r.name, r.type == 1, choiceTextOf(r), r.value, r.unit);
  }
  for (const auto& entry : input.string) {
    if (!entry.isTool()) continue;
    const char* heading = headingOf(entry.code());
    tools::Family* f = input.library.family(entry.code());
    if (heading == nullptr || f == nullptr) continue;
    text += heading;
    for (const auto& p : f->getParameterList())
      text += line(p.mnemonic, p.description, p.choiceCount > 0, choiceTextOf(p), p.value, p.unit);
  }

  auto report = ReportFile::create(fs, folder, "ParamterReport");
  const bool written = report && report->write(text) && report->close();
  if (!written) {
    platform::tell(prompter, t::kTitleError, t::kReportFailed, platform::Icon::Error);
    return {};
  }
  platform::tell(prompter, t::kTitleMessage, t::kReportCreated + report->path().string() + t::kReportCreatedEnd,
                 platform::Icon::Information);
  return report->path();
}

}  // namespace kvr
