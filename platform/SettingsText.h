#pragma once
// Reading an integer setting from its stored text. Anything that is not a whole decimal
// number inside the int range gives the fallback, as a missing value does.

#include <string_view>

namespace platform {

int parseSettingInt(std::string_view text, int fallback);

}  // namespace platform
