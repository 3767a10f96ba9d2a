#include "pagemill/core/HeaderWnd.h"

#include <filesystem>
#include <fstream>

#include "common/presentation/RenderRules.h"
#include "pagemill/core/PagemillSettings.h"

namespace pagemill {

namespace {
constexpr const char* kNoTemplate =
    "You have not specified any header template !\nPlease selecte a header template and try again";
constexpr const char* kCannotOpen = "Error while trying to open the header template file\nCheck you settings and try again";
constexpr const char* kTemplateTitle = "ERROR";
}  // namespace

std::optional<std::string> readFilePrefix(const std::string& path, std::size_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(maxBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(maxBytes));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

std::string CHeaderWnd::templatePath(int kind) const {
  return settings_.getString(keys::kTemplates, templateValue(kind), "");
}

bool CHeaderWnd::run(int kind, platform::Canvas& canvas, bool printing) {
  const std::string path = templatePath(kind);
  if (path.empty()) {
    platform::tell(prompter_, kTemplateTitle, kNoTemplate, platform::Icon::Error);
    return false;
  }
  const auto text = readFilePrefix(path, kTemplateFileMax);
  if (!text) {
    platform::tell(prompter_, kTemplateTitle, kCannotOpen, platform::Icon::Error);
    return false;
  }
  TemplateOptions o;
  o.english = english_;
  o.printing = printing;
  o.printMode = printMode_;
  o.separatorText = separatorText_;
  o.folder = std::filesystem::path(path).parent_path();
  o.item = [this](int n) { return info_.itemText(n); };
  state_ = interpretTemplate(*text, origin_, o, canvas);
  origin_ = state_.origin;
  return true;
}

platform::Mapping previewMapping(bool english, platform::Size client) {
  const int k = presentation::paperLogWidth(english);
  platform::Mapping m;
  m.windowOrigin = {0, 0};
  m.windowExtent = {k, -static_cast<int>(0.73619634 * k)};
  m.viewportOrigin = {0, 0};
  m.viewportExtent = {client.width, client.height};
  return m;
}

}  // namespace pagemill
