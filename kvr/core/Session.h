#pragma once
// The session: the job record and the folders derived from it. Confirming job data creates
// the folders and starts the session when user, client and well are named.

#include <filesystem>

#include "common/datafile/FilePorts.h"
#include "common/records/JobRecord.h"
#include "platform/Prompter.h"

namespace kvr {

inline constexpr const char* kNamesMissingTitle = "ATTENTION";
inline constexpr const char* kNamesMissingText = "You must input a User, Client and Well name in order to start a session";

class Session {
 public:
  // dataFolder stands for "C:\KVRFolder".
  Session(FileSystem& fs, platform::Prompter& prompter, std::filesystem::path dataFolder)
      : fs_(fs), prompter_(prompter), dataFolder_(std::move(dataFolder)) {}

  // OK of the job data form: folders, then the record, then the names check. Returns true when
  // the session started. A folder failure shows its message and keeps the previous session.
  bool confirmJobData(const records::JobRecord& edited);
  // Adopts a loaded job record: creates its folders (false and the folder message on failure).
  bool adopt(const records::JobRecord& loaded);

  const records::JobRecord& job() const { return job_; }
  records::JobRecord& job() { return job_; }
  bool started() const { return started_; }
  const std::filesystem::path& sessionFolder() const { return sessionFolder_; }
  const std::filesystem::path& dataFolder() const { return dataFolder_; }

 private:
  bool createFolders(const records::JobRecord& job, std::filesystem::path& folder);

  FileSystem& fs_;
  platform::Prompter& prompter_;
  std::filesystem::path dataFolder_;
  records::JobRecord job_;
  std::filesystem::path sessionFolder_;
  bool started_ = false;
};

}  // namespace kvr
