// A chart data file saved as a PNG off screen: the picture exists and shows the curve.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cmath>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "kvr/logging/ui/ChartPng.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

constexpr platform::Rgb kRed = platform::rgb(255, 0, 0);

presentation::CFormat gammaFormat() {
  presentation::CFormat f;
  f.name = "Gamma";
  f.scale = 200;
  presentation::CColumn t;
  t.left = 20;
  t.width = 300;
  presentation::CCurve c;
  c.name = "GR";
  c.leftValue = 0;
  c.rightValue = 100;
  c.colour = kRed;
  c.thickness = 2;
  c.enabled = true;
  t.curves = {c};
  f.tracks = {t};
  return f;
}

TEST(ChartPng, APictureOfEveryRowIsSavedBesideTheFile) {
  platform::qt::testing::qtTestApp();
  QTemporaryDir dir;
  const std::filesystem::path cdf = dir.filePath("GammaLOG.cdf").toStdString();
  {
    presentation::ChartDataWriter w;
    ASSERT_EQ(w.create(presentation::openByteFile(cdf, presentation::OpenMode::CreateTruncate), gammaFormat(), false), 0);
    for (int i = 0; i < 300; ++i) {
      const float record[2] = {5000.0f + 0.25f * static_cast<float>(i), 50.0f + 30.0f * std::sin(i / 8.0f)};
      ASSERT_EQ(w.appendFrame(record), 0);
    }
    ASSERT_EQ(w.flush(), 0);
  }
  const auto png = kvr::ui::chartPngPath(cdf);
  EXPECT_EQ(png.filename(), "GammaLOG.png");
  presentation::HeaderTexts header;
  header.client = "Northfield";
  ASSERT_TRUE(kvr::ui::saveChartPng(cdf, png, header, 9));

  QImage image(QString::fromStdString(png.string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 785);
  EXPECT_GE(image.height(), 140 + 300 * 2);
  int curvePixels = 0, dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60) ++curvePixels;
      if (qGray(p) < 60) ++dark;
    }
  EXPECT_GT(curvePixels, 300);  // the curve down the plot
  EXPECT_GT(dark, 1000);        // grid, borders and texts
}

TEST(ChartPng, AFileThatIsNoChartDataFileGivesNoPicture) {
  platform::qt::testing::qtTestApp();
  QTemporaryDir dir;
  const std::filesystem::path bad = dir.filePath("bad.cdf").toStdString();
  { auto f = presentation::openByteFile(bad, presentation::OpenMode::CreateTruncate);
    const std::uint8_t junk[3] = {1, 2, 3};
    f->write(0, junk); }
  const auto png = kvr::ui::chartPngPath(bad);
  EXPECT_FALSE(kvr::ui::saveChartPng(bad, png, {}, 9));
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_FALSE(kvr::ui::saveChartPng(dir.filePath("missing.cdf").toStdString(), png, {}, 9));
}

}  // namespace
