#pragma once
// A Prompter for the command-line tools: every message goes to a stream as
// "TITLE: text", every question gets one fixed answer, and no file dialog opens.

#include <ostream>

#include "platform/Prompter.h"

namespace kvr::utilities {

class BatchPrompter final : public platform::Prompter {
 public:
  explicit BatchPrompter(std::ostream& out, platform::Answer questions = platform::Answer::Ok)
      : out_(out), questions_(questions) {}

  platform::Answer ask(const platform::Message& message) override;
  std::optional<std::string> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<platform::Colour> chooseColour(platform::Colour) override { return std::nullopt; }
  std::optional<std::string> inputText(const platform::TextRequest&) override { return std::nullopt; }

  // Titles of the messages that reported a failure ("ERROR", "FATAL ERROR", ...).
  int failures() const { return failures_; }

 private:
  std::ostream& out_;
  platform::Answer questions_;
  int failures_ = 0;
};

}  // namespace kvr::utilities
