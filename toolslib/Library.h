#pragma once
// The TOOLS library as one object: its globals and one instance of each family, looked up
// by tool code. The program constructs one and passes it to whoever needs it.

#include <array>
#include <cstdint>
#include <memory>

#include "toolslib/Family.h"
#include "toolslib/Globals.h"

class CNavikor;

namespace tools {

class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  Globals& globals() { return globals_; }
  const Globals& globals() const { return globals_; }

  // The family of a tool code; nullptr for a code without one (such tools are skipped).
  Family* family(std::uint8_t code);
  const Family* family(std::uint8_t code) const;

  // Start-up: the system units, and every family's parameter defaults.
  void initToolsData(const records::SystemUnitsS& units);

  // The program's one inertial object: the TARN-C calibration goes into it and the frame
  // dispatch hands it to TARN-C. The library has its own until the program gives one.
  CNavikor& navikor() { return *navikor_; }
  void useNavikor(CNavikor& navikor);

  // All eleven families in tool-code order.
  std::array<Family*, 11> families();

 private:
  Globals globals_;
  std::unique_ptr<CNavikor> ownNavikor_;
  CNavikor* navikor_;
  std::array<std::unique_ptr<Family>, 11> families_;
  std::array<Family*, 256> byCode_{};
};

}  // namespace tools
