#include "toolslib/calibration/TransferFrame.h"

namespace tools::cal {

namespace {
std::uint8_t checkOf(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0x5A;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}
}  // namespace

std::vector<std::vector<std::uint8_t>> encodeTransfer(std::span<const std::uint8_t> block, std::size_t dataBytes) {
  if (dataBytes <= kTransferOverhead) return {};
  const std::size_t room = dataBytes - kTransferOverhead;
  const std::size_t count = block.empty() ? 1 : (block.size() + room - 1) / room;
  if (count > 255) return {};
  std::vector<std::vector<std::uint8_t>> frames;
  for (std::size_t i = 0; i < count; ++i) {
    std::vector<std::uint8_t> f(dataBytes, 0);
    f[0] = kTransferMarker;
    f[1] = static_cast<std::uint8_t>(i);
    f[2] = static_cast<std::uint8_t>(count);
    for (std::size_t k = 0; k < room && i * room + k < block.size(); ++k) f[3 + k] = block[i * room + k];
    f[dataBytes - 1] = checkOf(std::span(f).first(dataBytes - 1));
    frames.push_back(std::move(f));
  }
  return frames;
}

std::optional<TransferChunk> decodeTransfer(std::span<const std::uint8_t> frame) {
  if (frame.size() <= kTransferOverhead || frame[0] != kTransferMarker) return std::nullopt;
  if (frame[2] == 0 || frame[1] >= frame[2]) return std::nullopt;
  if (checkOf(frame.first(frame.size() - 1)) != frame.back()) return std::nullopt;
  TransferChunk c;
  c.index = frame[1];
  c.count = frame[2];
  c.payload.assign(frame.begin() + 3, frame.end() - 1);
  if (c.index + 1 == c.count) {
    for (std::size_t i = 0; i < c.payload.size(); ++i)
      if (c.payload[i] == 0) {
        c.payload.resize(i);
        break;
      }
  }
  return c;
}

void TransferCollector::reset() {
  count_ = 0;
  received_ = 0;
  chunks_.clear();
  taken_.clear();
}

void TransferCollector::take(const TransferChunk& chunk) {
  if (chunk.count != count_) {
    reset();
    count_ = chunk.count;
    chunks_.resize(count_);
    taken_.assign(count_, false);
  }
  if (!taken_[chunk.index]) ++received_;
  taken_[chunk.index] = true;
  chunks_[chunk.index] = chunk.payload;
}

std::vector<std::uint8_t> TransferCollector::block() const {
  std::vector<std::uint8_t> out;
  for (const auto& s : chunks_) out.insert(out.end(), s.begin(), s.end());
  return out;
}

}  // namespace tools::cal
