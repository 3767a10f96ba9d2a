#include "toolslib/Library.h"

#include "navikor/Navikor.h"

#include "toolslib/families/Brix.h"
#include "toolslib/families/Dune.h"
#include "toolslib/families/Fyrd.h"
#include "toolslib/families/Havo.h"
#include "toolslib/families/Plov.h"
#include "toolslib/families/Quil.h"
#include "toolslib/families/Sevo.h"
#include "toolslib/families/Tarn.h"
#include "toolslib/families/TarnB.h"
#include "toolslib/families/TarnC.h"
#include "toolslib/families/Vunt.h"

namespace tools {

Library::Library() : ownNavikor_(std::make_unique<CNavikor>()), navikor_(ownNavikor_.get()) {
  tarnc::pointNavikorAtNothing(*navikor_);
  families_ = {std::make_unique<Brix>(globals_),  std::make_unique<Tarn>(globals_), std::make_unique<TarnB>(globals_),
               std::make_unique<TarnC>(globals_, *navikor_), std::make_unique<Dune>(globals_), std::make_unique<Sevo>(globals_),
               std::make_unique<Quil>(globals_),  std::make_unique<Vunt>(globals_), std::make_unique<Havo>(globals_),
               std::make_unique<Plov>(globals_),  std::make_unique<Fyrd>(globals_)};
  for (auto& f : families_) {
    byCode_[f->code()] = f.get();
    f->loadParameterList();
  }
}

Library::~Library() = default;

void Library::useNavikor(CNavikor& navikor) {
  navikor_ = &navikor;
  auto* tarnC = static_cast<TarnC*>(byCode_[227]);
  tarnC->useNavikor(navikor);
  tarnC->CargarCalibracionDLLdelKVR(&navikor);
}

Family* Library::family(std::uint8_t code) { return byCode_[code]; }
const Family* Library::family(std::uint8_t code) const { return byCode_[code]; }

void Library::initToolsData(const records::SystemUnitsS& units) {
  globals_.SystemUnits = units;
  globals_.DataBuffSize = 32767;
  for (auto& f : families_) f->loadParameterList();
}

std::array<Family*, 11> Library::families() {
  std::array<Family*, 11> out{};
  for (std::size_t i = 0; i < families_.size(); ++i) out[i] = families_[i].get();
  return out;
}

}  // namespace tools
