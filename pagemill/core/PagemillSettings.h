#pragma once
// Pagemill's settings: sections and value names, with their defaults.

namespace pagemill {

// The four template kinds; any other kind number uses the header template.
enum TemplateKind : int { kHeaderTemplate = 0, kTailTemplate = 1, kSeparatorTemplate = 2, kRemarksTemplate = 3 };

namespace keys {
inline constexpr const char* kApplication = "Pagemill";
inline constexpr const char* kTemplates = "Templates";
inline constexpr const char* kTemplateValues[4] = {"Header Template", "Tail Template", "Separator Template",
                                                    "Remarks Template"};
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kUnitSystem = "Unit System";  // 1 English (default), 0 Metric
inline constexpr const char* kPrintManager = "PrintManager";
inline constexpr const char* kPrintMode = "Print Mode";          // default 0
inline constexpr const char* kPaperAdvance = "Paper Advance";    // default "NONE"
inline constexpr const char* kOffsetAdvance = "Offset Advance";  // default 0, in 0.01 mm
inline constexpr const char* kRecentFiles = "Recent File List";   // "File1" .. "File4"
// KVR's own settings, read for the data root it records under.
inline constexpr const char* kKvrApplication = "KVR";
inline constexpr const char* kKvrProgramFolders = "Program Folders";
inline constexpr const char* kKvrDataRoot = "Data Root";
}  // namespace keys

inline const char* templateValue(int kind) {
  return keys::kTemplateValues[kind >= 0 && kind <= 3 ? kind : 0];
}

// Print modes of the Print Manager.
enum PrintMode : int { kHpPrinter = 1, kPdfWriter = 2, kPlainPrinter = 3 };

}  // namespace pagemill
