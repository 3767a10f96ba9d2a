#pragma once

// The inertial computation object: calibration, station processing, continuous-mode movement
// processing, roll test and axis estimation. One object holds the station tables (about 3 MB),
// so callers keep it in static or heap storage. Not thread-safe: one thread uses it.

#include "navikor/Export.h"
#include "navikor/Records.h"

#include <cstdio>

class NAVIKOR_API CNavikor {
public:
    static constexpr int kTableSize = 1000;

    CNavikor();
    ~CNavikor();
    CNavikor(const CNavikor&) = delete;
    CNavikor& operator=(const CNavikor&) = delete;

    // --- mounting conversions (IMU in housing, housing in well); angles in degrees
    void SetIMU2HOUSING(double a, double b);
    void SetHOUSING2WELL(double a, double b);
    MATXYZ IMUaHOUSING(MATXYZ m);
    MATXYZ HOUSINGaIMU(MATXYZ m);
    MATXYZ HOUSINGaWELL(MATXYZ m);
    MATXYZ WELLaHOUSING(MATXYZ m);
    POS_PARAM IMUaHOUSINGPOS(POS_PARAM p);
    POS_PARAM HOUSINGaWELLPOS(POS_PARAM p);
    POS_PARAM AjustePOSenPARAM(double a, double b, POS_PARAM p);
    MATXYZ AjustePOSenMAT(double a, double b, MATXYZ m);
    POS_PARAM ActualizaTFrelativoPOS(float a, POS_PARAM p);
    MATXYZ ActualizaTFrelativo(float a, MATXYZ m);

    // --- sensor calibration
    CARTyTEMP GetAcelOffset(CARTXYZ temperatures);
    CARTyTEMP GetAcelGain(CARTXYZ temperatures);
    Acel_ACAL GetAcelCal(CARTXYZ temperatures);
    CARTXYZ CalibrarAcelSen(CARTXYZ raw, CARTXYZ temperatures);
    CARTXYZ ACELaMEC(CARTXYZ v);
    CARTXYZ CalibrarAcel(CARTXYZ raw, CARTXYZ temperatures);
    double ACELnorma(CARTXYZ v);
    void GetAverage_Acel_Gain();
    CARTyTEMP GetGyroOffset(CARTXYZ temperatures);
    CARTyTEMP GetGyroGain(CARTXYZ temperatures);
    GravParam GetGyroGravity(CARTXYZ temperatures);
    Gyro_CAL GetGyroCAL(CARTXYZ temperatures);
    CARTXYZ MECaGYRO(CARTXYZ v);
    CARTXYZ GYROaMEC(CARTXYZ v);
    CARTXYZ CalibrarGyroSen(CARTXYZ raw, CARTXYZ acel, CARTXYZ temperatures);
    CARTXYZ CalibrarGyro(CARTXYZ raw, CARTXYZ acel, CARTXYZ temperatures);
    void GetAverage_Gyro_Gain();
    void SetLatitud(double degrees);
    double GetLatitud();
    void SetLongitud(double degrees);
    double GetLongitud();
    MATXYZ GiroTierra(double hours);
    void CalcularMatrices();
    float GetVersion();
    bool AbrirArchivoDebug(const char* path);
    bool CerrarArchivoDebug();

    // --- station processing
    ESTACIONout ProcesarEstacion(ESTACIONin first, ESTACIONin second, int stepsPerDegree);
    ESTACIONout ProcesarEstacionSimple(ESTACIONin station, int stepsPerDegree);
    POS_PARAM CalcularDeviHstf(CARTXYZ acel, double* magnitudeFactor);
    POS_PARAM CalcularDeviHstfRaw(CARTXYZ raw, CARTXYZ temperatures, double* magnitudeFactor);
    double CalculaQC(double uncertaintyDeg);
    POS_PARAM CalcularParamRT(CARTXYZ acel, CARTXYZ gyro);
    CARTXYZ HorizontalizarGyros(CARTXYZ gyro, CARTXYZ acel);
    CARTXYZ CalcularHER(CARTXYZ gyro, CARTXYZ acel);
    bool CalcularHERdual(CARTXYZ gyro, CARTXYZ acel, CARTXYZ* out1, CARTXYZ* out2);
    bool InferirLatitud(ESTACIONin first, ESTACIONin second, double* low, double* high);
    int AgregarEstacionSimple(ESTACIONin station);
    int AgregarEstacionDif(ESTACIONin first, ESTACIONin second);
    int AgregarParada(ESTACIONout result, int kind, ESTACIONin first, ESTACIONin second, double start,
                      double end, double last);

    // --- continuous-mode movement processing
    int ProcesarTABLA();
    int ProcesarMC();
    int ProcesarMovimiento(int index);
    void OrdenarTabla();
    long BuscarIndex(double time);
    int EncontrarPStopSiguiente(int low, int high);
    int EncontrarPStopAnterior(int low, int high);
    CARTXYZ GetGyroDrift(double time);
    void SetGyroDrift(double time, double value, int axis);
    void ResetDrifts(bool x, bool y, bool z);
    void OrdenaDrifts();
    double ProcesarMuestra(AGPAR sample, CARTXYZ drift, double dt, MATXYZ* rotation);
    MATXYZ AplicarMuestra(AGPAR sample, CARTXYZ drift, double dt, MATXYZ attitude, double* magnitude);
    CARTXYZ PromedioAcels(long first, long last);
    CARTXYZ PromedioAcelsRAW(long first, long last);
    CARTXYZ RuidoAcels(long first, long last, bool raw);
    bool VerificarAcelerometros(long index, MATXYZ* attitude, CARTXYZ* correction);
    bool ForzarAcelerometros(MATXYZ attitude, MATXYZ reference, double unused, CARTXYZ* correction,
                             MATXYZ* rotation);
    void AplicarCorreccion(long from, long to, CARTXYZ rotationVector, double minimumStep);
    void AplicarCorreccionACI(long from, long to, CARTXYZ rotationVector, double minimumStep);
    int CalculaCuentasAcelCorr(long first, long last);
    void CanalRuidoAcels(double halfWindow);
    void ClasificarAcelRuido(double scale);
    double EncontrarUmbralAcel();
    void LiberarAcelMem();
    double IMUPOSindex(long index, POS_PARAM* out);
    double HOUSINGPOSindex(long index, POS_PARAM* out);
    double WELLPOSindex(long index, POS_PARAM* out);
    long IMUPOStiempo(double time, POS_PARAM* out);
    long HOUSINGPOStiempo(double time, POS_PARAM* out);
    long WELLPOStiempo(double time, POS_PARAM* out);
    int ProcesarProfundidad(int value);
    int InferirProfundidad();

    // --- roll test and axis estimation
    bool ProcesarRollTest(ROLLTESTres* result);
    bool CalcularEjeGiroM();
    bool CalcularEjeGiroA(ESTACIONin first, ESTACIONin second, CARTXYZ* axis);
    bool CalcularEjeGiroG(CARTXYZ g1, CARTXYZ g2, CARTXYZ g3, CARTXYZ temperatures, CARTXYZ* axis,
                          double seconds);
    int ProcesoEjesLABCAL(POS_PARAM positions[8]);
    double CalcularDeltaDev();

    // --- state (public: the calibration loader and the callers write some of it directly)
    std::FILE* debugFile = nullptr;
    bool debugOn = false;
    bool useReferenceAzimuth = false;
    bool ambiguityFound = false;
    double referenceAzimuth = 0;   // degrees
    double ambiguousHeading1 = 0;  // degrees
    double ambiguousHeading2 = 0;

    MUESTRA* sampleTable = nullptr;  // caller's continuous samples
    int sampleCount = 0;
    MATXYZ* attitudeTable = nullptr; // caller's, one IMU attitude per sample
    float* acelNoiseChannel = nullptr;      // built by CanalRuidoAcels
    float* acelNoiseClassChannel = nullptr; // built by ClasificarAcelRuido

    bool matchStations = true;
    bool gyroSaturated = false;
    double integratedAngleAcc = 0;  // degrees

    StationRecord stopTable[kTableSize];
    StationRecord dualTable[kTableSize];
    StationRecord simpleTable[kTableSize];
    int stopCount = 0;
    int dualCount = 0;
    int simpleCount = 0;

    // Continuous mode: movements, reference lists, drift tables and settings.
    Movimiento movementTable[kTableSize];
    int movementCount = 0;
    int attitudeStations[kTableSize] = {};
    int attitudeStationCount = 0;
    int driftStops[kTableSize] = {};
    int driftStopCount = 0;
    double driftTime[3][kTableSize] = {};
    double driftValue[3][kTableSize] = {};
    int driftCount[3] = {0, 0, 0};
    int acelCorrSamples = 300;
    double minCorrStep = 0.02;       // degrees
    int acelFilterSamples = 45;
    bool acelCorrOn = true;
    int acelThreshold = 1;
    double toolfaceWeight = 10.0;

    // Mountings (degrees) and their matrices.
    double imuTilt = 0;
    double imuDirection = 0;
    double housingTilt = 0;
    double housingDirection = 0;
    MATXYZ imuToHousing;
    MATXYZ housingToImu;
    MATXYZ housingToWell;
    MATXYZ wellToHousing;

    // Calibration tables: owned by the calibration loader, rows sorted by temperature.
    CARTyTEMP* acelOffsetTable = nullptr;
    int acelOffsetCount = 0;
    CARTyTEMP* acelGainTable = nullptr;
    int acelGainCount = 0;
    CARTyTEMP* gyroOffsetTable = nullptr;
    int gyroOffsetCount = 0;
    CARTyTEMP* gyroGainTable = nullptr;
    int gyroGainCount = 0;
    GravParam* gyroGravTable = nullptr;
    int gyroGravCount = 0;
    MATXYZ acelToMec;
    MATXYZ gyroToMec;
    MATXYZ mecToGyro;
    MATXYZ rtMatrixA;
    MATXYZ rtMatrixB;
    double rtScaleU = 0;
    double rtScaleV = 0;
    CARTXYZ avgAcelGain;
    CARTXYZ avgGyroGain;

    double latitude = 0;     // degrees
    double longitude = 0;    // degrees, stored only
    double latitudeRad = 0;
    CARTXYZ earthRate;       // degrees per hour, north east down
    CARTXYZ gravityNed;
};
