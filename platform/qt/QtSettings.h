#pragma once
// Settings in the per-user INI file of organisation "KVR - Varexa", application "KVR"
// (or another application name, as Pagemill uses).

#include <QSettings>

#include <memory>

#include "platform/Settings.h"

namespace platform::qt {

class QtSettings final : public Settings {
 public:
  explicit QtSettings(const QString& application = "KVR", const QString& organisation = "KVR - Varexa");
  int getInt(const std::string& section, const std::string& name, int fallback) const override;
  void setInt(const std::string& section, const std::string& name, int value) override;
  std::string getString(const std::string& section, const std::string& name,
                        const std::string& fallback) const override;
  void setString(const std::string& section, const std::string& name, const std::string& value) override;
  QString fileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace platform::qt
