#pragma once
// How the parameter and calibration editors reach the tools: the telemetry manager's sends,
// behind a port so that the editors need no link to be tested.

#include <cstdint>
#include <vector>

#include "common/records/ToolParameter.h"

namespace kvr {

class DownholeSender {
 public:
  virtual ~DownholeSender() = default;
  // "Send Selected" (all = false) or "Send All": the number of messages sent.
  virtual int sendParameters(const std::vector<records::ToolParameterS*>& chosen, bool all) = 0;
  // One downhole message [n, address, ...]; false when it did not go out.
  virtual bool sendMessage(const std::uint8_t* bytes, std::uint32_t length) = 0;
};

}  // namespace kvr
