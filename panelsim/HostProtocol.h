#pragma once
// What the panel hears from the host: ping, initialise, read request, break and command
// frames carrying downhole messages. Bytes arrive in any split; each complete sequence
// becomes one event.

#include <cstdint>
#include <vector>

namespace panelsim {

struct HostEvent {
  enum Kind { Ping, Initialise, ReadRequest, Break, Command, BadCommand } kind;
  std::vector<std::uint8_t> message;  // Command: the downhole message [n, address, command, values]
};

class HostProtocol {
 public:
  // Feeds one byte; appends any completed event.
  void feed(std::uint8_t byte, std::vector<HostEvent>& events);
  void reset() { state_ = State::Idle, body_.clear(); }

 private:
  enum class State { Idle, Length, Body, End };
  void finish(std::vector<HostEvent>& events);
  State state_ = State::Idle;
  std::uint8_t length_ = 0;
  std::vector<std::uint8_t> body_;
};

}  // namespace panelsim
