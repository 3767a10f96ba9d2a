#include "kvr/presentation/ui/PresentationPreview.h"

#include "common/presentation/LogStart.h"

namespace kvr::ui {

// The value stream of a log that has not started.
class PresentationPreview::NoFrames final : public presentation::FrameSource {
 public:
  explicit NoFrames(int values) : values_(values) {}
  int valuesPerFrame() const override { return values_; }
  std::uint64_t frameCount() const override { return 0; }
  std::size_t readFrames(std::uint64_t, std::size_t, std::vector<float>&) const override { return 0; }

 private:
  int values_;
};

PresentationPreview::PresentationPreview() = default;
PresentationPreview::~PresentationPreview() = default;

void PresentationPreview::show(const std::vector<presentation::CFormat>& formats) {
  windows_.clear();
  frames_.clear();
  formats_.clear();
  for (std::size_t i = 0; i < formats.size(); ++i) {
    auto f = std::make_unique<presentation::CFormat>(formats[i]);
    for (auto& t : f->tracks) {
      for (auto& c : t.curves) c.enabled = true;
      if (t.mode == presentation::TrackMode::Logarithmic) presentation::computeLogTicks(t);
    }
    presentation::normaliseReversed(*f);
    frames_.push_back(std::make_unique<NoFrames>(f->valuesPerRecord()));
    ChartViewStart start;
    start.index = i;
    start.loggingUp = true;
    start.step = 2;
    start.header.formatFile = f->name;
    start.header.scale = presentation::scaleText(f->scale);
    auto w = std::make_unique<LogWindow>(start, *f, *frames_.back());
    w->show();
    windows_.push_back(std::move(w));
    formats_.push_back(std::move(f));
  }
}

}  // namespace kvr::ui
