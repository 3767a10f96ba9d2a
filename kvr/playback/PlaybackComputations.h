#pragma once
// The tool computations a playback can run on the rows it replays: the DUNE spinner
// averaged over 30 rows with the flow rate taken from it, and the TARN-B values recomputed
// from their raw readings through the TOOLS library.

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "toolslib/Library.h"

namespace kvr {

// The flow rate of a spinner reading x at the fixed line speed the computation assumes.
double spinnerFlowRate(double x);

// Columns of the row the spinner computation reads and writes.
struct SpinnerColumns {
  std::size_t lineSpeed = 0;  // "LSPD"
  std::size_t spinner = 0;    // "SPINNER"
  std::size_t flowRate = 0;   // "PRATE"
};

class SpinnerComputation {
 public:
  static constexpr std::size_t kRingValues = 30;
  static constexpr std::size_t kLag = 15;  // a row's average is centred 15 rows later
  static constexpr float kLineSpeed = 21.0f;

  explicit SpinnerComputation(SpinnerColumns columns) : columns_(columns) {}
  const SpinnerColumns& columns() const { return columns_; }

  // The ring and its index back to zeros (a new playback).
  void reset();
  // The rows of one block in order (contiguous, `width` floats each). The ring keeps its
  // values from block to block. lastOfFile: the block ends the file, so its last 15 rows
  // are finished by draining the ring.
  void processBlock(float* rows, std::size_t rowCount, std::size_t width, bool lastOfFile);

 private:
  void drain(float* rows, std::size_t rowCount, std::size_t width);
  SpinnerColumns columns_;
  std::array<float, kRingValues> ring_{};
  std::size_t index_ = 0;
};

// Every computation of a tool string, found from its tool list and channels.
class PlaybackComputations {
 public:
  // Finds the DUNE spinner's columns and each TARN-B tool's first column; a computation
  // whose channels are not all in the row is left out.
  PlaybackComputations(tools::Library& library, const records::ToolList& tools, const records::ChannelList& channels);

  bool spinner() const { return spinner_.has_value(); }
  std::size_t tarnBTools() const { return tarnB_.size(); }

  // At the start of a playback: the gyro tools start afresh in the library, the spinner's
  // ring returns to zeros.
  void start(const records::ToolList& tools);
  void processBlock(float* rows, std::size_t rowCount, std::size_t width, bool lastOfFile);

 private:
  tools::Library& library_;
  std::optional<SpinnerComputation> spinner_;
  std::vector<std::size_t> tarnB_;  // first column of each TARN-B tool's values
};

}  // namespace kvr
