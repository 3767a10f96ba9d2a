#pragma once
// A Prompter with queued answers that records every message it was shown.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace platform::testing {

class ScriptedPrompter final : public Prompter {
 public:
  // Answers for ask(), in order. When the queue is empty ask() gives the fallback answer
  // for the buttons shown: Ok, Cancel, No, No, Cancel, Abort.
  void queue(Answer a) { answers_.push_back(a); }
  void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  void queueText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }
  void queueColour(std::optional<Colour> c) { colours_.push_back(c); }
  // Runs while a question is open, before it is answered: window timers kept firing
  // under a modal box, so a test can advance its loop here.
  void whileAsking(std::function<void(const Message&)> f) { whileAsking_ = std::move(f); }

  Answer ask(const Message& message) override;
  std::optional<std::string> openFile(const FileRequest& request) override;
  std::optional<std::string> saveFile(const FileRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) override;
  std::optional<Colour> chooseColour(Colour initial) override;
  std::optional<std::string> inputText(const TextRequest& request) override;

  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
  const std::vector<TextRequest>& textRequests() const { return textRequests_; }
  // The texts of every message, in order: the easiest thing for a test to compare.
  std::vector<std::string> texts() const;
  bool saw(const std::string& title, const std::string& text) const;
  void clear() { messages_.clear(); fileRequests_.clear(); textRequests_.clear(); }
  std::size_t unusedAnswers() const { return answers_.size(); }

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<std::string>> texts_;
  std::deque<std::optional<Colour>> colours_;
  std::function<void(const Message&)> whileAsking_;
  std::vector<Message> messages_;
  std::vector<FileRequest> fileRequests_;
  std::vector<TextRequest> textRequests_;
};

}  // namespace platform::testing
