#include "kvr/presentation/CAddCurve.h"

#include <algorithm>

#include "common/presentation/Curve.h"

namespace kvr::editor {

std::optional<std::string> CAddCurve::run() {
  platform::TextRequest request;
  request.title = kAddCurveTitle;
  request.label = kAddCurveLabel;
  request.initial = kAddCurveDefault;
  request.maxLength = static_cast<int>(presentation::kDescriptionMax);
  auto text = prompter_.inputText(request);
  if (!text) return std::nullopt;
  return description(std::move(*text));
}

std::string CAddCurve::description(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  if (text.size() > presentation::kDescriptionMax) text.resize(presentation::kDescriptionMax);
  if (text.find_first_not_of(" \t") == std::string::npos) return "NoChannel";
  return text;
}

}  // namespace kvr::editor
