#include "kvr/tarnc/CTARNC_LowLevelCmdDlg.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "kvr/tarnc/LowLevelTexts.h"

namespace kvr::tarnc {
namespace {

constexpr std::uint8_t kTarnC = 227;
constexpr std::uint8_t kStatusTable = 10, kStatusImu = 12;

// The usual decimal conversion: leading blanks, an optional sign, digits; anything else ends
// the number. Saturates instead of wrapping, so a huge value still fails its range test.
long long number(const std::string& s) {
  errno = 0;
  return std::strtoll(s.c_str(), nullptr, 10);
}

// The values box by lines (CR LF, LF or CR); a break at the very end starts no line.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> splitCommas(const std::string& line) {
  std::vector<std::string> parts(1);
  for (char c : line) {
    if (c == ',') parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

bool within(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }
std::uint8_t lo(long long v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t bits89(long long v) { return static_cast<std::uint8_t>((v >> 8) & 3); }
std::uint8_t hi(long long v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }

const char* ackText(std::uint8_t ack) {
  switch (ack) {
    case 0: return text::kNoAck;
    case 0x10: return text::kGeneralAck;
    case 0x20: return text::kAngleAck;
    case 0x30: return text::kFrequencyAck;
    default: return nullptr;
  }
}

}  // namespace

CTARNC_LowLevelCmdDlg::CTARNC_LowLevelCmdDlg(TerminalPorts ports) : ports_(std::move(ports)) { choose(0); }

CTARNC_LowLevelCmdDlg::~CTARNC_LowLevelCmdDlg() { ports_.loop.forget(this); }

void CTARNC_LowLevelCmdDlg::choose(int command) {
  if (command < 0 || command >= kCommands) return;
  command_ = command;
  help_ = text::kHelp[command];
  status_.clear();
  values_.clear();
  if (changed_) changed_();
}

void CTARNC_LowLevelCmdDlg::show(std::string t) {
  status_ = std::move(t);
  if (changed_) changed_();
}

bool CTARNC_LowLevelCmdDlg::refuse(const char* t) {
  platform::tell(ports_.prompter, text::kErrorTitle, t, platform::Icon::Error);
  return false;
}

void CTARNC_LowLevelCmdDlg::stopAll() {
  for (int t = kAckTimer; t <= kImuDetectionTimer; ++t) ports_.loop.stopTimer(this, t);
}

void CTARNC_LowLevelCmdDlg::sendPayload(const std::vector<std::uint8_t>& payload) {
  // [n + 2, 227, 0, payload]; a single code c is [3, 227, 0, c] by the same rule.
  std::vector<std::uint8_t> m(payload.size() + 3);
  m[0] = static_cast<std::uint8_t>(payload.size() + 2);
  m[1] = kTarnC;
  for (std::size_t i = 0; i < payload.size(); ++i) m[3 + i] = payload[i];
  if (ports_.send) ports_.send(m);
}

void CTARNC_LowLevelCmdDlg::watchAck(const std::vector<std::uint8_t>& payload) {
  ports_.globals.TARNC_LastAck = 0;
  sendPayload(payload);
  tries_ = kTries;
  ports_.loop.startTimer(this, kAckTimer, kTickMs);
}

void CTARNC_LowLevelCmdDlg::watchRead(std::uint8_t code, Timer timer) {
  ports_.globals.TARNC_SpecialFrameDataCount = 0;
  readCode_ = code;
  sendPayload({code});
  tries_ = kTries;
  ports_.loop.startTimer(this, timer, kTickMs);
}

void CTARNC_LowLevelCmdDlg::sendTablePart() {
  ports_.globals.TARNC_LastAck = 0;
  sendPayload(parts_[static_cast<std::size_t>(3 - chunksLeft_)]);
  tries_ = kTries;
  ports_.loop.startTimer(this, kTableTimer, kTickMs);
}

void CTARNC_LowLevelCmdDlg::sendToTool() {
  show("");
  const std::vector<std::string> lines = linesOf(values_);
  const std::string& first = lines.front();
  const long long v = number(first);
  const int c = command_;
  std::vector<std::uint8_t> payload;

  if (c <= 3 || c == 10) {
    if (!within(v, 10, 1013)) return (void)refuse(text::kRange10to1013);
    payload = c == 10 ? std::vector<std::uint8_t>{0x98, lo(v), bits89(v), 0x01}
                      : std::vector<std::uint8_t>{0x9B, 0x03, static_cast<std::uint8_t>(0x61 + c), lo(v), bits89(v)};
  } else if (c == 4) {
    const auto parts = splitCommas(first);
    if (parts.size() < 2) return (void)refuse(text::kComma1);
    if (parts.size() < 3) return (void)refuse(text::kComma2);
    if (parts.size() < 4) return (void)refuse(text::kComma3);
    const long long a = number(parts[0]), b = number(parts[1]), cc = number(parts[2]), d = number(parts[3]);
    if (!within(a, 50, 200)) return (void)refuse(text::kPwm);
    if (!within(b, 10, 100)) return (void)refuse(text::kOnTime);
    if (!within(cc, 5, 40)) return (void)refuse(text::kCycles);
    if (!within(d, 0, 10)) return (void)refuse(text::kAccuracy);
    payload = {0x97, lo(a), lo(b), lo(cc), lo(d)};
  } else if (c == 5) {
    const auto parts = splitCommas(first);
    if (parts.size() < 2) return (void)refuse(text::kDtgComma);
    const long long value = number(parts[0]), flag = number(parts[1]);
    if (!within(value, -63, 63)) return (void)refuse(text::kDtgRange);
    if (flag != 0 && flag != 1) return (void)refuse(text::kDtgFlag);
    const long long m = (value < 0 ? -value : value) | (flag ? 0x40 : 0) | (value < 0 ? 0x80 : 0);
    payload = {0x83, lo(m)};
  } else if (c == 6) {
    if (lines.size() != 8) return (void)refuse(text::kEightSets);
    std::uint8_t t[8], f[8];
    for (int i = 0; i < 8; ++i) {
      const auto parts = splitCommas(lines[static_cast<std::size_t>(i)]);
      if (parts.size() < 2) return (void)refuse(text::kTableComma);
      const long long temp = number(parts[0]), freq = number(parts[1]);
      if (!within(temp, 1, 200)) return (void)refuse(text::kTempRange);
      if (!within(freq, 30, 100)) return (void)refuse(text::kFreqRange);
      t[i] = lo(temp);
      f[i] = lo(freq);
    }
    stopAll();
    parts_ = {{0x9E, t[0], f[0], t[1], f[1], t[2]},
              {0x9F, t[2], f[2], t[3], f[3], t[4]},
              {0xA0, t[4], f[4], t[5], f[5], t[6]},
              {0xA1, t[6], f[6], t[7], f[7], 0}};
    chunksLeft_ = 3;
    sendTablePart();
    return;
  } else if (c == 7) {
    if (!within(v, 30, 100)) return (void)refuse(text::kRange30to100);
    payload = {0x9C, 0x02, 0x9A, lo(v)};
  } else if (c == 8 || c == 9) {
    payload = {0x9C, 0x02, static_cast<std::uint8_t>(c == 8 ? 0x9B : 0x9C)};
  } else if (c >= 12 && c <= 14) {
    if (!within(v, 10, 50000)) return (void)refuse(text::kRange10to50000);
    payload = {static_cast<std::uint8_t>(0xA2 + (c - 12)), lo(v), hi(v)};
  } else if (c == 15) {
    if (!within(v, 0, 255)) return (void)refuse(text::kRange0to255);
    payload = {0xA5, lo(v)};
  }

  stopAll();
  if (c == 11) return watchRead(0xA6, kImuReadTimer);
  if (c == 16) return watchRead(0x99, kPositionReadTimer);
  if (c == 17) return watchRead(0xA7, kImuReadTimer);
  watchAck(payload);
}

void CTARNC_LowLevelCmdDlg::onTimer(int id) {
  tools::Globals& g = ports_.globals;
  const std::uint8_t status = g.TARNC_CtrlWord & 0x0E;
  const std::uint8_t ack = g.TARNC_LastAck;
  switch (id) {
    case kAckTimer: {
      const char* t = ackText(ack);
      --tries_;
      if (ack != 0 || tries_ <= 0) {
        if (t) show(t);
        ports_.loop.stopTimer(this, kAckTimer);
      }
      return;
    }
    case kTableTimer: {
      --tries_;
      if (ack == 0) {
        if (tries_ <= 0) {
          show(text::kNoAck);
          ports_.loop.stopTimer(this, kTableTimer);
        }
        return;
      }
      const char* t = ackText(ack);
      if (chunksLeft_ == 0) {
        if (t) show(t);
        ports_.loop.stopTimer(this, kTableTimer);
        return;
      }
      show(std::string(t ? t : "") + " " + std::to_string(4 - chunksLeft_));
      --chunksLeft_;
      sendTablePart();
      return;
    }
    case kPositionReadTimer:
    case kImuReadTimer: {
      const std::uint8_t wanted = id == kPositionReadTimer ? kStatusTable : kStatusImu;
      --tries_;
      if (status == wanted) {
        show(text::kResponse);
        ports_.loop.stopTimer(this, id);
        const int next = id == kPositionReadTimer ? kPositionDataTimer
                         : readCode_ == 0xA6       ? kImuTableTimer
                                                   : kImuDetectionTimer;
        ports_.loop.startTimer(this, next, kTickMs);
      } else if (tries_ <= 0) {
        show(text::kTimeout);
        ports_.loop.stopTimer(this, id);
      }
      return;
    }
    case kPositionDataTimer:
    case kImuTableTimer:
    case kImuDetectionTimer: {
      const std::uint8_t sending = id == kPositionDataTimer ? kStatusTable : kStatusImu;
      if (status == sending) return;
      ports_.loop.stopTimer(this, id);
      const unsigned count = g.TARNC_SpecialFrameDataCount;
      const unsigned needed = id == kPositionDataTimer ? 4 : id == kImuTableTimer ? 16 : 5;
      if (count < needed) return show(text::kMissing);
      char buf[256];
      if (id == kPositionDataTimer) {
        const auto& p = g.TARNC_TDDataBuf;
        std::snprintf(buf, sizeof buf, "Pos 0  : %i\r\nPos 90 : %i\r\nPos 180: %i\r\nPos 270: %i", p[0], p[1], p[2], p[3]);
        values_ = buf;
      } else if (id == kImuTableTimer) {
        values_.clear();
        for (int i = 0; i < 16; i += 2) {
          std::snprintf(buf, sizeof buf, "%i,%i\r\n", g.TARNC_IMUDataBuf[i], g.TARNC_IMUDataBuf[i + 1]);
          values_ += buf;
        }
      } else {
        const auto& b = g.TARNC_IMUDataBuf;
        std::snprintf(buf, sizeof buf, "GyroX: %i\r\nGyroY: %i\r\nTime Window:%i\r\n", b[0] + 256 * b[1],
                      b[2] + 256 * b[3], b[4]);
        values_ = buf;
      }
      show(text::kAllData);
      return;
    }
    default: return;
  }
}

}  // namespace kvr::tarnc
