#pragma once
// The program's texts are byte strings: most are ASCII, a few carry a Latin-1 degree sign
// (0xBA) and a few UTF-8 ones. Valid UTF-8 is shown as such, anything else as Latin-1.

#include <QString>

#include <string_view>

namespace platform::qt {

inline QString textFromBytes(std::string_view bytes) {
  QString u = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  bool bad = u.contains(QChar::ReplacementCharacter) && bytes.find("\xEF\xBF\xBD") == std::string_view::npos;
  return bad ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())) : u;
}

}  // namespace platform::qt
