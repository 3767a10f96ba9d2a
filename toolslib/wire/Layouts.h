#pragma once
// Every family's wire layout, for the encoder of the simulated panel and for tests.
#include <array>
#include <optional>

#include "toolslib/wire/BrixWire.h"
#include "toolslib/wire/DuneWire.h"
#include "toolslib/wire/FyrdWire.h"
#include "toolslib/wire/HavoWire.h"
#include "toolslib/wire/PlovWire.h"
#include "toolslib/wire/QuilWire.h"
#include "toolslib/wire/SevoWire.h"
#include "toolslib/wire/TarnBWire.h"
#include "toolslib/wire/TarnCWire.h"
#include "toolslib/wire/TarnWire.h"
#include "toolslib/wire/VuntWire.h"

namespace tools::wire {

inline constexpr std::array<const Layout*, 11> kAllLayouts = {
    &brix::kLayout, &tarn::kLayout, &tarnb::kLayout, &tarnc::kLayout, &dune::kLayout, &sevo::kLayout,
    &quil::kLayout, &vunt::kLayout, &havo::kLayout, &plov::kLayout, &fyrd::kLayout};

inline const Layout* layoutFor(std::uint8_t code) {
  for (const Layout* l : kAllLayouts)
    if (l->code == code) return l;
  return nullptr;
}

}  // namespace tools::wire
