#pragma once
// Several task panel factories as one: every call goes to each of them in turn, so each room
// makes only the panels of its own tools.

#include <initializer_list>
#include <vector>

#include "kvr/core/TaskPanelFactory.h"

namespace kvr {

class TaskPanelSet final : public TaskPanelFactory {
 public:
  TaskPanelSet(std::initializer_list<TaskPanelFactory*> factories) : factories_(factories) {}

  void destroyAll() override {
    for (auto* f : factories_) f->destroyAll();
  }
  void createTarnPanel(const records::ToolEntry& tool) override {
    for (auto* f : factories_) f->createTarnPanel(tool);
  }
  void createTarnBPanel(const records::ToolEntry& tool) override {
    for (auto* f : factories_) f->createTarnBPanel(tool);
  }
  void createTarnCPanel(const records::ToolEntry& tool) override {
    for (auto* f : factories_) f->createTarnCPanel(tool);
  }
  void createVuntPanel(const records::ToolEntry& tool) override {
    for (auto* f : factories_) f->createVuntPanel(tool);
  }
  void loadTarnCDriftOptions(tools::Globals& globals) override {
    for (auto* f : factories_) f->loadTarnCDriftOptions(globals);
  }

 private:
  std::vector<TaskPanelFactory*> factories_;
};

}  // namespace kvr
