#pragma once
// One averaging window of a north-seeking station (or a roll-test measurement): the means of
// the 21 TARN-C channels over the sample rows that arrived while the indexer stood still, and
// the noise of the six raw readings.

#include <array>
#include <cstdint>
#include <vector>

#include "common/datafile/SampleRing.h"
#include "common/records/ChannelStruct.h"
#include "kvr/tarnc/SessionFiles.h"

namespace kvr::tarnc {

struct PositionAverage {
  double reserved = 0;
  double rates[3] = {};      // RATEX, RATEY, RATEZ
  double acc[3] = {};        // ACCX, ACCY, ACCZ
  double rawRates[3] = {};   // RAWRATEGX, RAWRATEGY, RAWRATEGZ (mV)
  double rawAcc[3] = {};     // RAWAX, RAWAY, RAWAZ (mV)
  float temps[5] = {};       // TEMPAX, TEMPAY, TEMPAZ, TEMPGXY, TEMPGZ
  float angles[4] = {};      // DEVI, HAZI, HSTF, TFACE
  std::uint32_t motorPosition = 0;
  double rawNoise[6] = {};   // RAWRATEGX, RAWRATEGY, RAWRATEGZ, RAWAX, RAWAY, RAWAZ
  std::uint32_t sampleCount = 0;
};

class PositionAverager {
 public:
  // Starts a window at the newest row of the ring; the columns are looked up by name.
  void reset(const SampleRing& ring, const records::ChannelList& channels, RawDataLog& log);
  // Takes every row added since the last call.
  void accumulate(const SampleRing& ring, RawDataLog& log);
  // False, leaving the record as it was, when fewer than two rows came: no mean or noise of those.
  bool finish(PositionAverage& out, std::uint16_t anglePos, RawDataLog& log) const;
  std::size_t rows() const { return raw_.size(); }

 private:
  std::array<long, 21> columns_{};
  std::size_t read_ = 0;
  double sums_[12] = {};
  float floatSums_[9] = {};
  // HAZI, HSTF, TFACE are angles: their mean is taken on the circle.
  double sin_[3] = {}, cos_[3] = {};
  bool negative_[3] = {};
  std::vector<std::array<double, 6>> raw_;  // a row each: RAWRATEGX .. RAWAZ
};

}  // namespace kvr::tarnc
