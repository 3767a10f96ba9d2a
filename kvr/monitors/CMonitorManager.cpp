#include "kvr/monitors/CMonitorManager.h"

#include <algorithm>

#include "common/presentation/NumberText.h"

namespace kvr::monitors {

namespace {
constexpr const char* kError = "ERROR";
constexpr std::size_t kNameMax = kNameBytes - 1;
}  // namespace

CMonitorManager::CMonitorManager(platform::Prompter& prompter, FileSystem& files, const CToolManager& tools,
                                 const std::filesystem::path& mainFolder)
    : prompter_(prompter), files_(files), tools_(tools), mainFolder_(mainFolder) {
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) {
    boxes_[i].textId = kTextIdBase + static_cast<std::uint32_t>(i);
    boxes_[i].buttonId = kButtonIdBase + static_cast<std::uint32_t>(i);
  }
}

std::string CMonitorManager::caption(const MonitorBox& box) {
  return box.active ? box.name + " [" + box.channel.unit + "]" : std::string();
}

void CMonitorManager::bind(std::size_t i, const editor::ChosenChannel& chosen) {
  auto& b = boxes_.at(i);
  b.channel = chosen.channel;
  b.name = chosen.channel.mnemonic.substr(0, kNameMax);
  b.active = true;
  values_[i].clear();
}

void CMonitorManager::close(std::size_t i) {
  boxes_.at(i).active = false;
  values_[i].clear();
}

std::optional<int> CMonitorManager::magnify(std::size_t i) {
  if (!boxes_.at(i).active) return std::nullopt;
  magnified_.push_back(MagnifiedMonitor{nextMagnified_, boxes_[i], values_[i]});
  return nextMagnified_++;
}

void CMonitorManager::closeMagnified(int id) {
  std::erase_if(magnified_, [id](const MagnifiedMonitor& m) { return m.id == id; });
}

const MagnifiedMonitor* CMonitorManager::findMagnified(int id) const {
  for (const auto& m : magnified_)
    if (m.id == id) return &m;
  return nullptr;
}

std::optional<std::string> CMonitorManager::valueOf(MonitorBox& box) const {
  const auto& ring = tools_.ring();
  const std::size_t width = ring.rowWidth();
  if (width == 0 || ring.empty()) return std::nullopt;
  const std::size_t column = box.channel.column();
  if (column >= width) {
    // Stale positions from another string would read past the row.
    box.active = false;
    return std::nullopt;
  }
  // The newest row is the one before the write position, the ring's last row after a wrap.
  const std::size_t row = ring.write() / width;
  const std::size_t newest = row == 0 ? SampleRing::kRows - 1 : row - 1;
  return presentation::numberText(ring.data()[newest * width + column]);
}

void CMonitorManager::update() {
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) {
    if (!boxes_[i].active) continue;
    auto v = valueOf(boxes_[i]);
    values_[i] = v.value_or(std::string());
  }
  for (auto& m : magnified_) {
    if (!m.box.active) continue;
    m.value = valueOf(m.box).value_or(std::string());
  }
}

bool CMonitorManager::rebind(MonitorBox& box) const {
  if (!box.active) return false;
  const auto& channels = tools_.channels();
  const auto it = std::find_if(channels.begin(), channels.end(),
                               [&](const records::ChannelStruct& c) { return c.mnemonic == box.name; });
  if (it == channels.end()) {
    box.active = false;
    return false;
  }
  box.channel = *it;
  return true;
}

void CMonitorManager::rebind() {
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) {
    if (!rebind(boxes_[i])) values_[i].clear();
  }
  for (auto& m : magnified_) {
    if (!rebind(m.box)) m.value.clear();
  }
}

std::string CMonitorManager::askFile(bool forSaving) {
  platform::FileRequest request;
  request.filter = kMonitorFilter;
  request.defaultExtension = "mon";
  request.initialDir = mainFolder_.string();
  if (forSaving) request.defaultName = kMonitorDefaultName;
  auto chosen = forSaving ? prompter_.saveFile(request) : prompter_.openFile(request);
  return chosen.value_or(std::string());
}

bool CMonitorManager::save(const std::string& file) {
  const std::string path = file.empty() ? askFile(true) : file;
  if (path.empty()) return false;
  auto out = files_.createOutput(path);
  if (!out) {
    platform::tell(prompter_, kError, kSaveOpenFailed, platform::Icon::Error);
    return false;
  }
  const auto bytes = encodeMonitorFile(boxes_);
  bool whole = out->write(bytes.data(), kHeaderBytes) == kHeaderBytes;
  whole = whole && out->write(bytes.data() + kHeaderBytes, bytes.size() - kHeaderBytes) == bytes.size() - kHeaderBytes;
  whole = out->close() && whole;
  if (!whole) {
    platform::tell(prompter_, kError, kSaveShort, platform::Icon::Error);
    return false;
  }
  latest_ = path;  // only a file that holds the boxes is worth reopening
  return true;
}

bool CMonitorManager::load(const std::string& file) {
  const std::string path = file.empty() ? askFile(false) : file;
  if (path.empty()) return false;
  auto in = files_.openInput(path);
  if (!in) {
    platform::tell(prompter_, kError, kLoadOpenFailed, platform::Icon::Error);
    return false;
  }
  std::vector<std::uint8_t> bytes(kMonitorFileBytes);
  bytes.resize(in->read(bytes.data(), bytes.size()));
  MonitorBoxes loaded;
  switch (decodeMonitorFile(bytes, loaded)) {
    case MonitorFileRead::NotAMonitorFile:
      platform::tell(prompter_, kError, kLoadNotValid, platform::Icon::Error);
      return false;
    case MonitorFileRead::ShortRead:
      platform::tell(prompter_, kError, kLoadShort, platform::Icon::Error);
      return false;
    case MonitorFileRead::Ok: break;
  }
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) {
    auto& b = loaded[i];
    b.textId = boxes_[i].textId;
    b.buttonId = boxes_[i].buttonId;
    rebind(b);
  }
  boxes_ = std::move(loaded);
  for (auto& v : values_) v.clear();
  latest_ = path;
  return true;
}

}  // namespace kvr::monitors
