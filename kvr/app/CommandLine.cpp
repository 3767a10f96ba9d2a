#include "kvr/app/CommandLine.h"

#include "kvr/link/PanelLink.h"

namespace kvr {

KvrArguments checkKvrArguments(const std::vector<std::string>& args) {
  KvrArguments out;
  const std::string option = kPanelLinkOption;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out.help = true;
      continue;
    }
    std::string value;
    if (a.rfind(option + "=", 0) == 0) {
      value = a.substr(option.size() + 1);
    } else if (a == option) {
      if (i + 1 >= args.size()) return {false, "kvr: " + option + " needs a value"};
      value = args[++i];
    } else {
      return {false, "kvr: unknown option \"" + a + "\""};
    }
    if (!parsePanelLinkChoice(value)) return {false, "kvr: " + option + " takes auto, sim, serial or a device path, not \"" + value + "\""};
  }
  return out;
}

}  // namespace kvr
