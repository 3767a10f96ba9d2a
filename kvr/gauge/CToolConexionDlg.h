#pragma once
// "Memory Gauge Status" without its window: what the last Connect uploaded.

#include <string>

#include "toolslib/Globals.h"

namespace kvr::gauge {

struct CToolConexionDlg {
  std::string serialNumber;     // "Gauge Serial Number:"
  std::string toolModel;        // "Tool Model:"
  std::string recordedJobs;     // "Number of Recorded Jobs:"
  std::string allocatedMemory;  // "Allocated Memory Samples:"
};

CToolConexionDlg gaugeStatus(const tools::Globals& globals);

}  // namespace kvr::gauge
