#pragma once
// The text control on screen: a widget that paints its CStaticEx. A magnified one refits its
// font whenever the window size or the text changes.

#include <QWidget>

#include "kvr/monitors/CStaticEx.h"

namespace kvr::ui {

class StaticExWidget final : public QWidget {
 public:
  explicit StaticExWidget(bool magnified, QWidget* parent = nullptr);
  void setText(const std::string& text);
  monitors::CStaticEx& control() { return control_; }
  const monitors::CStaticEx& control() const { return control_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  monitors::CStaticEx control_;
  bool magnified_;
};

}  // namespace kvr::ui
