#include "toolslib/calibration/CalibrationKit.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace tools::cal {

int put(char* text, const std::string& s, int code) {
  const std::size_t n = s.size() < kTextBytes - 1 ? s.size() : kTextBytes - 1;
  std::memcpy(text, s.data(), n);
  text[n] = 0;
  return code;
}

std::string changeParameter(records::ToolParameterS& p, double value, bool accepted, int decimals) {
  char s[160];
  std::snprintf(s, sizeof s, "%s %.*f -> %.*f %s\n", p.mnemonic.c_str(), decimals, static_cast<double>(p.value), decimals,
                value, p.unit.c_str());
  if (accepted) p.value = static_cast<float>(value);
  return s;
}

int putMessage(char* text, std::initializer_list<std::uint8_t> bytes, int code) {
  text[0] = static_cast<char>(bytes.size());
  std::size_t i = 1;
  for (std::uint8_t b : bytes) text[i++] = static_cast<char>(b);
  text[i] = 0;
  return code;
}

void CalibrationKit::reset() {
  transfer_.reset();
  listening_ = requested_ = false;
  target_ = counted_ = 0;
}

bool CalibrationKit::onFrame(std::span<const std::uint8_t> bytes, const double* values, Globals& globals) {
  if (listening_) {
    if (const auto chunk = decodeTransfer(bytes)) {
      transfer_.take(*chunk);
      globals.CalProgressPos = transfer_.percent();
      return true;
    }
  }
  if (counted_ < target_ && settle_ > 0) {
    --settle_;
  } else if (counted_ < target_) {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const double v = values[fields_[i]];
      sum_[i] += v;
      sumSq_[i] += v * v;
    }
    ++counted_;
    globals.CalProgressPos = counted_ * 100 / target_;
  }
  return false;
}

int CalibrationKit::transfer(std::uint8_t address, unsigned step, unsigned* status, char* text, Globals& globals) {
  switch (step) {
    case 0:
      reset();
      globals.CalProgressPos = 0;
      return put(text, "Reading the stored calibration of the tool...\n", kShow);
    case 1:
      if (!requested_) {
        requested_ = listening_ = true;
        *status = 1;
        return putMessage(text, {address, 0x00, kReadCalCommand}, kWait);
      }
      if (!transfer_.complete()) {
        *status = 2;
        return kWait;
      }
      listening_ = false;
      *status = 0;
      return kWait;
    case 2: {
      const auto block = transfer_.block();
      stored_.assign(block.begin(), block.end());
      return put(text, "Stored calibration: " + stored_ + "\n", kShow);
    }
    default: reset(); return kEnd;
  }
}

int CalibrationKit::reference(const ReferencePlan& plan, const Accept& accept, std::uint8_t address, unsigned step,
                              unsigned* status, char* text, Globals& globals) {
  // Four steps per point, then accept, stop the reference state, the verdict, the end.
  const unsigned points = static_cast<unsigned>(plan.points.size());
  const unsigned perPoint = 4;
  if (step == 0) result_ = ReferenceResult{};
  if (step < points * perPoint) {
    const unsigned p = step / perPoint;
    switch (step % perPoint) {
      case 0:
        if (p == 0) return put(text, plan.points[p].prompt, kAsk);
        *status = 0;  // Try Again measures from the first point
        return put(text, plan.points[p].prompt, kAskBetween);
      case 1:
        fields_ = plan.fields;
        sum_.assign(fields_.size(), 0.0);
        sumSq_.assign(fields_.size(), 0.0);
        counted_ = 0;
        target_ = plan.frames;
        settle_ = plan.settle;
        globals.CalProgressPos = 0;
        return putMessage(text, {address, 0x00, kReferenceCommand, static_cast<std::uint8_t>(p)}, kSend);
      case 2: {
        char s[64];
        std::snprintf(s, sizeof s, "Measuring point %u...", p + 1);
        return put(text, s, kMeasure);
      }
      default: {
        std::vector<double> mean(fields_.size()), noise(fields_.size());
        std::string out;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
          const double n = counted_ > 0 ? counted_ : 1;
          mean[i] = sum_[i] / n;
          noise[i] = std::sqrt(std::fmax(0.0, sumSq_[i] / n - mean[i] * mean[i]));
          char line[160];
          std::snprintf(line, sizeof line, "Point %u: %s mean %.4f, noise %.4f %s (%d frames)\n", p + 1,
                        plan.names[i], mean[i], noise[i], plan.unit, counted_);
          out += line;
        }
        target_ = counted_ = 0;
        result_.mean.push_back(mean);
        result_.noise.push_back(noise);
        return put(text, out, kShow);
      }
    }
  }
  switch (step - points * perPoint) {
    case 0:
      *status = 0;  // Try Again measures again from the first point
      return put(text, "Accept the result of the calibration?\n" + accept(result_, false), kAccept);
    case 1: return putMessage(text, {address, 0x00, kStopCommand}, kSend);
    case 2:
      if (*status == 2) return put(text, "The calibration result was discarded.\n", kShow);
      return put(text, accept(result_, true), kShow);
    default: return kEnd;
  }
}

}  // namespace tools::cal
