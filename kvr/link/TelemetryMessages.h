#pragma once
// The texts the telemetry start, stop and sends show, with their titles.

namespace kvr::tele_text {

inline constexpr const char* kNoSession = "There is no session defined !\nDefine a session and try again";
inline constexpr const char* kNoAcquisitionSuffix = " - Program will run without any acquisition";
inline constexpr const char* kToolStartFailed =
    "Error while tring to start the downhole tool\nTry to reconnect by starting the telemetry again";
inline constexpr const char* kNoToolString = "No ToolString has been declared by the user\nplease declare one and try again";
inline constexpr const char* kStringDiffers =
    "The ToolString declared by the user differs from the connected one\nplease check your tool string and try again";
inline constexpr const char* kStopLoggingFirst = "You must stop logging first !";
inline constexpr const char* kNoTelemetryForSend = "You must start the telemetry to be able to send data to the tool !";
inline constexpr const char* kNoTelemetryForSendAll =
    "You must start the telemetry to be able to send data to the tools !";
inline constexpr const char* kSurfaceOnlyParameter =
    "This parameter is not used downhole but used for surface proccessing\nthus will not be sent to the tool.";
// A value the tool cannot take (not finite, or too big for its message): refused, never cut.
inline constexpr const char* kValueNotSendable = " cannot be sent: its value does not fit the tool's message.";

inline constexpr const char* kTitleError = "ERROR";
inline constexpr const char* kTitleErrorMixed = "Error";
inline constexpr const char* kTitleMessage = "MESSAGE";
inline constexpr const char* kTitleAttention = "ATTENTION";

// The link in the status line (this port's own texts).
inline constexpr const char* kLinkOff = "Telemetry off";
inline constexpr const char* kLinkOnPrefix = "Telemetry on: ";
inline constexpr const char* kLinkLostPrefix = "Telemetry link lost, reconnecting: ";
inline constexpr const char* kLinkStringChangedPrefix = "Telemetry link back with a different tool string: ";

}  // namespace kvr::tele_text
