#pragma once
// The simulated VUNT memory gauge. It records pressure and temperature from a settable
// history on the simulator clock, following its recording program, into page-aligned jobs
// (105 samples a page), and answers every command of the gauge protocol through its frames:
// acknowledgements, the calibration record, the job table, the program and the two halves
// of a data page, 15 payload bytes a frame. Jobs can also be in memory from before power-on.

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "common/records/ToolCodes.h"
#include "panelsim/Faults.h"
#include "panelsim/ToolModels.h"
#include "toolslib/vunt/GaugeRecords.h"

namespace panelsim {

// A stretch of the history: from the values at its start to (psi, degC) over durationS,
// linearly, or with tauS > 0 as an exponential approach (a shut-in build-up).
struct GaugeSegment {
  double durationS = 0;
  double psi = 0, degC = 0;
  double tauS = 0;
};

// Pressure and temperature against the time since the job started; after the last
// segment the values hold. Noise is a fixed function of time, so a sample repeats.
struct GaugeHistory {
  double startPsi = 14.7, startDegC = 25;
  std::vector<GaugeSegment> segments;
  double psiNoise = 0, degCNoise = 0;  // standard deviations
  std::uint32_t seed = 1;
  struct Value {
    double psi, degC;
  };
  Value at(double seconds) const;
};

struct GaugeProgramEntry {
  std::uint16_t minutes = 0;    // 0 ends the program, 0xFFFF is the open-ended last entry
  std::uint16_t intervalS = 0;  // 0: a pause
};

// The sample times of a program, seconds from the start of the job.
class GaugeSchedule {
 public:
  explicit GaugeSchedule(const std::vector<GaugeProgramEntry>& program) : program_(program) {}
  // The time of the next sample; false when the program has no more.
  bool next(double& seconds);

 private:
  const std::vector<GaugeProgramEntry>& program_;
  std::size_t entry_ = 0;
  std::uint32_t left_ = 0;
  std::uint32_t interval_ = 0;
  std::uint32_t openCount_ = 0;
  bool open_ = false;
  double t_ = 0;
};

struct GaugeSettings {
  double serial = 24017, model = 3;
  tools::vunt::GaugeCoefficients coefficients;
  // A 5-minute pause, an hour at 10 s, then 30 s for good.
  std::vector<GaugeProgramEntry> program{{5, 0}, {60, 10}, {0xFFFF, 30}};
  // Run in to 4300 psi and 95 degC, flow with a drawdown, then a shut-in build-up.
  GaugeHistory history{14.7, 25, {{1800, 4300, 95}, {3600, 3900, 96}, {7200, 4450, 96, 1200}}, 0.3, 0.02, 7};
  // Jobs in memory at power-on, each recorded for this many seconds.
  std::vector<double> recordedJobsS{3 * 3600.0};
  std::uint16_t memoryPages = 2048;
  GaugeFaults faults;
};

class GaugeTool final : public ToolModel {
 public:
  explicit GaugeTool(GaugeSettings settings = {});

  std::uint8_t code() const override { return records::kVunt; }
  void produce(const Environment& env, Noise& noise, std::uint8_t* bytes) override;
  void onMessage(const std::vector<std::uint8_t>& message) override;
  std::string storedCalibration() const override;

  struct Job {
    std::uint16_t startPage = 0;
    double startS = 0;                           // simulator time the job began
    std::vector<tools::vunt::RawSample> samples;  // as recorded
    std::vector<double> times;                   // seconds from the job's start
    std::vector<GaugeHistory::Value> truth;      // the history at each sample
  };
  const std::vector<Job>& jobs() const { return jobs_; }
  const GaugeSettings& settings() const { return settings_; }
  const tools::vunt::CalibrationUnion& calibration() const { return calibration_; }
  // Records the running job up to the given simulator time.
  void recordUntil(double nowS);

 private:
  struct Chunk {
    int mode;
    std::uint16_t index;
    std::uint8_t count;
    bool last, ack;
    std::uint8_t bytes[15];
  };
  void startJob(double nowS);
  void queueBlock(int mode, const std::uint8_t* block, std::size_t size, bool ack);
  void queueHalf(bool halfB);
  std::vector<std::uint8_t> page(std::uint16_t n) const;
  static std::uint16_t endPage(const Job& job);
  std::uint16_t pagesUsed() const;
  bool silent() const;

  GaugeSettings settings_;
  tools::vunt::CalibrationUnion calibration_;
  std::vector<Job> jobs_;
  bool recording_ = false;
  std::unique_ptr<GaugeSchedule> schedule_;
  double nextSampleS_ = 0;
  bool scheduleDone_ = true;
  double nowS_ = 0;
  int idleMode_ = 1;
  std::deque<Chunk> queue_;
  std::uint16_t currentPage_ = 0;
  bool eraseArmed_ = false;
  int pendingAck_ = 0;
  std::uint8_t frameCount_ = 0;
  std::uint32_t pagesServed_ = 0;
  std::uint32_t halfAStalls_ = 0, halfBDrops_ = 0, chunksSent_ = 0;
  bool skipped_ = false;
};

}  // namespace panelsim
