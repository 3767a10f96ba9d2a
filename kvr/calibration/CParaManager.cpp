#include "kvr/calibration/CParaManager.h"

#include <cstdio>

#include "kvr/calibration/WholeNumber.h"
#include "kvr/link/ParameterMessage.h"

namespace kvr {

CParaManager::CParaManager(tools::Library& library, const records::ToolList& string, DownholeSender& sender)
    : library_(library), sender_(sender) {
  for (const auto& entry : string)
    if (entry.isTool() && library_.family(entry.code()) != nullptr) tools_.push_back(entry);
}

std::vector<records::ToolParameterS>* CParaManager::list() const {
  if (tools_.empty()) return nullptr;
  return &library_.family(tools_[current_].code())->getParameterList();
}

std::string CParaManager::title() const {
  return tools_.empty() ? std::string("Parameters") : "Parameters for " + tools_[current_].name;
}

void CParaManager::previous() {
  if (current_ > 0) --current_;
}

void CParaManager::next() {
  if (current_ + 1 < tools_.size()) ++current_;
}

std::size_t CParaManager::rowCount() const {
  const auto* l = list();
  return l ? l->size() : 0;
}

const records::ToolParameterS& CParaManager::record(std::size_t row) const { return list()->at(row); }

bool CParaManager::isChoice(std::size_t row) const { return record(row).choiceCount > 0; }

std::string CParaManager::valueText(std::size_t row) const {
  const auto& r = record(row);
  if (isChoice(row)) return r.selectedChoice < r.choiceTexts.size() ? r.choiceTexts[r.selectedChoice] : std::string();
  char text[64];
  std::snprintf(text, sizeof text, "%.5f", static_cast<double>(r.value));
  return text;
}

bool CParaManager::commitNumber(std::size_t row, std::string_view text) {
  if (row >= rowCount() || isChoice(row)) return false;
  const auto v = wholeFiniteNumber(text);
  if (!v) return false;
  auto& r = list()->at(row);
  auto trial = r;
  trial.value = static_cast<float>(*v);
  // A downhole value must also fit its message; a surface value only has to be a float.
  if (r.messageLength != 0 && !parameterValueFits(trial)) return false;
  r.value = trial.value;
  return true;
}

bool CParaManager::commitChoice(std::size_t row, int choice) {
  if (row >= rowCount() || !isChoice(row)) return false;
  auto& r = list()->at(row);
  if (choice < 0 || choice >= r.choiceCount || static_cast<std::size_t>(choice) >= r.choiceTexts.size()) return false;
  r.selectedChoice = static_cast<std::uint8_t>(choice);
  return true;
}

int CParaManager::sendSelected(const std::vector<std::size_t>& rows) {
  std::vector<records::ToolParameterS*> chosen;
  auto* l = list();
  for (std::size_t row : rows)
    if (l && row < l->size()) chosen.push_back(&(*l)[row]);
  return sender_.sendParameters(chosen, false);
}

int CParaManager::sendAll() {
  std::vector<records::ToolParameterS*> chosen;
  for (const auto& entry : tools_)
    for (auto& p : library_.family(entry.code())->getParameterList()) chosen.push_back(&p);
  return sender_.sendParameters(chosen, true);
}

}  // namespace kvr
