#include "platform/testing/MemorySettings.h"

#include "platform/SettingsText.h"

namespace platform::testing {

int MemorySettings::getInt(const std::string& section, const std::string& name, int fallback) const {
  auto it = values_.find({section, name});
  if (it == values_.end()) return fallback;
  return parseSettingInt(it->second, fallback);
}

void MemorySettings::setInt(const std::string& section, const std::string& name, int value) {
  values_[{section, name}] = std::to_string(value);
  ++writes_;
}

std::string MemorySettings::getString(const std::string& section, const std::string& name,
                                      const std::string& fallback) const {
  auto it = values_.find({section, name});
  return it == values_.end() ? fallback : it->second;
}

void MemorySettings::setString(const std::string& section, const std::string& name, const std::string& value) {
  values_[{section, name}] = value;
  ++writes_;
}

}  // namespace platform::testing
