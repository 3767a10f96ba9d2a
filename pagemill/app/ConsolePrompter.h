#pragma once
// A Prompter for printing without a window: messages go to a stream, questions take their
// safe answer and dialogs are cancelled.

#include <ostream>

#include "platform/Prompter.h"

namespace pagemill {

class ConsolePrompter final : public platform::Prompter {
 public:
  explicit ConsolePrompter(std::ostream& out) : out_(out) {}
  platform::Answer ask(const platform::Message& m) override {
    out_ << "pagemill: " << m.title << ": " << m.text << "\n";
    switch (m.buttons) {
      case platform::Buttons::Ok: return platform::Answer::Ok;
      case platform::Buttons::YesNo:
      case platform::Buttons::YesNoCancel: return platform::Answer::No;
      default: return platform::Answer::Cancel;
    }
  }
  std::optional<std::string> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<platform::Colour> chooseColour(platform::Colour) override { return std::nullopt; }
  std::optional<std::string> inputText(const platform::TextRequest&) override { return std::nullopt; }

 private:
  std::ostream& out_;
};

}  // namespace pagemill
