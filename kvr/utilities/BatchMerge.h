#pragma once
// What kvr-merge and kvr-splice share: files in and out of the working folder, messages on
// stderr, parameter blocks read through a TOOLS library of their own.

#include <iostream>
#include <string>

#include "common/datafile/PosixFiles.h"
#include "kvr/utilities/BatchPrompter.h"
#include "kvr/utilities/CMergeKvr.h"
#include "toolslib/Library.h"

namespace kvr::utilities {

class BatchMerge {
 public:
  BatchMerge()
      : prompter_(std::cerr),
        merge_(prompter_, fs_, [] { return std::filesystem::path("."); }, [] { return false; }, ready(library_)) {}

  // Reads both inputs; false (with the message on stderr) when either is refused.
  bool choose(const std::string& first, const std::string& second) {
    return merge_.choose(0, first) && merge_.choose(1, second);
  }
  CMergeKvr& merge() { return merge_; }

 private:
  // The library is a member declared before the merge, so it is initialised first.
  static tools::Library* ready(tools::Library& library) {
    library.initToolsData(records::SystemUnitsS{});
    return &library;
  }
  PosixFileSystem fs_;
  BatchPrompter prompter_;
  tools::Library library_;
  CMergeKvr merge_;
};

}  // namespace kvr::utilities
