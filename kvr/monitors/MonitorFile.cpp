#include "kvr/monitors/MonitorFile.h"

#include <algorithm>
#include <cstring>

#include "common/records/LittleEndian.h"

namespace kvr::monitors {

using namespace records;
using namespace records::le;

void encodeBox(const MonitorBox& box, std::uint8_t* out) {
  std::memset(out, 0, kBoxBytes);
  encode(box.channel, out);
  putText(out + 56, kNameBytes, box.name);
  putU32(out + 68, box.textId);
  putU32(out + 72, box.buttonId);
  out[76] = box.active ? 1 : 0;
}

MonitorBox decodeBox(const std::uint8_t* in) {
  MonitorBox box;
  box.channel = decodeChannel(in);
  // Texts as they are written: one byte short of their field for the terminating zero.
  if (box.channel.mnemonic.size() > 19) box.channel.mnemonic.resize(19);
  if (box.channel.unit.size() > 19) box.channel.unit.resize(19);
  box.name = getText(in + 56, kNameBytes);
  if (box.name.size() >= kNameBytes) box.name.resize(kNameBytes - 1);
  box.textId = getU32(in + 68);
  box.buttonId = getU32(in + 72);
  box.active = in[76] != 0;
  return box;
}

std::vector<std::uint8_t> encodeMonitorFile(const MonitorBoxes& boxes) {
  std::vector<std::uint8_t> out(kMonitorFileBytes, 0);
  std::memcpy(out.data(), kMonitorHeader, kHeaderBytes);
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) encodeBox(boxes[i], out.data() + kHeaderBytes + i * kBoxBytes);
  return out;
}

MonitorFileRead decodeMonitorFile(std::span<const std::uint8_t> bytes, MonitorBoxes& out) {
  // The header is compared as far as the file goes: a short file that starts like a
  // monitor file is one that could not be read.
  const std::size_t head = std::min(bytes.size(), kHeaderBytes);
  if (head > 0 && std::memcmp(bytes.data(), kMonitorHeader, head) != 0) return MonitorFileRead::NotAMonitorFile;
  if (bytes.size() < kMonitorFileBytes) return MonitorFileRead::ShortRead;
  MonitorBoxes boxes;
  for (std::size_t i = 0; i < kMonitorBoxes; ++i) boxes[i] = decodeBox(bytes.data() + kHeaderBytes + i * kBoxBytes);
  out = std::move(boxes);
  return MonitorFileRead::Ok;
}

}  // namespace kvr::monitors
