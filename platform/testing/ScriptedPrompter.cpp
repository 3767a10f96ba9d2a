#include "platform/testing/ScriptedPrompter.h"

namespace platform::testing {

namespace {
Answer fallbackFor(Buttons b) {
  switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesNoCancel: return Answer::No;
    case Buttons::RetryCancel: return Answer::Cancel;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    case Buttons::CancelTryContinue: return Answer::Cancel;
  }
  return Answer::Ok;
}

template <class T>
T takeOr(std::deque<T>& q, T fallback) {
  if (q.empty()) return fallback;
  T v = std::move(q.front());
  q.pop_front();
  return v;
}
}  // namespace

Answer ScriptedPrompter::ask(const Message& message) {
  messages_.push_back(message);
  if (whileAsking_) whileAsking_(message);
  return takeOr(answers_, fallbackFor(message.buttons));
}

std::optional<std::string> ScriptedPrompter::openFile(const FileRequest& request) {
  fileRequests_.push_back(request);
  return takeOr<std::optional<std::string>>(files_, std::nullopt);
}

std::optional<std::string> ScriptedPrompter::saveFile(const FileRequest& request) {
  fileRequests_.push_back(request);
  return takeOr<std::optional<std::string>>(files_, std::nullopt);
}

std::optional<std::string> ScriptedPrompter::chooseFolder(const std::string& title, const std::string& initialDir) {
  fileRequests_.push_back(FileRequest{title, "", "", "", initialDir});
  return takeOr<std::optional<std::string>>(files_, std::nullopt);
}

std::optional<Colour> ScriptedPrompter::chooseColour(Colour) {
  return takeOr<std::optional<Colour>>(colours_, std::nullopt);
}

std::optional<std::string> ScriptedPrompter::inputText(const TextRequest& request) {
  textRequests_.push_back(request);
  return takeOr<std::optional<std::string>>(texts_, std::nullopt);
}

std::vector<std::string> ScriptedPrompter::texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages_) out.push_back(m.text);
  return out;
}

bool ScriptedPrompter::saw(const std::string& title, const std::string& text) const {
  for (const auto& m : messages_) {
    if (m.title == title && m.text == text) return true;
  }
  return false;
}

}  // namespace platform::testing
