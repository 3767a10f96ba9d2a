#pragma once
// The desktop program's own options. Qt takes its options (-platform, -display, ...) out of
// the argument list first; whatever is left must be ours.

#include <string>
#include <vector>

namespace kvr {

inline constexpr const char* kKvrUsage =
    "usage: kvr [--panel auto|sim|serial|DEVICE]\n"
    "KVR, the acquisition and survey program.\n"
    "  --panel auto     the surface panel when one is attached, else the simulated panel (default)\n"
    "  --panel sim      the built-in simulated surface panel and tool string\n"
    "  --panel serial   the surface panel on its USB bridge; DEVICE names its tty\n"
    "Without --panel the setting Options/PanelLink decides. Qt's own options are accepted.\n";

struct KvrArguments {
  bool help = false;
  std::string error;  // empty when the arguments are good
};

// args without the program name.
KvrArguments checkKvrArguments(const std::vector<std::string>& args);

}  // namespace kvr
