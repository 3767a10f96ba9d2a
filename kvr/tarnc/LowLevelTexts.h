#pragma once
// The texts of the "Low Level Commands Terminal": command names, help texts (string
// resources 1000-1017), input errors and replies.

namespace kvr::tarnc::text {

inline constexpr const char* kTitle = "Low Level Commands Terminal";
inline constexpr const char* kErrorTitle = "ERROR";

inline constexpr const char* kCommandNames[18] = {
    "POS_0_DEG_WRITE", "POS_90_DEG_WRITE", "POS_180_DEG_WRITE", "POS_270_DEG_WRITE", "TURN_POS_PARAMETERS_WRITE",
    "DTG_MOTOR_SPEED_WRITE", "IMU_FREQUENCY_TABLE_WRITE", "IMU_FREQUENCY_WRITE", "IMU_FREQUENCY_TABLE_ENABLE",
    "IMU_FREQUENCY_TABLE_DISABLE", "ANY_POS_SET", "IMU_FREQUENCY_TABLE_READ", "IMU_MOVING_THRESHOLD_X_WRITE",
    "IMU_MOVING_THRESHOLD_Y_WRITE", "IMU_MOVING_THRESHOLD_XY_WRITE", "IMU_MOVING_TIME_WINDOW", "POS_ALL_READ",
    "IMU_MOVING_DETECTION_PARAM_READ",
};

inline constexpr const char* kHelp[18] = {
    "Specifies the value for the 0 deg position:\nvalue [10bit]",
    "Specifies the value for the 90 deg position:\nvalue [10bit]",
    "Specifies the value for the 180 deg position:\nvalue [10bit]",
    "Specifies the value for the 270 deg position:\nvalue [10bit]",
    "Configures TURN DEVICE parameters\nSend: A,B,C,D\nA: PWM value\nB: ON TIME\nC: CYCLES COUNT\nD: SET ACCURACY\nI.E.: 150,10,20,0",
    "Set the motor speed as follows:\nvalue,flag\n\nFreq=400 Hz + value*0.15625 Hz\nflag=0 -TURN-ON off\nflag=1 - TURN-ON on",
    "Set the IMU antialasing frequency (8 datasets maximum):\ntemp1 [degC],freq1 [8bit]\n.\n.\ntemp8 [degC],freq8 [8bit]",
    "Overrides the current IMU frequency value",
    "This command will enable the IMU frequency table",
    "This command will disable the IMU frequency table\the IMU will keep the current value",
    "Turns the IMU to the specified position:\nvalue[10bit]",
    "Reads the IMU temp vs frequency table\ntemp1,freq1\n.\n.\ntemp8,freq8",
    "Sets GyroX moving detection treshold level [8bit]",
    "Sets GyroY moving detection treshold level [8bit]",
    "Sets GyroX and GyroY treshold simultaneously with the same value",
    "Sets moving detection Time window value [8bit]",
    "Gets the predefined four position table:\nPos 0 deg\nPos 90 deg\nPos 180 deg\nPos 270 deg",
    "Reads IMU moving detection parameters:\nGyroX treshold\nGyroY treshold\nTime window",
};

inline constexpr const char* kRange10to1013 = "The specified value range must be from 10 to 1013";
inline constexpr const char* kComma1 = "You must use a comma separator ',' beetwen the first two values";
inline constexpr const char* kComma2 = "You must use a comma separator ',' beetwen the second and third values";
inline constexpr const char* kComma3 = "You must use a comma separator ',' beetwen the third and forth values";
inline constexpr const char* kPwm = "The specified value range for the initial PWM pulse must be from 50 to 200";
inline constexpr const char* kOnTime = "The specified value range for PWM time window must be from 10 to 100";
inline constexpr const char* kCycles = "The specified value range for cycle timeout must be from 5 to 40";
inline constexpr const char* kAccuracy = "The specified value range position accuracy must be from 0 to 10";
inline constexpr const char* kDtgComma = "You must use a comma separator ',' beetwen the value and TURN-ON activation flag";
inline constexpr const char* kDtgRange = "The specified value range for the DTG frequency must be from -63 to 63";
inline constexpr const char* kDtgFlag = "The specified value for the TURN-ON activation flag must be 0=OFF or 1=ON";
inline constexpr const char* kEightSets =
    "This command takes 8 sets of values separated by a comma ','\nYou have entered more or less than required values !";
inline constexpr const char* kTableComma = "You must use a comma separator ',' beetwen the temperature and frequency values";
inline constexpr const char* kTempRange = "The specified value range for temperature must be from 1 to 200";
inline constexpr const char* kFreqRange = "The specified value range for frequency must be from 30 to 100";
inline constexpr const char* kRange30to100 = "The specified value range must be from 30 to 100";
inline constexpr const char* kRange10to50000 = "The specified value range must be from 10 to 50000";
inline constexpr const char* kRange0to255 = "The specified value range must be from 0 to 255";

inline constexpr const char* kNoAck = "No ACK received";
inline constexpr const char* kGeneralAck = "General ACK received";
inline constexpr const char* kAngleAck = "Angle Position ACK received";
inline constexpr const char* kFrequencyAck = "Frequency ACK received";
inline constexpr const char* kResponse = "Tool response received.";
inline constexpr const char* kTimeout = "Tool response timeout.";
inline constexpr const char* kMissing = "Missing data.";
inline constexpr const char* kAllData = "All data received.";

}  // namespace kvr::tarnc::text
