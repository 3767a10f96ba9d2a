#pragma once
// "Adding a Curve": asks for the description of a new curve.

#include <optional>
#include <string>

#include "platform/Prompter.h"

namespace kvr::editor {

inline constexpr const char* kAddCurveTitle = "Adding a Curve";
inline constexpr const char* kAddCurveLabel = "Please enter a name ";
inline constexpr const char* kAddCurveDefault = "NEW CURVE";

class CAddCurve {
 public:
  explicit CAddCurve(platform::Prompter& prompter) : prompter_(prompter) {}
  // The description on OK, nothing on Cancel. It is one line of at most 79 characters, and
  // a blank one becomes "NoChannel": the presentation file could not read either back.
  std::optional<std::string> run();
  static std::string description(std::string text);

 private:
  platform::Prompter& prompter_;
};

}  // namespace kvr::editor
