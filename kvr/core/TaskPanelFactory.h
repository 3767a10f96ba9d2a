#pragma once
// Where the task panels of the special tools are made when a string is confirmed. The
// panels come with their own work (TARN, TARN-B, TARN-C, VUNT); until then the factory
// makes nothing.

#include <initializer_list>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "toolslib/Globals.h"

namespace kvr {

class TaskPanelFactory {
 public:
  virtual ~TaskPanelFactory() = default;
  // Before the tool state is rebuilt: every existing panel goes.
  virtual void destroyAll() {}
  virtual void createTarnPanel(const records::ToolEntry& tool) { (void)tool; }
  virtual void createTarnBPanel(const records::ToolEntry& tool) { (void)tool; }
  virtual void createTarnCPanel(const records::ToolEntry& tool) { (void)tool; }
  virtual void createVuntPanel(const records::ToolEntry& tool) { (void)tool; }
  // The TARN-C drift-correction options into the library's globals.
  virtual void loadTarnCDriftOptions(tools::Globals& globals) { (void)globals; }
};

// Several rooms' factories as one: every call goes to each in turn.
class TaskPanelFan final : public TaskPanelFactory {
 public:
  TaskPanelFan(std::initializer_list<TaskPanelFactory*> rooms) : rooms_(rooms) {}
  void destroyAll() override {
    for (auto* r : rooms_) r->destroyAll();
  }
  void createTarnPanel(const records::ToolEntry& tool) override {
    for (auto* r : rooms_) r->createTarnPanel(tool);
  }
  void createTarnBPanel(const records::ToolEntry& tool) override {
    for (auto* r : rooms_) r->createTarnBPanel(tool);
  }
  void createTarnCPanel(const records::ToolEntry& tool) override {
    for (auto* r : rooms_) r->createTarnCPanel(tool);
  }
  void createVuntPanel(const records::ToolEntry& tool) override {
    for (auto* r : rooms_) r->createVuntPanel(tool);
  }
  void loadTarnCDriftOptions(tools::Globals& globals) override {
    for (auto* r : rooms_) r->loadTarnCDriftOptions(globals);
  }

 private:
  std::vector<TaskPanelFactory*> rooms_;
};

// The factory until the panels exist.
class NoTaskPanels final : public TaskPanelFactory {};

}  // namespace kvr
