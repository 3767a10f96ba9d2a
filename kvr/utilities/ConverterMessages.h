#pragma once
// What "KVR to ASCII Converter" and "Time Differnce Calculator" show. The data-file
// messages ("The requested file could not be opened", the read and integrity messages and
// the output-file failures) are CFileManager's callers' own, in kvr/core/FileMessages.h.

#include "common/datafile/FileMessages.h"

namespace kvr::utilities {

inline constexpr FileMessage kCurrentLoggingFile{"ERROR", "You cannot convert the current logging file !!"};
inline constexpr FileMessage kNoInputFile{"MESSAGE", "You must specify an input file before trying to convert it !"};
inline constexpr FileMessage kInputOpenFailed{"FATAL ERROR", "Error while trying to open the input file"};
inline constexpr FileMessage kStartDepthBeyond{
    "MESSAGE",
    "The Starting Depth you have specified goes beyond the file limits !\nIt will be set back to the original limit !"};
inline constexpr FileMessage kStartTimeBeyond{
    "MESSAGE",
    "The Starting Time you have specified goes beyond the file limits !\nIt will be set back to the original limit !"};
inline constexpr FileMessage kOverwriteOutput{"ATTENTION",
                                              "The output file already exists ! - Do you want to overwrite the file ?"};
inline constexpr FileMessage kKeepChannels{"QUESTION", "Do you want to keep the selected channels ?"};
inline constexpr FileMessage kConversionFinished{"MESSAGE", "Convertion has successfully finished"};
// Writing over the input would destroy the recording being converted.
inline constexpr FileMessage kOutputIsInput{"ERROR", "The output file cannot be the input file !"};
// A file of the index alone is no conversion.
inline constexpr FileMessage kNoChannelSelected{"MESSAGE", "You must select at least one channel to convert !"};
inline constexpr FileMessage kNothingToView{"MESSAGE", "The output file has not been written yet: convert the file first !"};
inline constexpr FileMessage kNoTextViewer{"ERROR", "No text viewer could be started for the output file"};
inline constexpr FileMessage kUseTimeOffset{"QUESTION", "Do you want to use the calculated time offset ?"};

inline constexpr const char* kKvrFileFilter = "KVR Data files (*.kvr)|*.kvr||";

}  // namespace kvr::utilities
