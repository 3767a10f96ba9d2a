#include "toolslib/families/TarnC.h"

#include "toolslib/GyroMath.h"
#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/TarnCWire.h"

namespace tools {
namespace {
constexpr ChannelSpec kChannels[] = {
    {"RATEX", Quantity::None, "Deg/h"},  {"RATEY", Quantity::None, "Deg/h"},  {"RATEZ", Quantity::None, "Deg/h"},
    {"ACCX", Quantity::None, "g"},       {"ACCY", Quantity::None, "g"},       {"ACCZ", Quantity::None, "g"},
    {"RAWRATEGX", Quantity::None, "mV"}, {"RAWRATEGY", Quantity::None, "mV"}, {"RAWRATEGZ", Quantity::None, "mV"},
    {"RAWAX", Quantity::None, "mV"},     {"RAWAY", Quantity::None, "mV"},     {"RAWAZ", Quantity::None, "mV"},
    {"TEMPAX", Quantity::None, "DegC"},  {"TEMPAY", Quantity::None, "DegC"},  {"TEMPAZ", Quantity::None, "DegC"},
    {"TEMPGXY", Quantity::None, "DegC"}, {"TEMPGZ", Quantity::None, "DegC"},  {"DEVI", Quantity::None, "Deg"},
    {"HAZI", Quantity::None, "Deg"},     {"HSTF", Quantity::None, "Deg"},     {"TFACE", Quantity::None, "Deg"},
    {"GTOT", Quantity::None, "g"},       {"TCTRL", Quantity::None, ""},       {"TANGLE", Quantity::None, "CNTS"},
    {"TTIME", Quantity::None, "Sec"},
};
constexpr std::uint16_t kSpecialValid = 0x0001;
constexpr std::uint16_t kStatusMask = 0x000E;
constexpr std::uint16_t kStatusTable = 10;
constexpr std::uint16_t kStatusImu = 12;
}  // namespace

TarnC::TarnC(Globals& globals) : FamilyBase(globals, wire::tarnc::kLayout, wire::decodeFixed<wire::tarnc::kLayout>, kChannels, 25) {}

void TarnC::resetState() {
  haveSmoothed_ = false;
  for (int i = 0; i < 3; ++i) rate_[i] = acc_[i] = 0;
}

void TarnC::takeSpecialData(std::uint16_t ctrl, std::uint16_t word) {
  if (!(ctrl & kSpecialValid)) return;
  auto& count = globals_.TARNC_SpecialFrameDataCount;
  switch (ctrl & kStatusMask) {
    case kStatusTable:
      if (count < globals_.TARNC_TDDataBuf.size()) globals_.TARNC_TDDataBuf[count++] = word;
      break;
    case kStatusImu:
      // IMU data are counted in bytes, two per frame.
      if (count + 1u < globals_.TARNC_IMUDataBuf.size()) {
        globals_.TARNC_IMUDataBuf[count++] = static_cast<std::uint8_t>(word & 0xFF);
        globals_.TARNC_IMUDataBuf[count++] = static_cast<std::uint8_t>(word >> 8);
      }
      break;
    default: break;
  }
}

void TarnC::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext& context) {
  namespace w = wire::tarnc;
  const auto ctrl = static_cast<std::uint16_t>(v[w::kCtrl]);
  globals_.TARNC_CtrlWord = ctrl;
  globals_.TARNC_AnglePos = static_cast<std::uint16_t>(v[w::kAngle]);
  if (v[w::kAck] != 0) globals_.TARNC_LastAck = static_cast<std::uint8_t>(v[w::kAck]);
  takeSpecialData(ctrl, static_cast<std::uint16_t>(v[w::kSpecial]));

  const double rate[3] = {v[w::kRawGX] * kGyroGain, v[w::kRawGY] * kGyroGain, v[w::kRawGZ] * kGyroGain};
  const bool vertical = globals_.TARNC_DisableAccel != 0;
  const double acc[3] = {vertical ? 0.0 : v[w::kRawAX] / kAccScale, vertical ? 0.0 : v[w::kRawAY] / kAccScale,
                         vertical ? 1.0 : v[w::kRawAZ] / kAccScale};

  // The online attitude comes from sensors smoothed over the frames that really elapsed.
  const double dt = (context.framesElapsed > 0 ? context.framesElapsed : 1.0f) / 15.0;
  const double tau = parameterValue(kSmoothing) > 0 ? parameterValue(kSmoothing) : 0.0;
  const double alpha = haveSmoothed_ ? dt / (tau + dt) : 1.0;
  for (int i = 0; i < 3; ++i) {
    rate_[i] += alpha * (rate[i] - rate_[i]);
    acc_[i] += alpha * (acc[i] - acc_[i]);
  }
  haveSmoothed_ = true;
  const gyro::Vec g{acc_[0], acc_[1], acc_[2]};
  const auto heading = gyro::northSeek({rate_[0], rate_[1], rate_[2]}, g);
  double hstf = gyro::wrap360(gyro::highSideToolface(g) + parameterValue(kToolfaceOffset));
  if (parameterChoice(kToolfaceRange) == 1) hstf = gyro::wrap180(hstf);

  for (int i = 0; i < 3; ++i) {
    out[i] = static_cast<float>(rate[i]);
    out[3 + i] = static_cast<float>(acc[i]);
  }
  for (int i = 0; i < 6; ++i) out[6 + i] = static_cast<float>(v[w::kRawGX + i]);
  for (int i = 0; i < 5; ++i) out[12 + i] = static_cast<float>(v[w::kTempAX + i]);
  out[17] = static_cast<float>(gyro::inclination(g));
  out[18] = static_cast<float>(heading.azimuth);
  out[19] = static_cast<float>(hstf);
  out[20] = static_cast<float>(heading.toolface);
  out[21] = static_cast<float>(gyro::norm(g));
  out[22] = static_cast<float>(ctrl);
  out[23] = static_cast<float>(v[w::kAngle]);
  out[24] = static_cast<float>(globals_.OnlineTimeTARN);
}

std::vector<records::ToolParameterS> TarnC::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("LATI", "Well latitude (negative south)", 0.0f, "Deg"),
      surfaceChoice("HSTFC", "High side toolface range", {{"0 TO 360", 0}, {"-180 TO +180", 1}}, 0),
      surfaceValue("TFOFF", "Tool face offset", 0.0f, "Deg"),
      surfaceValue("SMOOTH", "Online attitude smoothing time", 2.0f, "Sec"),
      downholeValue("MOTFREQ", "Gyro motor frequency code", 640.0f, "", 227, 0x9A, records::ValueEncoding::U16At110, 0x01),
      downholeChoice("GFILT", "Gyro output filter", {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}}, 1, 227, 0x9B),
      downholeValue("SRATE", "Sensor frames per second", 15.0f, "", 227, 0x9C, records::ValueEncoding::ByteAt110, 0x02),
  };
}

std::vector<const char*> TarnC::calibrationNames() const {
  return {"Read Tool Calibration", "Load Calibration File", "Save Calibration File", "Gyro Turn-On Test"};
}

}  // namespace tools
