#pragma once
// The frames a tool sends instead of its readings while it transfers its stored calibration
// (after the READCAL command): in the tool's own data bytes, [0xCA, chunk index, chunk
// count, payload..., check], the check being the byte sum of the rest plus 0x5A. The
// simulated tools encode them, the TOOLS library takes them out of the frames.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tools::cal {

inline constexpr std::uint8_t kTransferMarker = 0xCA;
inline constexpr std::size_t kTransferOverhead = 4;
// Tool commands of the calibration procedures: [3, address, 0, command] (reference mode
// adds the point: [4, address, 0, 0x68, point]).
inline constexpr std::uint8_t kStopCommand = 0x65;
inline constexpr std::uint8_t kReadCalCommand = 0x66;
inline constexpr std::uint8_t kReferenceCommand = 0x68;

struct TransferChunk {
  std::uint8_t index = 0;
  std::uint8_t count = 0;
  std::vector<std::uint8_t> payload;
};

// The frames that carry `block` in `dataBytes` bytes each; empty when the block does not
// fit 255 frames or the frame has no room for a payload.
std::vector<std::vector<std::uint8_t>> encodeTransfer(std::span<const std::uint8_t> block, std::size_t dataBytes);
// A chunk when the bytes are a well-formed transfer frame; the payload of the last chunk
// stops at its first 0 byte.
std::optional<TransferChunk> decodeTransfer(std::span<const std::uint8_t> frame);

// Gathers the chunks of one block in any order; a chunk count that changes starts again.
class TransferCollector {
 public:
  void reset();
  void take(const TransferChunk& chunk);
  bool complete() const { return count_ != 0 && received_ == count_; }
  int percent() const { return count_ == 0 ? 0 : received_ * 100 / count_; }
  std::vector<std::uint8_t> block() const;

 private:
  std::uint8_t count_ = 0;
  int received_ = 0;
  std::vector<std::vector<std::uint8_t>> chunks_;
  std::vector<bool> taken_;
};

}  // namespace tools::cal
