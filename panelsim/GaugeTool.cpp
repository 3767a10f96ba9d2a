#include "panelsim/GaugeTool.h"

#include <algorithm>
#include <cmath>

#include "platform/TextFormat.h"
#include "toolslib/vunt/GaugeCommands.h"
#include "toolslib/wire/VuntWire.h"

namespace panelsim {
namespace {
namespace v = tools::vunt;
namespace w = tools::wire::vunt;

namespace cmd = tools::vunt::command;
constexpr std::size_t kStallChunks = 3;

// A fixed pseudo-random standard normal value for (seed, t): the same sample repeats.
double normalAt(std::uint32_t seed, double t, std::uint32_t salt) {
  std::uint64_t x = static_cast<std::uint64_t>(std::llround(t * 1000.0)) * 0x9E3779B97F4A7C15ull ^
                    (static_cast<std::uint64_t>(seed) << 32 | salt);
  auto uniform = [&x] {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    x ^= x >> 33;
    return (static_cast<double>(x >> 11) + 0.5) / 9007199254740992.0;
  };
  const double u1 = uniform(), u2 = uniform();
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}
}  // namespace

GaugeHistory::Value GaugeHistory::at(double seconds) const {
  Value value{startPsi, startDegC};
  double t = seconds;
  for (const auto& s : segments) {
    if (t <= 0) break;
    const double u = std::min(t, s.durationS);
    const double k = s.tauS > 0 ? 1 - std::exp(-u / s.tauS) : s.durationS > 0 ? u / s.durationS : 1;
    value = {value.psi + (s.psi - value.psi) * k, value.degC + (s.degC - value.degC) * k};
    t -= s.durationS;
  }
  if (psiNoise > 0) value.psi += psiNoise * normalAt(seed, seconds, 1);
  if (degCNoise > 0) value.degC += degCNoise * normalAt(seed, seconds, 2);
  return value;
}

bool GaugeSchedule::next(double& seconds) {
  while (left_ == 0) {
    if (open_) {
      left_ = openCount_;  // the open-ended entry starts over each time its samples are used up
      if (left_ == 0) return false;  // an open-ended pause records nothing more
      break;
    }
    if (entry_ >= program_.size()) return false;
    const auto& e = program_[entry_++];
    if (e.minutes == 0) return false;
    const std::uint32_t count = e.intervalS == 0 ? 0 : static_cast<std::uint32_t>(e.minutes) * 60u / e.intervalS;
    interval_ = e.intervalS;
    if (e.minutes == v::kOpenEnded) {
      open_ = true;
      openCount_ = count;
      continue;
    }
    if (count == 0) t_ += static_cast<double>(e.minutes) * 60.0;  // a pause, or an entry too short for a sample
    left_ = count;
  }
  --left_;
  t_ += interval_;
  seconds = t_;
  return true;
}

GaugeTool::GaugeTool(GaugeSettings settings)
    : settings_(std::move(settings)),
      calibration_(v::makeCalibration(settings_.coefficients, settings_.serial, settings_.model)) {
  // Jobs recorded before power-on, each ending before the next began.
  double start = -1e7;
  for (double duration : settings_.recordedJobsS) {
    startJob(start);
    recordUntil(start + duration);
    recording_ = false;
    start += duration + 600;
  }
}

std::string GaugeTool::storedCalibration() const {
  return platform::format("VUNT SN %.0f, model %.0f", settings_.serial, settings_.model);
}

// The page after the job's last, as the job table holds it.
std::uint16_t GaugeTool::endPage(const Job& j) {
  return static_cast<std::uint16_t>(j.startPage + (j.samples.size() + v::kSamplesPerPage - 1) / v::kSamplesPerPage);
}

std::uint16_t GaugeTool::pagesUsed() const { return jobs_.empty() ? 0 : endPage(jobs_.back()); }

void GaugeTool::startJob(double nowS) {
  recordUntil(nowS);
  Job job;
  job.startPage = pagesUsed();
  job.startS = nowS;
  jobs_.push_back(std::move(job));
  recording_ = true;
  schedule_ = std::make_unique<GaugeSchedule>(settings_.program);
  scheduleDone_ = !schedule_->next(nextSampleS_);
}

void GaugeTool::recordUntil(double nowS) {
  if (!recording_ || jobs_.empty()) return;
  Job& job = jobs_.back();
  const std::size_t capacity = static_cast<std::size_t>(settings_.memoryPages - job.startPage) * v::kSamplesPerPage;
  while (!scheduleDone_ && job.startS + nextSampleS_ <= nowS && job.samples.size() < capacity) {
    const auto value = settings_.history.at(nextSampleS_);
    job.samples.push_back(v::encodeSample(calibration_, value.psi, value.degC));
    job.times.push_back(nextSampleS_);
    job.truth.push_back(value);
    scheduleDone_ = !schedule_->next(nextSampleS_);
  }
}

bool GaugeTool::silent() const {
  const GaugeFaults& f = settings_.faults;
  return f.linkDown || (f.deadAfterPage > 0 && pagesServed_ >= f.deadAfterPage);
}

std::vector<std::uint8_t> GaugeTool::page(std::uint16_t n) const {
  std::vector<std::uint8_t> bytes(v::kPageBytes);
  for (std::size_t i = 0; i < v::kSamplesPerPage; ++i) {
    v::RawSample s{v::kEndPressure, v::kEndTemperature};
    const std::size_t memoryIndex = static_cast<std::size_t>(n) * v::kSamplesPerPage + i;
    for (const Job& j : jobs_) {
      const std::size_t first = static_cast<std::size_t>(j.startPage) * v::kSamplesPerPage;
      if (memoryIndex >= first && memoryIndex - first < j.samples.size()) s = j.samples[memoryIndex - first];
    }
    v::putSample(bytes.data() + i * v::kSampleBytes, s);
  }
  return bytes;
}

void GaugeTool::queueBlock(int mode, const std::uint8_t* block, std::size_t size, bool ack) {
  for (std::size_t at = 0; at < size; at += w::kPayloadBytes) {
    Chunk c{};
    c.mode = mode;
    c.index = static_cast<std::uint16_t>(at);
    c.count = static_cast<std::uint8_t>(std::min(w::kPayloadBytes, size - at));
    c.last = at + c.count == size;
    c.ack = ack && at == 0;
    std::copy(block + at, block + at + c.count, c.bytes);
    queue_.push_back(c);
  }
}

void GaugeTool::queueHalf(bool halfB) {
  queue_.clear();
  const auto bytes = page(currentPage_);
  const bool ack = !settings_.faults.noAck;
  if (halfB) {
    queueBlock(w::kModeHalfB, bytes.data() + v::kHalfABytes, v::kHalfBBytes, ack);
    return;
  }
  queueBlock(w::kModeHalfA, bytes.data(), v::kHalfABytes, ack);
  if (halfAStalls_ < settings_.faults.stallHalfA) {
    ++halfAStalls_;
    queue_.resize(kStallChunks);  // the gauge stops sending in the middle of the half
  }
}

void GaugeTool::onMessage(const std::vector<std::uint8_t>& message) {
  if (message.size() < 4 || message[2] != 0) return;
  const std::uint8_t code = message[3];
  const bool pageRequest = code == cmd::kPage && message.size() == 6;
  // The calibration procedures' commands (0x65 stop, 0x66 read, 0x68 + point) as every tool has them.
  ToolModel::onMessage(message);
  if (silent()) return;
  const bool ack = !settings_.faults.noAck;
  auto acknowledge = [&] {
    if (ack) ++pendingAck_;
  };
  switch (code) {
    case cmd::kPing:
      queue_.clear();
      idleMode_ = w::kModeLooking;
      break;
    case cmd::kOnline: idleMode_ = w::kModeOnline; break;
    case cmd::kConnectA:
    case cmd::kConnectB:
    case cmd::kConnectC: acknowledge(); break;
    case cmd::kCalibration:
      queue_.clear();
      queueBlock(w::kModeCalibration, calibration_.bytes.data(), v::kCalibrationBytes, false);
      break;
    case cmd::kJobTable: {
      recordUntil(nowS_);
      std::uint8_t table[v::kJobTableWords * 2] = {};
      for (std::size_t i = 0; i < jobs_.size() && i < v::kMaxJobs; ++i) {
        const std::uint16_t end = endPage(jobs_[i]);
        table[2 * i] = static_cast<std::uint8_t>(end >> 8);
        table[2 * i + 1] = static_cast<std::uint8_t>(end);
      }
      queue_.clear();
      queueBlock(w::kModeJobTable, table, sizeof table, false);
      break;
    }
    case cmd::kProgram: {
      std::vector<std::uint8_t> program;
      for (const auto& e : settings_.program) {
        program.insert(program.end(), {static_cast<std::uint8_t>(e.minutes >> 8), static_cast<std::uint8_t>(e.minutes),
                                       static_cast<std::uint8_t>(e.intervalS >> 8),
                                       static_cast<std::uint8_t>(e.intervalS), 0});
      }
      program.resize(std::min(program.size(), v::kProgramCapacity));
      queue_.clear();
      queueBlock(w::kModeProgram, program.data(), program.size(), false);
      break;
    }
    case cmd::kPage:
      if (!pageRequest) break;
      recordUntil(nowS_);
      currentPage_ = static_cast<std::uint16_t>(message[4] << 8 | message[5]);
      queueHalf(false);
      break;
    case cmd::kNextPage:
      recordUntil(nowS_);
      ++currentPage_;
      queueHalf(false);
      break;
    case cmd::kHalfAAgain: queueHalf(false); break;
    case cmd::kHalfB:
      if (halfBDrops_ < settings_.faults.dropHalfB) {
        ++halfBDrops_;
        break;
      }
      queueHalf(true);
      break;
    case cmd::kErase:
      eraseArmed_ = true;
      acknowledge();
      break;
    case cmd::kGo:
      if (!eraseArmed_) break;
      eraseArmed_ = false;
      jobs_.clear();
      recording_ = false;
      acknowledge();
      break;
    case cmd::kCheck:
      if (recording_) acknowledge();
      break;
    case cmd::kNewJob:
      if (jobs_.size() >= v::kMaxJobs || pagesUsed() >= settings_.memoryPages) break;
      recording_ = false;
      startJob(nowS_);
      acknowledge();
      break;
    default: break;
  }
}

void GaugeTool::produce(const Environment& env, Noise& noise, std::uint8_t* bytes) {
  nowS_ = env.timeS;
  recordUntil(nowS_);
  if (transferFrame(bytes)) return;  // the stored-calibration text of the calibration procedures
  double values[w::kFieldCount] = {};
  int mode = idleMode_;
  std::uint8_t flags = 0;
  const Chunk* chunk = nullptr;
  Chunk c{};
  if (!queue_.empty() && !silent()) {
    c = queue_.front();
    queue_.pop_front();
    const std::uint32_t every = settings_.faults.frameSkip;
    if (every > 0 && ++chunksSent_ % every == 0) {
      skipped_ = true;  // this chunk never leaves the gauge
    } else {
      chunk = &c;
      mode = c.mode;
      if (c.mode == w::kModeHalfB && c.last) ++pagesServed_;
    }
  }
  if (skipped_ && chunk) flags |= w::kFlagFrameSkip, skipped_ = false;
  if (pendingAck_ > 0 || (chunk && chunk->ack)) {
    flags |= w::kFlagAck;
    if (!(chunk && chunk->ack)) --pendingAck_;
  }
  if (chunk) {
    flags |= static_cast<std::uint8_t>(chunk->count << w::kPayloadCountShift);
    if (chunk->last) flags |= w::kFlagLastChunk;
    values[w::kPayloadIndex] = chunk->index;
  }
  // A gauge whose link is down shows nothing but the modem's wait state.
  const bool link = !settings_.faults.linkDown;
  if (!link) mode = w::kModeWait;
  values[w::kControl] = (link ? w::kLinkUp : 0) | (mode << w::kModeShift) | (frameCount_++ & 7);
  values[w::kFlags] = flags;
  // Live readings: the dead-weight tester during a reference measurement, else the history
  // of the running job (the surface without one).
  double psi = 0, degC = 0;
  if (referencePoint() >= 0) {
    psi = 3000.6 + noise.gauss(0.05), degC = 25;
  } else {
    const auto value = recording_ && !jobs_.empty() ? settings_.history.at(nowS_ - jobs_.back().startS)
                                                     : settings_.history.at(0);
    psi = value.psi, degC = value.degC;
  }
  values[w::kPressure] = std::max(0.0, psi);
  values[w::kTemp] = degC;
  tools::wire::encode(w::kLayout, values, bytes);
  if (chunk) std::copy(chunk->bytes, chunk->bytes + chunk->count, bytes + w::kPayloadOffset);
}

}  // namespace panelsim
