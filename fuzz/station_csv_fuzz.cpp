// Feeds arbitrary bytes to the navikor-station CSV reader.

#include "cli/navikor-station/StationCsv.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto r = navikor_station::parseStations(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)r;
    return 0;
}
