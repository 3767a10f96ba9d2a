#pragma once

// The plain records callers exchange with Navikor by value. They are standard-layout structs of
// doubles (plus the few documented ints and bools), so their byte image is the documented layout.

#include "navikor/Export.h"

#include <cstdint>
#include <type_traits>

struct NAVIKOR_API CARTXYZ {
    double x = 0;
    double y = 0;
    double z = 0;

    CARTXYZ() = default;
    CARTXYZ(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    CARTXYZ operator+(const CARTXYZ& o) const { return CARTXYZ(x + o.x, y + o.y, z + o.z); }
};

// North, east and vertical components.
struct CARTNEP {
    double n = 0;
    double e = 0;
    double p = 0;
};

// Row-major 3 x 3: m[0] m[1] m[2] is the first row. An attitude matrix's columns are the IMU
// axes in the earth frame (north, east, down).
struct MATXYZ {
    double m[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
};

// Attitude angles in radians. Hstf above 2 pi means "not given, derive it from Tf".
struct POS_PARAM {
    double Devi = 0;
    double Azi = 0;
    double Hstf = 0;
    double Tf = 0;
};

// A direction with its tilt and direction in degrees.
struct NAVIKOR_API Axis {
    double x = 0;
    double y = 0;
    double z = 1;
    double Tilt = 0;
    double Direction = 0;

    void Normalizar();
    void EjeaAngulo();
    void AnguloaEje();
};

struct EEAxis {
    double x = 0;
    double y = 0;
    double z = 1;
    double Tilt = 0;
    double Direction = 0;
    std::int32_t n0 = 0;
    std::int32_t n1 = 1;
};

// One calibration value per axis and the temperature at which each holds.
struct CARTyTEMP {
    double x = 0;
    double y = 0;
    double z = 0;
    double Tx = 0;
    double Ty = 0;
    double Tz = 0;
};

struct Acel_ACAL {
    CARTyTEMP gain;
    CARTyTEMP offset;
};

// Gyro gravity-sensitivity coefficients: Gx[0..3] on Tx, Gy[0..3] on Ty, Gz[0..5] on Tz.
struct GravParam {
    double Gx[4] = {0, 0, 0, 0};
    double Gy[4] = {0, 0, 0, 0};
    double Gz[6] = {0, 0, 0, 0, 0, 0};
    double Tx = 0;
    double Ty = 0;
    double Tz = 0;
};

struct Gyro_CAL {
    GravParam gravity;
    CARTyTEMP gain;
    CARTyTEMP offset;
};

// One averaged indexer position of a station (21 doubles).
struct ESTACIONin {
    CARTXYZ acel;        // 0-2 calibrated acceleration, IMU frame, g
    CARTXYZ acelNoise;   // 3-5
    CARTXYZ reserved0;   // 6-8
    CARTXYZ gyro;        // 9-11 calibrated rate, gyro sensor frame, deg/h
    CARTXYZ gyroNoise;   // 12-14 deg/h
    CARTXYZ gyroTemp;    // 15-17 (15 and 16: gyro x and y temperatures where a caller keeps them)
    double rotpos = 0;   // 18 indexer position, degrees
    double reserved1[2] = {0, 0};
};

// The result of a station (15 doubles).
struct ESTACIONout {
    POS_PARAM attitude;   // 0-3 radians
    CARTXYZ bias;         // 4-6 gyro bias estimate, deg/h
    CARTXYZ zero0;        // 7-9
    double residualX = 0; // 10
    double residualY = 0; // 11
    double zero1 = 0;     // 12
    double uncertainty = 0; // 13 degrees
    double quality = 0;   // 14 percent
};

// One entry of the station tables. In continuous mode 'indexes' carries two 32-bit integers,
// the first and last sample index of the station, in its byte image.
struct StationRecord {
    ESTACIONout result;
    ESTACIONin pos0;
    ESTACIONin pos1;
    int kind = 0;
    double start = 0;
    double end = 0;
    double indexes = 0;
    double last = 0;
};

// Raw gyro, gyro temperatures, raw accelerometer, accelerometer temperatures.
struct AGPAR {
    CARTXYZ gyro;
    CARTXYZ gyroTemp;
    CARTXYZ acel;
    CARTXYZ acelTemp;
};

// One continuous-mode sample (16 doubles). The in-stop flag is the first byte of 'inStop'.
struct MUESTRA {
    AGPAR ag;
    double inStop = 0;
    double rotpos = 0;  // degrees
    double time = 0;    // seconds
    double depth = 0;
};

// One movement between stations.
struct Movimiento {
    MATXYZ startAttitude;
    MATXYZ endAttitude;
    double startTime = 0;
    double endTime = 0;
    StationRecord startStation;
    StationRecord endStation;
    int firstIndex = 0;
    int lastIndex = 0;
    int kind = 0;        // 0 between two stations, 1 before the first, 2 after the last
    int sampleSpan = 0;
    int acelCorrections = 0;
    int movingSamples = 0;
    double rateSum = 0;
    bool saturated = false;
    double integratedAngle = 0;
    double saturationTime = -1;
    double attitudeError = -1;
    double axisError = 0;
    double durationMinutes = -1;
    double movingSeconds = 0;
    double drift = -1;
    double quality = -1;
};

// Roll test results (37 doubles).
struct ROLLTESTres {
    double meanGx = 0;       // 0
    double meanGy = 0;       // 1
    double Sx = 0;           // 2
    double Sy = 0;           // 3
    double Vx = 0;           // 4
    double Hx = 0;           // 5
    double Hy = 0;           // 6
    double Vy = 0;           // 7
    double pairGx[4] = {0, 0, 0, 0}; // 8-11
    double pairGy[4] = {0, 0, 0, 0}; // 12-15
    double meanGx2 = 0;      // 16
    double SxError = 0;      // 17
    double VxError = 0;      // 18
    double HxError = 0;      // 19
    double meanGy2 = 0;      // 20
    double SyError = 0;      // 21
    double HyError = 0;      // 22
    double VyError = 0;      // 23
    double pairDiffGx[2] = {0, 0}; // 24-25
    double pairDiffGy[2] = {0, 0}; // 26-27
    double zero = 0;         // 28
    double tempX[3] = {0, 0, 0}; // 29-31 mean, minimum, maximum
    double tempY[3] = {0, 0, 0}; // 32-34
    double Rx = 0;           // 35 degrees
    double Ry = 0;           // 36 degrees
};

#define NAVIKOR_RECORD_LAYOUT(T, bytes)                                                             \
    static_assert(std::is_standard_layout_v<T>, #T " must stay standard layout");                 \
    static_assert(sizeof(T) == (bytes), #T " changed its byte layout")

NAVIKOR_RECORD_LAYOUT(CARTXYZ, 24);
NAVIKOR_RECORD_LAYOUT(CARTNEP, 24);
NAVIKOR_RECORD_LAYOUT(MATXYZ, 72);
NAVIKOR_RECORD_LAYOUT(POS_PARAM, 32);
NAVIKOR_RECORD_LAYOUT(Axis, 40);
NAVIKOR_RECORD_LAYOUT(EEAxis, 48);
NAVIKOR_RECORD_LAYOUT(CARTyTEMP, 48);
NAVIKOR_RECORD_LAYOUT(Acel_ACAL, 96);
NAVIKOR_RECORD_LAYOUT(GravParam, 136);
NAVIKOR_RECORD_LAYOUT(Gyro_CAL, 232);
NAVIKOR_RECORD_LAYOUT(ESTACIONin, 168);
NAVIKOR_RECORD_LAYOUT(ESTACIONout, 120);
NAVIKOR_RECORD_LAYOUT(StationRecord, 496);
NAVIKOR_RECORD_LAYOUT(AGPAR, 96);
NAVIKOR_RECORD_LAYOUT(MUESTRA, 128);
NAVIKOR_RECORD_LAYOUT(Movimiento, 1256);
NAVIKOR_RECORD_LAYOUT(ROLLTESTres, 296);

#undef NAVIKOR_RECORD_LAYOUT
