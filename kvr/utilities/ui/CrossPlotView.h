#pragma once
// The cross plot's drawing window: paints CCrossPlotViewWnd onto its client area.

#include <QWidget>

#include "kvr/utilities/CCrossPlotViewWnd.h"

namespace kvr::utilities::ui {

class CrossPlotView : public QWidget {
 public:
  explicit CrossPlotView(const CCrossPlotViewWnd& plot, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const CCrossPlotViewWnd& plot_;
};

}  // namespace kvr::utilities::ui
