#include "kvr/postprocess/PostProcessManager.h"

#include "kvr/postprocess/RawStreamFile.h"

namespace kvr::postprocess {

PostProcessManager::PostProcessManager(tools::Library& tools, platform::Prompter& prompter, platform::Clock& clock,
                                       TraceSink& trace)
    : prompter_(prompter), trace_(trace), run_(tools, prompter, clock, trace) {}

bool PostProcessManager::addFiles(const std::string& sessionFolder) {
  platform::FileRequest request;
  request.filter = kSessionFilter;
  request.defaultExtension = "csv";
  request.initialDir = sessionFolder.empty() ? std::string() : sessionFolder + "/Output";
  const auto chosen = prompter_.openFile(request);
  return chosen && load(*chosen);
}

bool PostProcessManager::load(const std::string& eventLogPath) {
  auto events = LoadSessionLog(eventLogPath, prompter_, trace_);
  if (!events) return false;
  path_ = eventLogPath;
  events_ = std::move(*events);
  segments_ = FindContinuousSegments(events_, prompter_, trace_);
  rows_.clear();
  const std::string title = titleOf(eventLogPath);
  for (std::size_t k = 0; k < segments_.segments.size(); ++k) {
    const auto& s = segments_.segments[k];
    rows_.push_back({format("%s [%d]", title.c_str(), static_cast<int>(k + 1)), "N/A", "N/A",
                     format("%.2f", s.iniAzi), format("%.2f", s.iniTf), format("%.2f", s.iniDevi),
                     format("%.2f", s.finAzi), format("%.2f", s.finTf), format("%.2f", s.finDevi),
                     format("%.2f", s.finDevi - s.iniDevi)});
  }
  return true;
}

ProcessResult PostProcessManager::process() {
  return run_.process(path_, events_, options);
}

}  // namespace kvr::postprocess
