#include "common/records/JobRecord.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "common/records/LittleEndian.h"

namespace records {

using namespace le;

namespace {

// Visits every member with its offset, so that encode and decode share one layout.
template <class Job, class Text, class Float, class Int>
void visitJob(Job& j, Text text, Float f32, Int i32) {
  text(0, 50, j.userName);
  text(50, 50, j.client);
  text(100, 50, j.wellName);
  text(150, 25, j.field);
  text(175, 25, j.rigName);
  text(200, 25, j.country);
  text(225, 25, j.province);
  text(250, 25, j.county);
  text(275, 50, j.jobDescription);
  f32(328, j.maxDeviation);
  text(332, 25, j.latitude);
  text(357, 25, j.longitude);
  f32(384, j.kellyBushing);
  f32(388, j.rigFloor);
  f32(392, j.groundLevel);
  text(396, 25, j.loggingDate);
  i32(424, j.runNumber);
  f32(428, j.depthDriller);
  f32(432, j.loggerDepth);
  f32(436, j.bottomLogInterval);
  f32(440, j.topLogInterval);
  f32(444, j.casingShoeDepth);
  text(448, 25, j.casingSize);
  text(473, 25, j.bitSize);
  text(498, 25, j.timeCircStopped);
  text(523, 25, j.bottomReachedAt);
  text(548, 25, j.unitNumber);
  text(573, 25, j.fluidType);
  text(598, 25, j.sampleSource);
  f32(624, j.density);
  f32(628, j.viscosity);
  f32(632, j.fluidLoss);
  f32(636, j.ph);
  f32(640, j.mudResistivity);
  f32(644, j.mudTemperature);
  f32(648, j.filtrateResistivity);
  f32(652, j.filtrateTemperature);
  f32(656, j.cakeResistivity);
  f32(660, j.cakeTemperature);
  text(664, 25, j.loggerName);
  text(689, 25, j.witnessName);
  text(714, 25, j.coManName);
  auto range = [&](std::size_t at, auto& r) {
    f32(at, r.size);
    f32(at + 4, r.from);
    f32(at + 8, r.to);
  };
  range(740, j.bit);
  range(752, j.casing);
  for (std::size_t i = 0; i < 4; ++i) range(764 + 12 * i, j.bits[i]);
  for (std::size_t i = 0; i < 4; ++i) range(812 + 12 * i, j.casings[i]);
  for (std::size_t i = 0; i < 12; ++i) text(860 + 65 * i, 65, j.remarks[i]);
}

using F = JobField;
constexpr F text(const char* label, std::size_t at, std::size_t width, const char* group = nullptr) {
  return F{label, at, width, F::Text, group};
}
constexpr F real(const char* label, std::size_t at, const char* group = nullptr) {
  return F{label, at, 4, F::Float, group};
}

constexpr std::array kFields{
    text("User Name:", 0, 50),
    text("Client:", 50, 50),
    text("Well Name:", 100, 50),
    text("Field:", 150, 25),
    text("Rig Name:", 175, 25),
    text("Country:", 200, 25),
    text("Province:", 225, 25),
    text("County:", 250, 25),
    text("Job Description:", 275, 50),
    real("Max. Deviation:", 328),
    text("Latitude:", 332, 25),
    text("Longitude:", 357, 25),
    real("Kelly Bushing Level:", 384),
    real("Rig Floor Level:", 388),
    real("Ground Level:", 392),
    text("Logging Date:", 396, 25),
    F{"Run Number:", 424, 4, F::Int, nullptr},
    real("Depth Driller:", 428),
    real("Logger Depth:", 432),
    real("Bottom Log Interval:", 436),
    real("Top Log Interval:", 440),
    real("Casing Shoe Depth:", 444),
    text("Casing Size:", 448, 25),
    text("Bit Size:", 473, 25),
    text("Time Circ. Stopped:", 498, 25),
    text("Bottom Reached at:", 523, 25),
    text("Unit Number:", 548, 25),
    text("Type of Fluid in Hole:", 573, 25),
    text("Source of Sample:", 598, 25),
    real("Density:", 624),
    real("Viscosity:", 628),
    real("Fluid Loss:", 632),
    real("PH:", 636),
    real("Resistivity of Mud:", 640),
    real("Temperature:", 644, "Resistivity of Mud:"),
    real("Res. of Mud Filtarte:", 648),
    real("Temperature:", 652, "Res. of Mud Filtarte:"),
    real("Res. of Mud Cake:", 656),
    real("Temperature:", 660, "Res. of Mud Cake:"),
    text("Logger's Name:", 664, 25),
    text("Witness' Name:", 689, 25),
    text("CoMan's Name:", 714, 25),
    // The well configuration groups: the size under its label, then "From:" and "To:".
    real("Bit Size:", 740, "Well Configuration"),
    real("From:", 744, "Well Configuration Bit Size:"),
    real("To:", 748, "Well Configuration Bit Size:"),
    real("Casing Size:", 752, "Well Configuration"),
    real("From:", 756, "Well Configuration Casing Size:"),
    real("To:", 760, "Well Configuration Casing Size:"),
    real("1st Bit Size:", 764), real("From:", 768, "1st Bit Size:"), real("To:", 772, "1st Bit Size:"),
    real("2nd Bit Size:", 776), real("From:", 780, "2nd Bit Size:"), real("To:", 784, "2nd Bit Size:"),
    real("3rd Bit Size:", 788), real("From:", 792, "3rd Bit Size:"), real("To:", 796, "3rd Bit Size:"),
    real("4th Bit Size:", 800), real("From:", 804, "4th Bit Size:"), real("To:", 808, "4th Bit Size:"),
    real("1st Casing Size:", 812), real("From:", 816, "1st Casing Size:"), real("To:", 820, "1st Casing Size:"),
    real("2nd Casing Size:", 824), real("From:", 828, "2nd Casing Size:"), real("To:", 832, "2nd Casing Size:"),
    real("3rd Casing Size:", 836), real("From:", 840, "3rd Casing Size:"), real("To:", 844, "3rd Casing Size:"),
    real("4th Casing Size:", 848), real("From:", 852, "4th Casing Size:"), real("To:", 856, "4th Casing Size:"),
    text("Remarks", 860, 65, "1"), text("Remarks", 925, 65, "2"), text("Remarks", 990, 65, "3"),
    text("Remarks", 1055, 65, "4"), text("Remarks", 1120, 65, "5"), text("Remarks", 1185, 65, "6"),
    text("Remarks", 1250, 65, "7"), text("Remarks", 1315, 65, "8"), text("Remarks", 1380, 65, "9"),
    text("Remarks", 1445, 65, "10"), text("Remarks", 1510, 65, "11"), text("Remarks", 1575, 65, "12"),
};

}  // namespace

void encode(const JobRecord& j, std::uint8_t* out) {
  std::memset(out, 0, kJobRecordSize);  // spare bytes stay 0
  visitJob(
      j, [&](std::size_t at, std::size_t w, const std::string& s) { putText(out + at, w, s); },
      [&](std::size_t at, float v) { putF32(out + at, v); },
      [&](std::size_t at, std::int32_t v) { putI32(out + at, v); });
}

JobRecord decodeJobRecord(const std::uint8_t* in) {
  JobRecord j;
  visitJob(
      j, [&](std::size_t at, std::size_t w, std::string& s) { s = getText(in + at, w); },
      [&](std::size_t at, float& v) { v = getF32(in + at); },
      [&](std::size_t at, std::int32_t& v) { v = getI32(in + at); });
  return j;
}

std::span<const JobField> jobFields() { return kFields; }

std::string jobFieldKey(const JobField& f) {
  if (f.group == nullptr) return f.label;
  if (std::strcmp(f.label, "Remarks") == 0) return std::string("Remarks ") + f.group;
  return std::string(f.group) + " " + f.label;
}

std::string jobFieldText(const std::uint8_t* record, const JobField& f) {
  switch (f.kind) {
    case JobField::Text:
      return getText(record + f.offset, f.width);
    case JobField::Int:
      return std::to_string(getI32(record + f.offset));
    case JobField::Float: {
      // Shortest text that reads back to the same float, independent of the locale.
      char buf[32];
      auto r = std::to_chars(buf, buf + sizeof buf, getF32(record + f.offset));
      return std::string(buf, r.ptr);
    }
  }
  return {};
}

}  // namespace records
