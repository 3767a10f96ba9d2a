#pragma once
// The job record that header pages print (Header > Load Static Data, Header > Header Info)
// and the texts of its 61 job data items.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/datafile/FilePorts.h"
#include "common/records/JobRecord.h"

namespace pagemill {

class CHeaderInfo {
 public:
  static constexpr int kItemCount = 61;
  static constexpr int kFixedNumber = 200;  // what item 55 prints

  CHeaderInfo() { bytes_.fill(0); }

  const std::array<std::uint8_t, records::kJobRecordSize>& bytes() const { return bytes_; }
  void setBytes(const std::uint8_t* record1640);
  records::JobRecord record() const { return records::decodeJobRecord(bytes_.data()); }
  void setRecord(const records::JobRecord& job);

  // The text of item 1..61; empty for any other number.
  std::string itemText(int item) const;

  // Walks the static sections of a KVR data file and takes its job record: 0, -1 when a
  // read fails, -2 when a repeated count or length disagrees. The record stays as it was
  // on failure.
  int loadStaticData(kvr::FileSystem& fs, const std::filesystem::path& kvrFile);

 private:
  std::array<std::uint8_t, records::kJobRecordSize> bytes_;
};

}  // namespace pagemill
