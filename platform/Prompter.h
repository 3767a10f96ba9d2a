#pragma once
// Modal questions and the common dialogs, as the program asks them.
// Controllers talk to this port; the Qt adapter shows real dialogs, tests script the answers.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// CancelTryContinue: "Cancel", "Try Again", "Continue" (the calibration steps).
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore, CancelTryContinue };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore, TryAgain, Continue };

struct Message {
  std::string title;
  std::string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

// A file dialog request. `filter` uses the pipe form "Name (*.ext)|*.ext||";
// `initialDir` and the answer are native paths.
struct FileRequest {
  std::string title;
  std::string filter;
  std::string defaultName;
  std::string defaultExtension;
  std::string initialDir;
};

struct TextRequest {
  std::string title;
  std::string label;
  std::string initial;
  int maxLength = 0;  // 0: no limit
};

using Colour = std::uint32_t;  // red + 256 x green + 65536 x blue

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual Answer ask(const Message& message) = 0;
  virtual std::optional<std::string> openFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileRequest& request) = 0;
  virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) = 0;
  virtual std::optional<Colour> chooseColour(Colour initial) = 0;
  virtual std::optional<std::string> inputText(const TextRequest& request) = 0;
};

// Shorthand for the common case: a message box with one OK button.
inline void tell(Prompter& prompter, const std::string& title, const std::string& text,
                 Icon icon = Icon::None) {
  prompter.ask(Message{title, text, Buttons::Ok, icon});
}

}  // namespace platform
