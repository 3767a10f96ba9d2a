#pragma once
// The downhole sender of the program: the telemetry manager.

#include "kvr/calibration/DownholeSender.h"
#include "kvr/link/TeleManager.h"

namespace kvr {

class TeleSender final : public DownholeSender {
 public:
  explicit TeleSender(TeleManager& tele) : tele_(tele) {}
  int sendParameters(const std::vector<records::ToolParameterS*>& chosen, bool all) override {
    return tele_.SendParameters(chosen, all);
  }
  bool sendMessage(const std::uint8_t* bytes, std::uint32_t length) override {
    return tele_.SendDownholeMessage(bytes, length);
  }

 private:
  TeleManager& tele_;
};

}  // namespace kvr
