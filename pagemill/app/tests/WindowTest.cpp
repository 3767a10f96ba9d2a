#include <gtest/gtest.h>

#include <QImage>

#include "common/presentation/ChartDataFile.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/ui/PagemillWindow.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

TEST(PagemillWindow, ShowsALogAndKeepsTheUnitMode) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto cdf = tmp.base() / "view.cdf";
  presentation::CFormat f;
  presentation::CColumn t;
  presentation::CCurve c;
  c.name = "GR";
  c.leftValue = 0;
  c.rightValue = 100;
  c.colour = platform::rgb(255, 0, 0);
  t.curves = {c};
  f.tracks = {t};
  presentation::ChartDataWriter w;
  ASSERT_EQ(w.create(presentation::openByteFile(cdf, presentation::OpenMode::CreateTruncate), f, true), 0);
  for (int i = 0; i < 2000; ++i) {
    const float rec[2] = {2000.0f - 0.25f * static_cast<float>(i), static_cast<float>(i % 100)};
    w.appendFrame(rec);
  }
  w.flush();

  platform::testing::MemorySettings settings;  // no "Unit System": English
  platform::qt::QtPrompter prompter;
  ui::PagemillWindow window(settings, prompter);
  EXPECT_TRUE(window.english());
  window.resize(900, 760);
  window.show();
  ASSERT_TRUE(window.openLog(cdf.string()));
  EXPECT_GT(window.viewer().scrollRange(), 0);
  EXPECT_EQ(window.viewer().scrollPosition(), window.viewer().scrollRange());  // recorded up: at its end
  const QImage shot = window.grab().toImage();
  int red = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QColor p = shot.pixelColor(x, y);
      if (p.red() > 200 && p.green() < 80 && p.blue() < 80) ++red;
    }
  EXPECT_GT(red, 50);  // the curve is drawn

  window.setEnglish(false);
  EXPECT_EQ(settings.getInt(keys::kSettings, keys::kUnitSystem, 1), 0);
  EXPECT_EQ(window.log().logWidth(), 20700);
}

}  // namespace
}  // namespace pagemill
