#pragma once
// What the callers of CFileManager show when a data-file step fails.

#include "platform/Prompter.h"

namespace kvr {

struct FileMessage {
  const char* title;
  const char* text;
};

inline constexpr FileMessage kCreateOutputFailed{
    "FATAL ERROR", "Error while trying to open the output file\nRestart the program and check for enough disk space !"};
inline constexpr FileMessage kCounterWriteFailed{
    "FATAL ERROR", "The file counter FileCounter.txt of the session folder cannot be written\nNo file was created: check the session folder !"};
inline constexpr FileMessage kStaticWriteFailed{
    "FATAL ERROR", "Error while trying to save static data on the file\nRestart the program and check for enough disk space !"};
// Logging goes on after this one.
inline constexpr FileMessage kFlushFailed{
    "FATAL", "Error while writting data to the output file\nRestart the program and check for enough disk space !"};
inline constexpr FileMessage kOpenInputFailed{"FATAL ERROR", "The requested file could not be opened"};
inline constexpr FileMessage kReadFailed{"FATAL ERROR", "Error while trying to read static data from the file"};
inline constexpr FileMessage kIntegrityFailed{
    "FATAL ERROR", "Error while checking static data integrity\nFile could be corrupted, try again"};

// The message for a read result: -2 the integrity message, any other failure the read message.
inline const FileMessage& readFailureMessage(int result) { return result == -2 ? kIntegrityFailed : kReadFailed; }

inline void show(platform::Prompter& prompter, const FileMessage& m) {
  platform::tell(prompter, m.title, m.text, platform::Icon::Error);
}

}  // namespace kvr
