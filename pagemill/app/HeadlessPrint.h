#pragma once
// Printing without a window, for batch work:
//   pagemill --print LIST.wpl --pdf OUT.pdf [--kvr FILE.kvr] [--metric] [options]
//   pagemill --print-cdf FILE.cdf --pdf OUT.pdf [--kvr FILE.kvr] [--metric] [options]
// options: --printer QUEUE (a CUPS printer instead of a PDF), --page letter|a4|legal|fanfold,
//          --continuous, --mode 1|2|3, --advance "6 in PAGE", --offset HUNDREDTHS_MM
// Templates come from the user's settings, or the shipped ones where a setting is empty.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pagemill {

// The program's usage text (--help).
const char* usage();
bool wantsHelp(const std::vector<std::string>& args);
// The window's arguments (after Qt took its own): at most one log to show. ok is false,
// and the fault and the usage are written to err, for an unknown option or a second log.
std::optional<std::string> windowArguments(const std::vector<std::string>& args, std::ostream& err, bool& ok);

// True when the arguments ask for headless printing.
bool wantsHeadless(const std::vector<std::string>& args);
// Runs the print job; 0 when it finished, 1 when it ended early or failed, 2 for bad usage.
// Needs a QGuiApplication.
int runHeadless(const std::vector<std::string>& args, std::ostream& err);

}  // namespace pagemill
