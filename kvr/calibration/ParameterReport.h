#pragma once
// "Create &Report List": the four main system parameters and every tool's parameters in
// "ParamterReport" of the session folder (the first free name), then the message that
// names it, or the error when any write failed.

#include <filesystem>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "common/records/ChannelStruct.h"
#include "common/records/SysParameter.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr {

struct ParameterReportInput {
  const std::vector<records::SysParameterS>& system;
  tools::Library& library;
  const records::ToolList& string;
};

// The path written; empty when the report could not be written completely.
std::filesystem::path writeParameterReport(FileSystem& fs, const std::filesystem::path& folder,
                                           const ParameterReportInput& input, const platform::Clock& clock,
                                           platform::Prompter& prompter);

}  // namespace kvr
