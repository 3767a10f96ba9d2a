// The three output files of a continuous-mode run, written from a hand-made Navikor state
// so that each rule of the layouts shows on its own.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>

#include <csignal>
#include <sys/resource.h>

#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/TextOutput.h"
#include "kvr/postprocess/tests/SessionFixture.h"

namespace pp = kvr::postprocess;
using namespace kvr::postprocess::testing;

namespace {

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
bool has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }
constexpr double kDeg = 3.1415926535898 / 180;

Movimiento movement(double start, double end, double angle, double error, int corrections) {
  Movimiento m;
  m.startTime = start;
  m.endTime = end;
  m.integratedAngle = angle;
  m.attitudeError = error;
  m.axisError = error / 2;
  m.acelCorrections = corrections;
  return m;
}

struct OutputRun {
  TempFolder folder;
  std::unique_ptr<CNavikor> nav = std::make_unique<CNavikor>();
  std::vector<MUESTRA> samples;
  std::vector<MATXYZ> attitudes;
  std::vector<pp::SESSION_EVENT> events;
  pp::OutputContext c;

  // Samples a second apart at a heading of -10 degrees, two stations at 2 s and 200 s.
  explicit OutputRun(std::vector<Movimiento> movements, int count = 600) {
    samples.resize(static_cast<std::size_t>(count));
    attitudes.resize(samples.size());
    for (int k = 0; k < count; ++k) {
      samples[static_cast<std::size_t>(k)].time = 3600 + k;
      samples[static_cast<std::size_t>(k)].depth = 100 + k * 0.5;
      samples[static_cast<std::size_t>(k)].ag.gyroTemp = CARTXYZ(60, 61, 70);
      attitudes[static_cast<std::size_t>(k)] = Param2Matrix(POS_PARAM{20 * kDeg, -10 * kDeg, -30 * kDeg, 0});
    }
    nav->sampleTable = samples.data();
    nav->sampleCount = count;
    nav->attitudeTable = attitudes.data();
    nav->movementCount = static_cast<int>(movements.size());
    for (std::size_t i = 0; i < movements.size(); ++i) nav->movementTable[i] = movements[i];
    for (double t : {3602.0, 3800.0}) {
      pp::SESSION_EVENT e;
      e.Time = t;
      e.Devi = 20, e.Azi = 350, e.Hstf = 330, e.Tf = 320, e.Qc = 97.25;
      e.Flag = "END_STATION";
      events.push_back(e);
    }
    c.eventLogPath = (folder.output() / "Session_4.csv").string();
    c.events = &events;
    c.stations = {0, 1};
    c.samples = samples;
    c.navikor = nav.get();
    c.sensorSerial = 417;
    c.calibrationDate = "2026-11-03";
    c.latitude = 40.25;
    c.now = {2026, 12, 11, 9, 5, 7, 0};
  }
  ~OutputRun() { nav->sampleTable = nullptr, nav->attitudeTable = nullptr, nav->sampleCount = 0; }
  std::string write(pp::Output which) {
    const auto path = pp::outputPath(c.eventLogPath, which);
    const bool ok = which == pp::Output::SurveyLas ? pp::writeSurveyLas(c, path)
                    : which == pp::Output::DepthLas ? pp::writeDepthLas(c, path)
                                                   : pp::writeReport(c, path);
    EXPECT_TRUE(ok);
    return readAll(path);
  }
};

}  // namespace

TEST(McOutputs, FixedNumbersAreThoseOfPrintf) {
  std::vector<double> values = {0, -0.0, 0.125, 0.375, -0.005, 2.675, 359.995, 1e9 + 0.5, -123.456, 1e40, -7.25e-3,
                                0.5, 1.5, 2.5, -2.5, 0.05, 0.15, 0.25, 1e15 - 0.5, 999999999999999.9, 1e-300,
                                0x1p40 - 0x1p-12, 0x1p40, -0x1p40 + 0.0625, 5e-324, 0.0005, 0.0015, 99.9995};
  // Numbers near every rounding edge of two decimals.
  for (int i = 0; i < 2000; ++i) values.push_back(i * 0.005 + (i % 3 - 1) * 1e-13);
  // And numbers of every size.
  std::uint64_t x = 88172645463325252ull;
  for (int i = 0; i < 3000; ++i) {
    x ^= x << 13, x ^= x >> 7, x ^= x << 17;
    values.push_back((static_cast<double>(x % 2000001) - 1e6) * std::pow(10.0, static_cast<int>(x % 19) - 9));
  }
  TempFolder folder;
  const auto path = folder.path / "n.txt";
  pp::TextOutput out;
  ASSERT_TRUE(out.create(path.string()));
  std::string expected;
  for (double v : values)
    for (int precision : {0, 1, 2, 3}) {
      char text[400];
      std::snprintf(text, sizeof text, "%8.*f\r\n", precision, v);
      expected += text;
      out.fixed(v, 8, precision);
      out.put("\n");
    }
  ASSERT_TRUE(out.close());
  const std::string written = readAll(path);
  for (std::size_t a = 0, b = 0, line = 0; a < expected.size() && b < written.size(); ++line) {
    const auto ea = expected.find('\n', a) + 1, eb = written.find('\n', b) + 1;
    ASSERT_EQ(written.substr(b, eb - b), expected.substr(a, ea - a)) << values[line / 3];
    a = ea, b = eb;
  }
  EXPECT_EQ(written.size(), expected.size());
}

TEST(McOutputs, SurveyLasHeaderStationsMovementsAndRows) {
  OutputRun run({movement(3600, 3602, 1.5, -1, 0), movement(3802, 3900, 12.34, 0.5, 3),
           movement(3900, 3930, 2, 0.25, 1), movement(3932, 3899 + 300, 0.5, -1, 0)});
  run.nav->acelCorrOn = false;
  const std::string las = run.write(pp::Output::SurveyLas);
  EXPECT_EQ(las.substr(0, 22), "~VERSION INFORMATION\r\n");
  EXPECT_EQ(las.find('\n'), las.find("\r\n") + 1) << "CR LF line ends";
  EXPECT_TRUE(has(las, "#Source File: Session_4\r\n"));
  EXPECT_TRUE(has(las, "#Connection Time:  09:05:07  11/12/2026  \r\n"));
  EXPECT_TRUE(has(las, "# TARN-C SN: 0 - KEPAX SN: 417 \r\n# Calibration Date: 2026-11-03 \r\n"));
  EXPECT_TRUE(has(las, "# Well Latitude: 40.2500degrees\r\n")) << "the well's latitude, not a fixed one";
  EXPECT_TRUE(has(las, "Estimated Axis : 20.00,350.00 deg\r\n"));
  EXPECT_TRUE(has(las, "# Acelerometer Correction OFF - Min Correction Step: 0.02degrees - Acelerometer Filter: 45 "
                       "samples - Acelerometer Correction: 300 samples\r\n"))
      << "the switch as it was used";
  EXPECT_TRUE(has(las, "#Stations: 2\r\n# 3602.00 ; 3602.00 ; 101.00 ; 3602.00 ; END_STATION ;\r\n"));
  EXPECT_TRUE(has(las, "# 26-12-11, 01:00:02  to  26-12-11, 01:00:02      101.00 m       20.00      350.00      "
                       "330.00      320.00     97.2 %\r\n"));
  EXPECT_TRUE(has(las, "#  Initial Movement: -  Time Interval:   26-12-11, 01:00:00  to  26-12-11, 01:00:02  -  "
                       "Final Depth:    100.00  m -  Integrated Angle:        1.5degrees-  Acel Corrections:   0\r\n"));
  EXPECT_TRUE(has(las, "#         1 26-12-11, 01:03:22  to  26-12-11, 01:05:00      201.00 m to   250.00 m        "
                       "12.3degrees        0.50degrees        0.31deg/min         95.0 %                 3\r\n"));
  EXPECT_TRUE(has(las, "#         2 26-12-11, 01:05:00  to  26-12-11, 01:05:30      250.00 m to   265.00 m         "
                       "2.0degrees        0.25degrees  (Short Movement)  (Short Movement)                 1\r\n"));
EXPECT_TRUE(has(las, "#  Final Movement: -  Time Interval:   26-12-11, 01:05:32  to  26-12-11, 01:09:59  -  "
                       "Initial Depth:    266.00  m -  Integrated Angle:        0.5degrees -  Acel Corrections:   0\r\n"));
  // Rows: time, mean of the gyro x and y temperatures, the attitude with headings in 0..360.
  EXPECT_TRUE(has(las, "~A      secs    degC  degrees degrees degrees degrees \r\n 3600.00       60.50     20.00   "
                       "350.00   330.00   "));
  EXPECT_TRUE(has(las, "\r\n 3899.00       60.50     20.00   350.00   330.00 "));
}

TEST(McOutputs, ASingleMovementHasNoFinalMovementLine) {
  OutputRun run({movement(3600, 3602, 1.5, -1, 0)});
  const std::string las = run.write(pp::Output::SurveyLas);
  EXPECT_TRUE(has(las, "#  Initial Movement:"));
  EXPECT_FALSE(has(las, "Final Movement"));
  EXPECT_TRUE(has(las, "# Acelerometer Correction ON - "));
}

TEST(McOutputs, DepthLasHasTimeAndDepthPerSample) {
  OutputRun run({}, 3);
  EXPECT_EQ(run.write(pp::Output::DepthLas),
            "~Version Information\r\nVERS.  2.0                :CWLS Log ASCII Standard - VERSION 2.0\r\n"
            "WRAP.  NO                 :One line per depth step\r\nDLM.  SPACE               :Column Data Section "
            "Delimiter\r\nPROG. KVR PostProcess      :LAS Program name and version\r\nSOURCE.Session_4 :KVR Data File "
            "Name\r\nDATE. 12/11/2026  09:05:07 \r\n# Synchronized File\r\n~Curve Information Section\r\n\r\n\r\n"
            "ELTIM.sec                 :Elapsed Time\r\nDEPT.mt                   :Depth mts\r\nSPEED.m/m                 "
            ":Speed mts/min\r\nTension.Lbs               :Tension Lbs\r\n\r\n~A      Time     Depth   Speed    "
            "Tension\r\n   3600.00    100.00      0.0            0\r\n   3601.00    100.50      0.0            0\r\n"
            "   3602.00    101.00      0.0            0\r\n");
}

TEST(McOutputs, ReportTakesDriftFromTheAxisError) {
  OutputRun run({movement(3600, 3602, 1.5, -1, 0), movement(3802, 3922, 12.34, 0.5, 3), movement(3932, 4199, 0.5, -1, 2)});
  run.nav->SetIMU2HOUSING(1.5, 30);
  const std::string report = run.write(pp::Output::Report);
  EXPECT_EQ(report.substr(0, report.find("Initial Movement")),
            "#Source File: Session_4\r\n#Configuration:\r\n  #Well Latitude: 40.2500degrees\r\n  #Housing Axis : "
            "1.50degrees,30.00degrees\r\n\r\n  #Deviation scale: 0degrees/180degrees\r\n  #Match NS Stations ON       "
            "#Min Correction Step: 0.05degrees\r\n  #Acelerometer Correction ON    #Min Correction Step: "
            "0.02degrees\r\n    #Kick Off Angle: 3.00degrees\r\n    #Acelerometer Filter: 45 samples\r\n    "
            "#Acelerometer Correction: 300 samples\r\n    #Acelerometer Threshold: 1.00degrees\r\n\r\n");
  EXPECT_TRUE(has(report, "Initial Movement:\r\n  Time Interval:   26-12-11, 01:00:00  to  26-12-11, 01:00:02\r\n  "
                          "Final Depth:     101.00  m\r\n"));
  EXPECT_TRUE(has(report, "Movement N: 1\r\n  Time  Interval:   26-12-11, 01:03:22  to  26-12-11, 01:05:22\r\n  "
                          "Depth Interval:     201.00 m to    261.00 m\r\n  Integrated Angle :     12.3degrees\r\n  "
                          "Well Error:          0.50degrees\r\n  Position Error:      0.25deg\r\n  Position Drift:      "
                          "0.12deg/min   -  QUALITY :      98.8 %\r\n  Acel Corrections:   3\r\n\r\n"));
  EXPECT_TRUE(has(report, "Final Movement:\r\n  Time Interval:   26-12-11, 01:05:32  to  26-12-11, 01:09:59\r\n  "
                          "Initial Depth:   266.00  m\r\n  Integrated Angle:    0.5degrees\r\n  Acel Corrections:  2\r\n"));
}

TEST(McOutputs, ReportWithoutMovementsSaysSo) {
  OutputRun run({});
  const std::string report = run.write(pp::Output::Report);
  EXPECT_EQ(report.substr(report.size() - 31), "\r\nNo movement data available.\r\n");
}

TEST(McOutputs, AnOutputCutShortIsRemoved) {
  // A file size limit stands for a full disk.
  TempFolder folder;
  const auto path = folder.path / "cut.txt";
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  pp::TextOutput out;
  const bool created = out.create(path.string());
  for (int i = 0; i < 200000; ++i) out.put("0123456789\n");
  const bool closed = out.close();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_TRUE(created);
  EXPECT_FALSE(closed);
  EXPECT_FALSE(std::filesystem::exists(path));
}
