#pragma once
// The 1640-byte job record: the job data of a session, stored in every data file.
// Text fields are NUL-terminated within their width; the dialogs allow width - 1 characters.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace records {

constexpr std::size_t kJobRecordSize = 1640;

struct SizeRange {
  float size = 0, from = 0, to = 0;
  friend bool operator==(const SizeRange&, const SizeRange&) = default;
};

struct JobRecord {
  std::string userName, client, wellName;                  // 50 each
  std::string field, rigName, country, province, county;  // 25 each
  std::string jobDescription;                              // 50 (+3 spare)
  float maxDeviation = 0;
  std::string latitude, longitude;                         // 25 each
  float kellyBushing = 0, rigFloor = 0, groundLevel = 0;
  std::string loggingDate;                                 // 25
  std::int32_t runNumber = 0;
  float depthDriller = 0, loggerDepth = 0, bottomLogInterval = 0, topLogInterval = 0, casingShoeDepth = 0;
  std::string casingSize, bitSize, timeCircStopped, bottomReachedAt, unitNumber, fluidType, sampleSource;  // 25 each
  float density = 0, viscosity = 0, fluidLoss = 0, ph = 0;
  float mudResistivity = 0, mudTemperature = 0;
  float filtrateResistivity = 0, filtrateTemperature = 0;
  float cakeResistivity = 0, cakeTemperature = 0;
  std::string loggerName, witnessName, coManName;          // 25 each
  SizeRange bit, casing;
  std::array<SizeRange, 4> bits{}, casings{};
  std::array<std::string, 12> remarks{};                   // 65 each
  friend bool operator==(const JobRecord&, const JobRecord&) = default;
};

void encode(const JobRecord& j, std::uint8_t* out1640);
JobRecord decodeJobRecord(const std::uint8_t* in1640);

// One field of the record by its dialog label, for inspectors and the job data form.
struct JobField {
  const char* label;     // the dialog label, e.g. "User Name:"
  std::size_t offset;
  std::size_t width;     // bytes; text fields only
  enum Kind { Text, Float, Int } kind;
  // The group a repeated label belongs to ("Resistivity of Mud:" for its "Temperature:",
  // "1st Bit Size:" for its "From:"), the line number of a "Remarks" line; nullptr otherwise.
  const char* group = nullptr;
};
// Every field in record order (spare bytes are written as 0); the size / from / to groups
// appear as their parts, labelled as the dialogs show them (e.g. "1st Bit Size:", "From:", "To:").
std::span<const JobField> jobFields();
// A key unique within the record: the label, qualified by its group where the label repeats
// ("Resistivity of Mud: Temperature:", "1st Bit Size: From:", "Remarks 3").
std::string jobFieldKey(const JobField& f);
// The field as text: text fields up to their NUL, numbers in the C locale.
std::string jobFieldText(const std::uint8_t* record1640, const JobField& f);

}  // namespace records
