#include "panelsim/HostProtocol.h"

#include "panelsim/Crc16.h"

namespace panelsim {

void HostProtocol::feed(std::uint8_t byte, std::vector<HostEvent>& events) {
  switch (state_) {
    case State::Idle:
      if (byte == 0xFE) events.push_back({HostEvent::Break, {}});
      else if (byte == 0x0A) state_ = State::Length;
      return;  // anything else between sequences is line noise
    case State::Length:
      length_ = byte;
      body_.clear();
      state_ = length_ == 0 ? State::End : State::Body;
      return;
    case State::Body:
      body_.push_back(byte);
      if (body_.size() == length_) state_ = State::End;
      return;
    case State::End:
      state_ = State::Idle;
      if (byte == 0x0B) finish(events);
      else events.push_back({HostEvent::BadCommand, body_});
      return;
  }
}

void HostProtocol::finish(std::vector<HostEvent>& events) {
  if (body_.size() == 1) {
    switch (body_[0]) {
      case 0x07: events.push_back({HostEvent::Ping, {}}); return;
      case 0x18: events.push_back({HostEvent::Initialise, {}}); return;
      case 0x0A: events.push_back({HostEvent::ReadRequest, {}}); return;
      default: events.push_back({HostEvent::BadCommand, body_}); return;
    }
  }
  // 0x1E, n + 2, n message bytes, CRC high, CRC low: the CRC covers the message only.
  const std::size_t n = body_.size() >= 4 ? body_.size() - 4 : 0;
  if (body_.size() < 4 || body_[0] != 0x1E || body_[1] != n + 2) {
    events.push_back({HostEvent::BadCommand, body_});
    return;
  }
  const std::uint16_t crc = crc16Xmodem(body_.data() + 2, n);
  if (body_[2 + n] != (crc >> 8) || body_[3 + n] != (crc & 0xFF)) {
    events.push_back({HostEvent::BadCommand, body_});
    return;
  }
  events.push_back({HostEvent::Command, std::vector<std::uint8_t>(body_.begin() + 2, body_.begin() + 2 + static_cast<long>(n))});
}

}  // namespace panelsim
