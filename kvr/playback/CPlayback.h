#pragma once
// Playback: a recorded data file replayed through the sample ring and the log display of a
// live log, block by block, limited to a depth window, shifted by a depth offset, optionally
// recomputed by the tool computations and written to a new data file. Steered by the seven
// playback options of the system parameter table.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "common/datafile/CFileManager.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/MainMenu.h"
#include "kvr/core/ProgramSettings.h"
#include "kvr/core/Session.h"
#include "kvr/logging/CKVRDlg.h"
#include "kvr/playback/PlaybackComputations.h"
#include "platform/Prompter.h"

namespace kvr {

struct PlaybackParts {
  platform::Prompter& prompter;
  ProgramSettings& program;
  Session& session;
  CToolManager& tools;
  CFileManager& files;
  MainMenu& menu;
  CKVRDlg& dialog;
};

class CPlayback {
 public:
  CPlayback(PlaybackParts parts, std::function<void()> menuChanged = {});
  ~CPlayback();
  CPlayback(const CPlayback&) = delete;
  CPlayback& operator=(const CPlayback&) = delete;

  // "&Choose a File": the file dialog in the session folder, then the file.
  bool chooseFile();
  // The file once chosen: the session question, then its tool string, channels, parameters,
  // direction and main system parameters. A refused or unreadable file changes nothing.
  bool loadFile(const std::filesystem::path& path);
  // "&Start Playback".
  bool startPlayback();
  // "S&top Playback", and the end of the file: the file must be chosen again to replay it.
  void stopPlayback();
  // Command 111: the next block of the file.
  void nextBlock();

  bool fileChosen() const { return fileChosen_; }
  bool running() const { return running_; }
  const std::filesystem::path& inputFile() const { return input_; }
  // The output file, or "Not Created".
  const std::filesystem::path& outputName() const { return output_; }
  std::uint8_t direction() const { return direction_; }
  std::uint64_t rowsReplayed() const { return rowsReplayed_; }

 private:
  bool option(int index, int choice) const;
  float value(int index) const;
  bool createOutput();
  // Reads one block into the ring and plans it; false when the playback stopped.
  bool readBlock(std::size_t& first, std::size_t& kept, std::size_t& draw, bool& lastOfFile);
  bool flushRows(std::size_t firstRow, std::size_t rows);
  void menuChanged();

  PlaybackParts parts_;
  std::function<void()> menuChanged_;
  bool fileChosen_ = false;
  bool running_ = false;
  bool writing_ = false;
  std::filesystem::path input_;
  std::filesystem::path output_;
  std::uint8_t direction_ = 0;
  std::uint64_t rowsStart_ = 0;  // file offset of the first row
  std::uint64_t rowsReplayed_ = 0;
  std::optional<PlaybackComputations> computations_;
};

}  // namespace kvr
