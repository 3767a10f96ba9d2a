// Arbitrary bytes from the panel through Read and Parse: the parser must stay in bounds,
// commit only whole frames, and keep the frame ring's positions inside the ring.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kvr/link/PPort.h"
#include "platform/testing/ManualLoop.h"
#include "usbxp/ScriptedBackend.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  platform::testing::ManualLoop loop;
  usbxp::ScriptedBackend lib;
  kvr::CUSBPort usb(lib);
  kvr::FrameRing frames;
  kvr::PPort port(usb, loop.clock(), frames);
  usb.Open();
  // The first byte picks the string: discovery, a DUNE, or BRIX + DUNE; the second how the
  // bytes are cut into reads.
  static const std::uint8_t kDiscovery[] = {255}, kDune[] = {230}, kBrixDune[] = {210, 211, 230};
  switch (data[0] % 3) {
    case 0: port.setExpectedAddresses(kDiscovery); port.setMinimumFrameLength(30); break;
    case 1: port.setExpectedAddresses(kDune); port.setMinimumFrameLength(30); port.setFrameDataBytes(6); break;
    default: port.setExpectedAddresses(kBrixDune); port.setMinimumFrameLength(39); port.setFrameDataBytes(11); break;
  }
  const std::size_t chunk = 1 + data[1] % 97;
  const std::uint32_t before = port.goodFrames();
  for (std::size_t at = 2; at < size; at += chunk) {
    lib.queue(data + at, std::min(chunk, size - at));
    port.Read();
    port.Parse();
    if (frames.write() >= kvr::FrameRing::kSize || frames.pending() >= kvr::FrameRing::kSize) std::abort();
    // Keep the ring from filling so that long inputs keep exercising the parser.
    if (data[0] & 0x80) frames.setRead(frames.write());
  }
  if (port.goodFrames() < before) std::abort();
  return 0;
}
