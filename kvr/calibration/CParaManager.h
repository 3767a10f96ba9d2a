#pragma once
// "&Tool Parameters": the parameter arrays of the tools in the string, edited in place in
// the TOOLS library (what the tool computes and what is sent is what the editor shows).
// "<<" and ">>" walk the tools; a number is committed only when its whole text is a number
// the record can carry; a choice changes only the selected index, its value is encoded
// when the parameter is sent.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "kvr/calibration/DownholeSender.h"
#include "toolslib/Library.h"

namespace kvr {

class CParaManager {
 public:
  // The tools are the entries of kind 1 with a family in the library.
  CParaManager(tools::Library& library, const records::ToolList& string, DownholeSender& sender);

  bool hasTools() const { return !tools_.empty(); }
  std::size_t toolCount() const { return tools_.size(); }
  std::size_t currentTool() const { return current_; }
  // "Parameters for " + the tool's name; "Parameters" without a tool.
  std::string title() const;
  void previous();  // "<<"
  void next();      // ">>"

  // Rows of the current tool; none without a tool.
  std::size_t rowCount() const;
  const records::ToolParameterS& record(std::size_t row) const;
  bool isChoice(std::size_t row) const;
  // "Value" column: the selected choice text, else the value with five decimals.
  std::string valueText(std::size_t row) const;

  // False (the old value stays) unless the whole text is a finite number that fits the
  // record's message ("12x", "nan", 70000 for a 16-bit value are refused).
  bool commitNumber(std::size_t row, std::string_view text);
  bool commitChoice(std::size_t row, int choice);

  // "Send Selected" (rows of the current tool in list order) and "Send All".
  int sendSelected(const std::vector<std::size_t>& rows);
  int sendAll();

 private:
  std::vector<records::ToolParameterS>* list() const;

  tools::Library& library_;
  DownholeSender& sender_;
  std::vector<records::ToolEntry> tools_;
  std::size_t current_ = 0;
};

}  // namespace kvr
