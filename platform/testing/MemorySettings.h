#pragma once
// Settings held in memory, for tests.

#include <map>
#include <string>
#include <utility>

#include "platform/Settings.h"

namespace platform::testing {

class MemorySettings final : public Settings {
 public:
  int getInt(const std::string& section, const std::string& name, int fallback) const override;
  void setInt(const std::string& section, const std::string& name, int value) override;
  std::string getString(const std::string& section, const std::string& name,
                        const std::string& fallback) const override;
  void setString(const std::string& section, const std::string& name, const std::string& value) override;

  bool has(const std::string& section, const std::string& name) const { return values_.count({section, name}) != 0; }
  int writes() const { return writes_; }
  // Stored text of a value, as an INI file would hold it (an integer is its decimal text).
  void setRaw(const std::string& section, const std::string& name, const std::string& text) { values_[{section, name}] = text; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
  int writes_ = 0;
};

}  // namespace platform::testing
