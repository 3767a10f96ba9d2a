#pragma once
// The roll test and the axis correction of kvr-survey: the task panel runs them on the
// simulated horizontal tool while a simulated operator turns the tool as each prompt asks.

#include <functional>
#include <ostream>

#include "cli/kvr-survey/SurveyArgs.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "platform/Prompter.h"
#include "platform/testing/ManualLoop.h"

namespace kvr::survey {

// Passes every message on; the operator acts on it first (turns the tool, waits).
class OperatorPrompter final : public platform::Prompter {
 public:
  explicit OperatorPrompter(platform::Prompter& inner) : inner_(inner) {}
  void setOperator(std::function<void(const platform::Message&)> f) { operator_ = std::move(f); }

  platform::Answer ask(const platform::Message& m) override {
    if (operator_) operator_(m);
    return inner_.ask(m);
  }
  std::optional<std::string> openFile(const platform::FileRequest& r) override { return inner_.openFile(r); }
  std::optional<std::string> saveFile(const platform::FileRequest& r) override { return inner_.saveFile(r); }
  std::optional<std::string> chooseFolder(const std::string& t, const std::string& d) override {
    return inner_.chooseFolder(t, d);
  }
  std::optional<platform::Colour> chooseColour(platform::Colour c) override { return inner_.chooseColour(c); }
  std::optional<std::string> inputText(const platform::TextRequest& r) override { return inner_.inputText(r); }

 private:
  platform::Prompter& inner_;
  std::function<void(const platform::Message&)> operator_;
};

// Runs the procedure of args.procedure; prints "file: PATH" of its report and the report's
// summary. 0 when the report was written, 1 otherwise.
int runRollProcedure(const SurveyArgs& args, LoggingStation& station, tarnc::CTARN_C_TaskDlg& panel,
                     platform::testing::ManualLoop& loop, OperatorPrompter& prompter, std::ostream& out,
                     std::ostream& err);

}  // namespace kvr::survey
