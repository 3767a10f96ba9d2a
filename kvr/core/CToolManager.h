#pragma once
// The declared tool string and everything derived from it: the tool list, the channel list,
// the sample ring, the tools' depth offsets, and the frame dispatch that turns each frame of
// the frame ring into one sample row. Runs on the interface thread.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/datafile/DataFileLayout.h"
#include "common/datafile/SampleRing.h"
#include "common/records/ChannelStruct.h"
#include "kvr/core/FrameRing.h"
#include "kvr/core/TaskPanelFactory.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr {


struct DispatchResult {
  unsigned frames = 0;
  unsigned rowsAdded = 0;
  // A log runs and rows wait between the display position and the write position.
  bool rowsToDraw = false;
};

class CToolManager {
 public:
  static constexpr std::uint32_t kBaseFrameLength = 22;
  static constexpr std::size_t kSpeedSamples = 30;

  CToolManager(tools::Library& tools, platform::Prompter& prompter, TaskPanelFactory& panels, FrameRing& frames);

  // --- the string ---
  const records::ToolList& toolList() const { return toolList_; }
  // Telemetry writes each tool's frame offset into its entry.
  records::ToolList& mutableToolList() { return toolList_; }
  // Replaces the tool list (a confirmed editor list, or a playback file's).
  void setToolList(records::ToolList list) { toolList_ = std::move(list); }
  const records::ChannelList& channels() const { return channels_; }
  SampleRing& ring() { return ring_; }
  const SampleRing& ring() const { return ring_; }
  std::uint32_t minimumFrameLength() const { return minimumFrameLength_; }

  // Confirming (OK of the editor): channels, ring, parameter defaults, tool state, in order.
  void confirmString(std::int32_t modeWord);
  // The steps one by one, for playback.
  void createChannels();
  // A playback file's own channel list in place of the one the tools would create.
  void setChannels(records::ChannelList channels) { channels_ = std::move(channels); }
  // The number of channels createChannels would make for a tool list.
  std::size_t channelCountOf(const records::ToolList& list) const;
  // Every rebuild of the channels (a confirmed string, a playback, a loaded session) ends
  // here; the listener hears of it after the ring is new.
  void allocateRing();
  void setChannelsRebuilt(std::function<void()> listener) { channelsRebuilt_ = std::move(listener); }
  void loadParameterLists();
  void initialiseTools(std::int32_t modeWord);
  // FreeAllXXXDynamicMem for every tool of the string.
  void freeToolsMemory();

  // Reference depth offset in log units (feet or metres).
  double referenceDepthOffset() const { return referenceOffset_; }

  // --- frame layout (set when telemetry starts) ---
  void setSurfaceBlockOffset(std::uint32_t offset) { surfaceOffset_ = offset; }
  std::uint32_t surfaceBlockOffset() const { return surfaceOffset_; }
  void setFrameOffset(std::size_t entry, std::uint32_t offset);
  // Offsets for frames that carry the tools in string order (the simulator's order);
  // returns the surface-block offset it set.
  std::uint32_t layoutFrameInStringOrder();
  // Bytes of one frame in the frame ring: every tool's data bytes and the panel block.
  std::uint32_t frameRingBytesPerFrame() const;

  // --- logging (the logging controller drives these) ---
  void setModeWord(std::int32_t modeWord) { modeWord_ = modeWord; }
  std::int32_t modeWord() const { return modeWord_; }
  // Log time 0, direction, first-row flag; simulated depth from start and step per frame.
  void startLog(LogDirection direction, bool simulatedDepth, double simulatedStart, double simulatedStepPerFrame);
  void stopLog();
  bool depthLogRunning() const { return depthLog_; }
  bool stationLogRunning() const { return stationLog_; }
  LogDirection direction() const { return direction_; }

  // --- the dispatch ---
  DispatchResult dispatchFrames();

  double currentDepth() const { return currentDepth_; }
  double panelDepth() const { return panelDepth_; }
  double nextSampleDepth() const { return nextSample_; }
  float logTime() const { return logTime_; }
  double simulatedDepth() const { return simDepth_; }
  bool simulatedDepthOn() const { return simOn_; }
  std::uint8_t panelStatus() const { return panelStatus_; }
  std::uint64_t framesDispatched() const { return framesDispatched_; }
  int framesElapsed() const { return framesElapsed_; }

  tools::Library& tools() { return tools_; }

 private:
  struct ActiveTool {
    tools::Family* family;  // nullptr: a code without a family, whose bytes are skipped
    std::uint32_t frameOffset;
    std::uint32_t bytes;
    std::uint8_t code;
  };
  void collectActiveTools();
  void decodePanel(std::uint32_t read, float** row, float* start, float* end);
  void runTools(std::uint32_t read, float** row, float* start, float* end);
  void selectRow(std::size_t rowStart, DispatchResult& result);
  void keepRow(std::size_t& row, DispatchResult& result);
  void appendCopy(std::size_t& row, DispatchResult& result);
  void shiftAll();
  void put(float** p, float* start, float* end, float v);

  tools::Library& tools_;
  platform::Prompter& prompter_;
  TaskPanelFactory& panels_;
  FrameRing& frames_;

  records::ToolList toolList_;
  records::ChannelList channels_;
  SampleRing ring_;
  std::uint32_t minimumFrameLength_ = kBaseFrameLength;
  std::uint32_t surfaceOffset_ = 0;
  std::int32_t modeWord_ = 10;
  double referenceOffset_ = 0;

  // Per-log state.
  bool depthLog_ = false, stationLog_ = false;
  LogDirection direction_ = kLogDown;
  bool firstRow_ = true;
  double currentDepth_ = 0, nextSample_ = 0, panelDepth_ = 0;
  float logTime_ = 0;
  int framesElapsed_ = 1;
  bool simOn_ = false;
  double simDepth_ = 0, simStep_ = 0;
  std::uint8_t panelStatus_ = 0;

  // Speed from the panel's frame counter.
  bool haveCounter_ = false;
  std::uint16_t lastCounter_ = 0;
  double lastSpeedDepth_ = 0;
  std::array<double, kSpeedSamples> speed_{};
  std::size_t speedIndex_ = 0;
  double speedSum_ = 0;
  // Samples taken since the log started (up to 30): the jump of the depth offset or of the
  // simulated start depth at a log start never becomes a speed.
  std::size_t speedSamples_ = 0;
  bool speedRestart_ = false;

  std::uint64_t framesDispatched_ = 0;
  std::vector<ActiveTool> active_;
  std::function<void()> channelsRebuilt_;
};

}  // namespace kvr
