#pragma once
// Per-user settings by section and value name. Missing or unreadable values give the default.

#include <string>

namespace platform {

class Settings {
 public:
  virtual ~Settings() = default;
  virtual int getInt(const std::string& section, const std::string& name, int fallback) const = 0;
  virtual void setInt(const std::string& section, const std::string& name, int value) = 0;
  virtual std::string getString(const std::string& section, const std::string& name,
                                const std::string& fallback) const = 0;
  virtual void setString(const std::string& section, const std::string& name, const std::string& value) = 0;
};

}  // namespace platform
