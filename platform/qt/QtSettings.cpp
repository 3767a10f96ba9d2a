#include "platform/qt/QtSettings.h"

#include "platform/SettingsText.h"

namespace platform::qt {

namespace {
QString key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + "/" + QString::fromStdString(name);
}
}  // namespace

QtSettings::QtSettings(const QString& application, const QString& organisation)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application)) {}

int QtSettings::getInt(const std::string& section, const std::string& name, int fallback) const {
  QVariant v = settings_->value(key(section, name));
  if (!v.isValid()) return fallback;
  return platform::parseSettingInt(v.toString().toStdString(), fallback);
}

void QtSettings::setInt(const std::string& section, const std::string& name, int value) {
  settings_->setValue(key(section, name), value);
  settings_->sync();
}

std::string QtSettings::getString(const std::string& section, const std::string& name,
                                  const std::string& fallback) const {
  QVariant v = settings_->value(key(section, name));
  return v.isValid() ? v.toString().toStdString() : fallback;
}

void QtSettings::setString(const std::string& section, const std::string& name, const std::string& value) {
  settings_->setValue(key(section, name), QString::fromStdString(value));
  settings_->sync();
}

}  // namespace platform::qt
