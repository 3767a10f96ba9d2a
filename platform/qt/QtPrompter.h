#pragma once
// Message boxes and common dialogs with Qt, parented to a window.

#include <QWidget>

#include "platform/Prompter.h"

namespace platform::qt {

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  Answer ask(const Message& message) override;
  std::optional<std::string> openFile(const FileRequest& request) override;
  std::optional<std::string> saveFile(const FileRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& title, const std::string& initialDir) override;
  std::optional<Colour> chooseColour(Colour initial) override;
  std::optional<std::string> inputText(const TextRequest& request) override;

 private:
  QWidget* parent_;
};

// "Name (*.ext)|*.ext||" as a Qt name filter list ("Name (*.ext)").
QString qtFilter(const std::string& windowsFilter);

}  // namespace platform::qt
