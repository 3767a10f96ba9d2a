#pragma once
// The four-column parameter list ("Name", "Description", "Value", "Unit") with its in-place
// editors: a drop-down of the choice texts for a choice list, a ten-character text box with
// the value selected for a number. The rows come from either editor through ParameterRows.

#include <QTableWidget>

#include <string>
#include <vector>

namespace kvr::ui {

class ParameterRows {
 public:
  virtual ~ParameterRows() = default;
  virtual std::size_t rowCount() const = 0;
  virtual std::string mnemonic(std::size_t row) const = 0;
  virtual std::string description(std::size_t row) const = 0;
  virtual std::string valueText(std::size_t row) const = 0;
  virtual std::string unit(std::size_t row) const = 0;
  virtual bool isChoice(std::size_t row) const = 0;
  virtual std::vector<std::string> choices(std::size_t row) const = 0;
  virtual int selectedChoice(std::size_t row) const = 0;
  virtual bool commitNumber(std::size_t row, const std::string& text) = 0;
  virtual bool commitChoice(std::size_t row, int choice) = 0;
};

// Adapts an editor with the records' usual fields (CSysParManager, CParaManager).
template <class Editor>
class EditorRows final : public ParameterRows {
 public:
  explicit EditorRows(Editor& e) : e_(e) {}
  std::size_t rowCount() const override { return e_.rowCount(); }
  std::string mnemonic(std::size_t r) const override { return code(e_.record(r)); }
  std::string description(std::size_t r) const override { return name(e_.record(r)); }
  std::string valueText(std::size_t r) const override { return e_.valueText(r); }
  std::string unit(std::size_t r) const override { return e_.record(r).unit; }
  bool isChoice(std::size_t r) const override { return e_.isChoice(r); }
  std::vector<std::string> choices(std::size_t r) const override {
    const auto& rec = e_.record(r);
    std::vector<std::string> out;
    for (int i = 0; i < rec.choiceCount && i < static_cast<int>(rec.choiceTexts.size()); ++i)
      out.push_back(rec.choiceTexts[static_cast<std::size_t>(i)]);
    return out;
  }
  int selectedChoice(std::size_t r) const override { return e_.record(r).selectedChoice; }
  bool commitNumber(std::size_t r, const std::string& text) override { return e_.commitNumber(r, text); }
  bool commitChoice(std::size_t r, int choice) override { return e_.commitChoice(r, choice); }

 private:
  template <class R>
  static std::string code(const R& r) {
    if constexpr (requires { r.code; }) return r.code; else return r.mnemonic;
  }
  template <class R>
  static std::string name(const R& r) {
    if constexpr (requires { r.name; }) return r.name; else return r.description;
  }
  Editor& e_;
};

class ParameterTable final : public QTableWidget {
 public:
  ParameterTable(ParameterRows& rows, QWidget* parent = nullptr);
  // Rebuilds every row (another tool, or values changed elsewhere).
  void reload();
  // Opens the in-place editor of a row's value (a click on the "Value" cell).
  void editValue(int row);
  // The selected rows in list order.
  std::vector<std::size_t> selectedRowsInOrder() const;

 private:
  void refreshRow(int row);
  void closeEditor(int row);
  ParameterRows& rows_;
};

}  // namespace kvr::ui
