#include <gtest/gtest.h>

#include <set>

#include "Bytes.h"
#include "common/records/JobRecord.h"

using namespace bytes_test;
using records::JobField;
using records::JobRecord;

namespace {

// A record with a distinct value in every field; texts fill their width less one.
JobRecord fullRecord() {
  JobRecord j;
  std::string* texts[] = {&j.userName, &j.client, &j.wellName, &j.field, &j.rigName, &j.country,
                          &j.province, &j.county, &j.jobDescription, &j.latitude, &j.longitude,
                          &j.loggingDate, &j.casingSize, &j.bitSize, &j.timeCircStopped,
                          &j.bottomReachedAt, &j.unitNumber, &j.fluidType, &j.sampleSource,
                          &j.loggerName, &j.witnessName, &j.coManName};
  const std::size_t widths[] = {50, 50, 50, 25, 25, 25, 25, 25, 50, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25};
  char c = 'A';
  for (std::size_t i = 0; i < std::size(texts); ++i) *texts[i] = std::string(widths[i] - 1, c++);
  for (std::size_t i = 0; i < 12; ++i) j.remarks[i] = std::string(64, static_cast<char>('a' + i));
  float* floats[] = {&j.maxDeviation, &j.kellyBushing, &j.rigFloor, &j.groundLevel, &j.depthDriller,
                     &j.loggerDepth, &j.bottomLogInterval, &j.topLogInterval, &j.casingShoeDepth,
                     &j.density, &j.viscosity, &j.fluidLoss, &j.ph, &j.mudResistivity, &j.mudTemperature,
                     &j.filtrateResistivity, &j.filtrateTemperature, &j.cakeResistivity, &j.cakeTemperature,
                     &j.bit.size, &j.bit.from, &j.bit.to, &j.casing.size, &j.casing.from, &j.casing.to};
  float v = 1.25f;
  for (float* f : floats) *f = (v += 1.0f);
  for (std::size_t i = 0; i < 4; ++i) {
    j.bits[i] = {v + 100 + i, v + 110 + i, v + 120 + i};
    j.casings[i] = {v + 200 + i, v + 210 + i, v + 220 + i};
  }
  j.runNumber = -7;
  return j;
}

}  // namespace

TEST(JobRecord, FieldsAtTheirOffsetsByHand) {
  const JobRecord j = fullRecord();
  Bytes got(1640, 0xEE);
  records::encode(j, got.data());

  Bytes want(1640, 0);
  const std::size_t textAt[] = {0, 50, 100, 150, 175, 200, 225, 250, 275, 332, 357, 396, 448, 473, 498,
                                523, 548, 573, 598, 664, 689, 714};
  const std::size_t textWidth[] = {50, 50, 50, 25, 25, 25, 25, 25, 50, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25, 25};
  char c = 'A';
  for (std::size_t i = 0; i < std::size(textAt); ++i) placeText(want, textAt[i], std::string(textWidth[i] - 1, c++).c_str());
  for (std::size_t i = 0; i < 12; ++i) placeText(want, 860 + 65 * i, std::string(64, static_cast<char>('a' + i)).c_str());
  const std::size_t floatAt[] = {328, 384, 388, 392, 428, 432, 436, 440, 444, 624, 628, 632, 636, 640, 644,
                                 648, 652, 656, 660, 740, 744, 748, 752, 756, 760};
  float v = 1.25f;
  for (std::size_t at : floatAt) placeF32(want, at, (v += 1.0f));
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t k = 0; k < 3; ++k) {
      placeF32(want, 764 + 12 * i + 4 * k, v + 100 + 10 * k + i);
      placeF32(want, 812 + 12 * i + 4 * k, v + 200 + 10 * k + i);
    }
  }
  place(want, 424, {0xF9, 0xFF, 0xFF, 0xFF});  // run number -7

  EXPECT_TRUE(sameBytes(got, want));
  EXPECT_EQ(records::decodeJobRecord(want.data()), j);
}

TEST(JobRecord, TextFilledToTheLastByteReadsWholeAndSpareBytesAreIgnored) {
  Bytes b(1640, 0);
  for (std::size_t i = 0; i < 50; ++i) b[i] = 'u';   // user name without a NUL
  for (std::size_t i = 325; i < 328; ++i) b[i] = 0xAA;  // spare after the job description
  placeText(b, 275, "logging");
  const JobRecord j = records::decodeJobRecord(b.data());
  EXPECT_EQ(j.userName, std::string(50, 'u'));
  EXPECT_EQ(j.client, "");
  EXPECT_EQ(j.jobDescription, "logging");
  Bytes again(1640);
  records::encode(j, again.data());
  EXPECT_EQ(again[49], 0);  // written back with at most width - 1 characters
  EXPECT_EQ(again[325], 0);
}

TEST(JobRecord, FieldTableCoversTheRecordInOrderLeavingOnlyTheSpareBytes) {
  const auto fields = records::jobFields();
  std::size_t at = 0;
  std::set<std::size_t> gaps;
  std::set<std::string> keys;
  for (const JobField& f : fields) {
    SCOPED_TRACE(f.label);
    ASSERT_GE(f.offset, at);
    for (std::size_t g = at; g < f.offset; ++g) gaps.insert(g);
    at = f.offset + f.width;
    EXPECT_TRUE(keys.insert(records::jobFieldKey(f)).second) << records::jobFieldKey(f);
    if (f.kind != JobField::Text) {
      EXPECT_EQ(f.width, 4u);
    }
  }
  EXPECT_EQ(at, 1640u);
  const std::set<std::size_t> spare{325, 326, 327, 382, 383, 421, 422, 423, 623, 739};
  EXPECT_EQ(gaps, spare);
  EXPECT_EQ(fields.size(), 42u + 6u + 24u + 12u);
}

TEST(JobRecord, FieldTextByLabel) {
  const JobRecord j = fullRecord();
  Bytes b(1640);
  records::encode(j, b.data());
  auto find = [](const std::string& key) -> const JobField& {
    for (const JobField& f : records::jobFields())
      if (records::jobFieldKey(f) == key) return f;
    throw std::runtime_error("no field " + key);
  };
  EXPECT_EQ(records::jobFieldText(b.data(), find("User Name:")), j.userName);
  EXPECT_EQ(records::jobFieldText(b.data(), find("Run Number:")), "-7");
  EXPECT_EQ(records::jobFieldText(b.data(), find("Max. Deviation:")), "2.25");
  EXPECT_EQ(records::jobFieldText(b.data(), find("Res. of Mud Cake: Temperature:")), "20.25");
  EXPECT_EQ(records::jobFieldText(b.data(), find("Remarks 12")), j.remarks[11]);
  EXPECT_EQ(records::jobFieldText(b.data(), find("4th Casing Size: To:")), "249.25");
  EXPECT_STREQ(find("Well Configuration Bit Size:").label, "Bit Size:");
}
