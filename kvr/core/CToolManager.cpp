#include "kvr/core/CToolManager.h"

#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/ToolManagerMessages.h"

namespace kvr {

CToolManager::CToolManager(tools::Library& tools, platform::Prompter& prompter, TaskPanelFactory& panels,
                           FrameRing& frames)
    : tools_(tools), prompter_(prompter), panels_(panels), frames_(frames) {}

void CToolManager::confirmString(std::int32_t modeWord) {
  modeWord_ = modeWord;
  createChannels();
  allocateRing();
  loadParameterLists();
  initialiseTools(modeWord);
}

void CToolManager::createChannels() {
  minimumFrameLength_ = kBaseFrameLength;
  channels_ = records::surfaceChannels(records::isEnglish(modeWord_));
  std::uint32_t column = records::kSurfaceChannelCount;
  for (auto& tool : toolList_) {
    if (!tool.isTool()) continue;
    tools::Family* family = tools_.family(tool.code());
    if (!family) continue;
    // Each tool's own entries get its column, so two tools of one family stay apart.
    const std::size_t first = channels_.size();
    family->addDataChannels(channels_);
    for (std::size_t i = first; i < channels_.size(); ++i) channels_[i].baseColumn = column;
    column += family->rowFloats();
    minimumFrameLength_ += records::toolCodeInfo(tool.code())->frameBytes;
    tool.dataBytes = family->dataBytes();
  }
}

std::size_t CToolManager::channelCountOf(const records::ToolList& list) const {
  records::ChannelList channels;
  for (const auto& tool : list) {
    if (!tool.isTool()) continue;
    if (const tools::Family* family = tools_.family(tool.code())) family->addDataChannels(channels);
  }
  return records::kSurfaceChannelCount + channels.size();
}

void CToolManager::allocateRing() {
  ring_.allocate(channels_.size());
  if (channelsRebuilt_) channelsRebuilt_();
}

void CToolManager::loadParameterLists() {
  for (const auto& tool : toolList_)
    if (auto* f = tool.isTool() ? tools_.family(tool.code()) : nullptr) f->loadParameterList();
}

void CToolManager::initialiseTools(std::int32_t modeWord) {
  modeWord_ = modeWord;
  panels_.destroyAll();
  float total = 0;
  for (const auto& t : toolList_) total += t.lengthCm;
  const bool english = records::isEnglish(modeWord);
  const double stepMm = records::depthToMm(records::depthStep(modeWord), english);
  float reference = 0;
  for (auto& tool : toolList_) {
    total -= tool.lengthCm;
    tool.bottomDistanceCm = total;
    if (!tool.isTool()) continue;
    tools::Family* family = tools_.family(tool.code());
    if (!family) continue;
    switch (tool.code()) {
      case records::kBrix:
      case records::kDune:
      case records::kSevo:
      case records::kQuil:
      case records::kHavo: {
        family->init();
        const float distanceMm = static_cast<float>(records::cmToMm(tool.bottomDistanceCm));
        const float r = family->setDepthOffset(reference, distanceMm, static_cast<float>(stepMm));
        // The first such tool from the top with a positive offset fixes the reference.
        if (!(reference > 0)) reference = distanceMm + r;
        break;
      }
      case records::kTarn:
        family->reserveCorrectionTable();
        family->init();
        panels_.createTarnPanel(tool);
        break;
      case records::kTarnB:
      case records::kTarnC: {
        family->init();
        const bool tarnB = tool.code() == records::kTarnB;
        bool keep = false;
        if (family->correctionTableActive()) {
          const platform::Message question{tarnB ? toolmsg::kTarnBTableTitle : toolmsg::kDefaultTitle,
                                           tarnB ? toolmsg::kTarnBTableQuestion : toolmsg::kTarnCTableQuestion,
                                           platform::Buttons::YesNo, platform::Icon::Question};
          keep = prompter_.ask(question) == platform::Answer::Yes;
        }
        if (!keep) family->destroyCorrectionTable();
        if (tarnB) {
          panels_.createTarnBPanel(tool);
        } else {
          panels_.createTarnCPanel(tool);
          panels_.loadTarnCDriftOptions(tools_.globals());
        }
        break;
      }
      case records::kVunt:
        family->init();
        panels_.createVuntPanel(tool);
        break;
      default:  // PLOV, FYRD
        family->init();
        break;
    }
  }
  referenceOffset_ = records::mmToDepth(reference, english);
}

void CToolManager::freeToolsMemory() {
  for (const auto& tool : toolList_)
    if (auto* f = tool.isTool() ? tools_.family(tool.code()) : nullptr) f->freeAllDynamicMem();
}

void CToolManager::setFrameOffset(std::size_t entry, std::uint32_t offset) {
  if (entry < toolList_.size()) toolList_[entry].frameOffset = offset;
}

std::uint32_t CToolManager::layoutFrameInStringOrder() {
  std::uint32_t offset = 0;
  for (auto& tool : toolList_) {
    if (!tool.isTool()) continue;
    tool.frameOffset = offset;
    offset += tool.dataBytes;
  }
  surfaceOffset_ = offset;
  return offset;
}

std::uint32_t CToolManager::frameRingBytesPerFrame() const {
  std::uint32_t bytes = records::kPanelBlockBytes;
  for (const auto& tool : toolList_)
    if (tool.isTool()) bytes += tools_.family(tool.code()) ? tools_.family(tool.code())->dataBytes() : tool.dataBytes;
  return bytes;
}

void CToolManager::startLog(LogDirection direction, bool simulatedDepth, double simulatedStart,
                            double simulatedStepPerFrame) {
  stationLog_ = direction == kLogStation;
  depthLog_ = !stationLog_;
  direction_ = direction;
  logTime_ = 0;
  firstRow_ = true;
  simOn_ = simulatedDepth && !stationLog_;
  if (simOn_) {
    simDepth_ = simulatedStart;
    simStep_ = simulatedStepPerFrame;
  }
  ring_.setDisplayed(ring_.write());
  ring_.setFlushed(ring_.write());
  // The speed ring starts empty: the first frame of the log gives the depth to measure from.
  speed_.fill(0);
  speedSum_ = 0;
  speedIndex_ = 0;
  speedSamples_ = 0;
  speedRestart_ = true;
}

void CToolManager::stopLog() {
  depthLog_ = false;
  stationLog_ = false;
}

}  // namespace kvr
