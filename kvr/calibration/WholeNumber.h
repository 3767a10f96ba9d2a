#pragma once
// The number typed into an editor cell: taken only when the whole text is one finite number
// a float can hold ("12x", an empty box, "nan" and "inf" are not).

#include <optional>
#include <string_view>

namespace kvr {

std::optional<double> wholeFiniteNumber(std::string_view text);

}  // namespace kvr
