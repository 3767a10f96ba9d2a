#include "toolslib/families/TarnC.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "navikor/Navikor.h"
#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/TarnCWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
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
constexpr double kPi = 3.1415926535898;
constexpr double kDeg = 180.0 / kPi;

double wrapPi(double a) {
  a = std::fmod(a, 2 * kPi);
  if (a > kPi) a -= 2 * kPi;
  if (a < -kPi) a += 2 * kPi;
  return a;
}
// An attitude without gravity (a silent sensor pack) has no angles: 0 rather than NaN.
double finite(double v) { return std::isfinite(v) ? v : 0.0; }
double wrap360(double d) {
  d = std::fmod(d, 360.0);
  return d < 0 ? d + 360.0 : d;
}
}  // namespace

TarnC::TarnC(Globals& globals, CNavikor& navikor)
    : FamilyBase(globals, wire::tarnc::kLayout, wire::decodeFixed<wire::tarnc::kLayout>, kChannels, 25),
      navikor_(&navikor) {}

TarnC::~TarnC() = default;

void TarnC::init() {
  FamilyBase::init();
  navikor_->SetLatitud(parameterValue(kLatitude));
}

void TarnC::resetState() {
  haveSmoothed_ = false;
  tempsSeen_ = 0;
  for (int i = 0; i < 3; ++i) rate_[i] = acc_[i] = 0;
  // Frames were missed: the integration cannot bridge them. The next station seeds it again.
  online_.stop();
}

void TarnC::takeSpecialData(std::uint8_t status, std::uint16_t word) {
  auto& count = globals_.TARNC_SpecialFrameDataCount;
  if (status == wire::tarnc::kTableTransfer) {
    if (count < globals_.TARNC_TDDataBuf.size()) globals_.TARNC_TDDataBuf[count++] = word;
  } else if (status == wire::tarnc::kImuTransfer) {
    // IMU data are counted in bytes, two per item.
    for (const std::uint8_t b : {static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)})
      if (count < globals_.TARNC_IMUDataBuf.size()) globals_.TARNC_IMUDataBuf[count++] = b;
  }
}

void TarnC::takeSlot(const wire::tarnc::Frame& f) {
  namespace w = wire::tarnc;
  const std::uint8_t slot = f.slot();
  if (slot <= w::kSlotTempGZ) {
    temp_[slot] = static_cast<std::int16_t>(f.slotWord) * w::kTempStep;
    tempsSeen_ |= 1u << slot;
  } else if (slot == w::kSlotAck) {
    if (f.slotWord & 0xFF) globals_.TARNC_LastAck = static_cast<std::uint8_t>(f.slotWord & 0xFF);
  } else if (slot == w::kSlotDtg) {
    globals_.TARNC_DTGFrequency = static_cast<std::int8_t>(f.slotWord & 0xFF);
    globals_.TARNC_TurnOnActive = (f.slotWord >> 8) & 1;
  } else if (f.specialItem()) {
    takeSpecialData(f.status(), f.slotWord);
  }
}

POS_PARAM TarnC::realTimeAttitude(CNavikor& n) const {
  const CARTXYZ a = globals_.TARNC_DisableAccel ? CARTXYZ(0, 0, -1) : CARTXYZ(acc_[0], acc_[1], acc_[2]);
  double m = 0;
  POS_PARAM p = n.CalcularDeviHstf(a, &m);
  const POS_PARAM rt = n.CalcularParamRT(a, CARTXYZ(rate_[0], rate_[1], rate_[2]));
  return {finite(p.Devi), finite(rt.Azi), finite(p.Hstf), finite(rt.Tf)};
}

void TarnC::decodeRow(const std::uint8_t* bytes, const double*, float* out, const FrameContext& context) {
  namespace w = wire::tarnc;
  CNavikor& nav = context.navikor ? *context.navikor : *navikor_;
  const w::Frame f = w::decodeFrame(bytes);
  globals_.TARNC_CtrlWord = f.ctrl;
  globals_.TARNC_AnglePos = f.angle;
  takeSlot(f);
  const int c0 = globals_.cuentas_0deg, c180 = globals_.cuentas_180deg;
  globals_.m_fPOS = c180 != c0 ? (static_cast<double>(f.angle) - c0) * 180.0 / (c180 - c0) : 0.0;
  ++driftFrames_;

  double raw[6];
  for (int i = 0; i < 6; ++i) raw[i] = f.raw[i] / w::kMicrovoltsPerMv;
  const CARTXYZ tAcc(temp_[0], temp_[1], temp_[2]);
  const CARTXYZ tGyro(temp_[3], temp_[3], temp_[4]);
  const CARTXYZ acc = nav.CalibrarAcel(CARTXYZ(raw[3], raw[4], raw[5]), tAcc);
  const CARTXYZ rate = nav.CalibrarGyroSen(CARTXYZ(raw[0], raw[1], raw[2]), acc, tGyro);

  // The online attitude comes from sensors smoothed over the frames that really elapsed.
  const double dt = (context.framesElapsed > 0 ? context.framesElapsed : 1.0f) / 15.0;
  const double tau = parameterValue(kSmoothing) > 0 ? parameterValue(kSmoothing) : 0.0;
  const double alpha = haveSmoothed_ ? dt / (tau + dt) : 1.0;
  const double r[3] = {rate.x, rate.y, rate.z}, a[3] = {acc.x, acc.y, acc.z};
  for (int i = 0; i < 3; ++i) {
    rate_[i] += alpha * (r[i] - rate_[i]);
    acc_[i] += alpha * (a[i] - acc_[i]);
  }
  // Until every temperature has come the calibration is looked up at the wrong ones: the
  // smoothing starts afresh once they are all known.
  haveSmoothed_ = tempsSeen_ == 0x1F;
  // A station's attitude handed over in m_MC_NEP: from here the gyros are integrated from it.
  if (!std::equal(std::begin(globals_.m_MC_NEP.m), std::end(globals_.m_MC_NEP.m), std::begin(seededFrom_.m))) {
    seededFrom_ = globals_.m_MC_NEP;
    online_.seed(seededFrom_);
  }
  const CARTXYZ smoothedAcc(acc_[0], acc_[1], acc_[2]);
  online_.step(nav, AGPAR{CARTXYZ(raw[0], raw[1], raw[2]), tGyro, CARTXYZ(raw[3], raw[4], raw[5]), tAcc},
               globals_.TARNC_DisableAccel ? CARTXYZ(0, 0, 0) : smoothedAcc, dt, driftCorrection());
  POS_PARAM att = realTimeAttitude(nav);
  if (online_.integrating()) {
    const POS_PARAM inertial = online_.attitude();
    att.Azi = finite(inertial.Azi);
    att.Tf = finite(inertial.Tf);
  }
  double hstf = wrap360(att.Hstf * kDeg + parameterValue(kToolfaceOffset));
  if (parameterChoice(kToolfaceRange) == 1 && hstf > 180) hstf -= 360;

  for (int i = 0; i < 3; ++i) {
    out[i] = static_cast<float>(r[i]);
    out[3 + i] = static_cast<float>(a[i]);
  }
  for (int i = 0; i < 6; ++i) out[6 + i] = static_cast<float>(raw[i]);
  for (int i = 0; i < 5; ++i) out[12 + i] = static_cast<float>(temp_[i]);
  out[17] = static_cast<float>(att.Devi * kDeg);
  out[18] = static_cast<float>(wrap360(att.Azi * kDeg));
  out[19] = static_cast<float>(hstf);
  out[20] = static_cast<float>(wrap360(att.Tf * kDeg));
  out[21] = static_cast<float>(std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]));
  out[22] = static_cast<float>(f.ctrl);
  out[23] = static_cast<float>(f.angle);
  out[24] = static_cast<float>(globals_.OnlineTimeTARN);

  if (raw_.isOpen()) {
    tarnc::RawSample s;
    s.v = {globals_.OnlineDepth, globals_.OnlineTimeTARN, raw[0], raw[1], raw[2], raw[3], raw[4], raw[5],
           temp_[0], temp_[1], temp_[2], temp_[3], temp_[3], temp_[4], static_cast<double>(f.angle)};
    raw_.add(s);
  }
}

tarnc::DriftCorrection TarnC::driftCorrection() const {
  tarnc::DriftCorrection c;
  c.enabled = globals_.TARNC_GyroDriftCorrEnable != 0;
  c.intervalS = globals_.TARNC_GyroDriftCorrInterval;
  c.feedback[0] = globals_.TARNC_GyroDriftCorrFeedback_x != 0;
  c.feedback[1] = globals_.TARNC_GyroDriftCorrFeedback_y != 0;
  c.feedback[2] = globals_.TARNC_GyroDriftCorrFeedback_z != 0;
  c.divisor = globals_.TARNC_DTGDriftCorrFeedback_Filter_Division;
  return c;
}

void TarnC::destroyCorrectionTable() {
  kvrCal_.reset();
  applyCalibration(*navikor_, nullptr);
  publishCalibration();
}

void TarnC::applyCalibration(CNavikor& n, tarnc::SensorCalibration* c) {
  if (c) {
    tarnc::pointNavikorAt(n, *c);
  } else {
    tarnc::pointNavikorAtNothing(n);
  }
}

void TarnC::publishCalibration() {
  globals_.TARNC_Cal_Sensor_SN = kvrCal_ ? kvrCal_->serial : "";
  globals_.TARNC_Cal_Date = kvrCal_ ? kvrCal_->date : "";
  globals_.TARNC_Cal_Type = kvrCal_ ? kvrCal_->type : 0;
}

bool TarnC::loadCorrectionTableText(std::string_view text, std::string* error) {
  auto r = tarnc::parseSct(text);
  if (!r.calibration) {
    if (error) *error = r.error;
    return false;
  }
  kvrCal_ = std::move(r.calibration);
  applyCalibration(*navikor_, &*kvrCal_);
  publishCalibration();
  return true;
}

bool TarnC::loadCorrectionTable(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "could not open " + path;
    return false;
  }
  std::string text;
  constexpr std::size_t kMaxSct = 1u << 20;
  text.resize(kMaxSct + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kMaxSct) {
    if (error) *error = path + " is too large for a sensor correction table";
    return false;
  }
  return loadCorrectionTableText(text, error);
}

bool TarnC::OpenTARN_C_DLLRawDataFile(const std::string& folder, std::string_view base, std::string_view number) {
  const std::string cal = kvrCal_ ? tarnc::formatSct(*kvrCal_) : std::string();
  if (!raw_.open(folder, base, number, cal)) return false;
  globals_.OnlineTimeTARN = globals_.OnlineTimeTARN_Previo = 0;
  return true;
}

void TarnC::CloseTARN_C_DLLRawDataFile() { raw_.close(); }

MatrixDeltaAngleStruct TarnC::ResetTARN_C_Position(double devi, double azi, double hstf, double gyrotf) {
  const POS_PARAM now = realTimeAttitude(*navikor_);
  POS_PARAM station{devi, azi, hstf, gyrotf};
  MatrixDeltaAngleStruct d;
  d.DEVI = wrapPi(now.Devi - devi);
  d.HAZI = wrapPi(now.Azi - azi);
  d.HSTF = hstf > 2 * kPi ? 0.0 : wrapPi(now.Hstf - hstf);
  d.TFACE = wrapPi(now.Tf - gyrotf);
  // The angle of the rotation from one attitude to the other: trace = 1 + 2 cos(angle).
  const MATXYZ a = Param2Matrix(now), b = Param2Matrix(station);
  const MATXYZ r = MatxMat(MatTrasp(b), a);
  const double c = (r.m[0] + r.m[4] + r.m[8] - 1) / 2;
  d.Total = finite(std::acos(c > 1 ? 1 : c < -1 ? -1 : c));
  haveSmoothed_ = false;  // the next frame starts the real-time attitude afresh
  return d;
}

GC_GOffTC TarnC::GetCorrected_TARNC_Gyro_Offset(double t1, double t2) const {
  CNavikor& n = *navikor_;
  const CARTyTEMP o = n.GetGyroOffset(CARTXYZ(t1, t1, t2));
  return {o.x, o.Tx, o.y, o.Ty};
}

GC_GGainTC TarnC::GetCorrected_TARNC_Gyro_Gain(double t1, double t2) const {
  const CARTyTEMP g = navikor_->GetGyroGain(CARTXYZ(t1, t1, t2));
  return {g.x, g.Tx, g.y, g.Ty};
}

TARN_C_GRAVITYDRIFT_TEMPCORR_S TarnC::GetCorrected_TARNC_Gyro_Gravity_Coeficients(double t1, double t2) const {
  const GravParam g = navikor_->GetGyroGravity(CARTXYZ(t1, t1, t2));
  TARN_C_GRAVITYDRIFT_TEMPCORR_S s;
  for (int k = 0; k < 4; ++k) s.Gx[k] = g.Gx[k], s.Gy[k] = g.Gy[k];
  for (int k = 0; k < 6; ++k) s.Gz[k] = g.Gz[k];
  s.Tx = g.Tx, s.Ty = g.Ty, s.Tz = g.Tz;
  return s;
}

bool TarnC::ReadTARN_C_CALFromRawFile(const std::string& path) {
  const auto content = tarnc::readRawStreamFile(path, true);
  auto parsed = content.ok ? tarnc::parseSct(content.calibrationText) : tarnc::SctResult{};
  rawCal_ = std::move(parsed.calibration);
  globals_.TARNC_RAW_Cal_Loaded = rawCal_ ? 1 : 0;
  globals_.TARNC_RAW_Cal_Sensor_SN = rawCal_ ? rawCal_->serial : "";
  globals_.TARNC_RAW_Cal_Date = rawCal_ ? rawCal_->date : "";
  return rawCal_.has_value();
}

bool TarnC::CargarCalibracionDLLdelRAW(CNavikor* n) {
  if (!n || !rawCal_) return false;
  applyCalibration(*n, &*rawCal_);
  n->SetIMU2HOUSING(rawCal_->imuTilt, rawCal_->imuDirection);
  return true;
}

bool TarnC::CargarCalibracionDLLdelKVR(CNavikor* n) {
  if (!n) return false;
  applyCalibration(*n, kvrCal_ ? &*kvrCal_ : nullptr);
  n->SetIMU2HOUSING(kvrCal_ ? kvrCal_->imuTilt : 0, kvrCal_ ? kvrCal_->imuDirection : 0);
  return kvrCal_.has_value();
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

}  // namespace tools
