#pragma once
// A print job as the spooler ran it: documents of pages drawn on a Canvas.

#include <string>

#include "platform/Canvas.h"

namespace platform {

struct PageInfo {
  int dpiX = 300;
  int dpiY = 300;
  Size pageDevice;       // the whole sheet in device pixels
  Rect printableDevice;  // the printable area in device pixels
  bool continuous = false;  // fan-fold paper: no sheet breaks of its own
};

// The spooler's error codes, as page and document calls return them.
constexpr int kSpoolOk = 1;
constexpr int kSpoolError = -1;        // general error
constexpr int kSpoolAppAbort = -2;
constexpr int kSpoolUserAbort = -3;
constexpr int kSpoolOutOfDisk = -4;
constexpr int kSpoolOutOfMemory = -5;

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // Each call returns a positive value on success and 0 or a negative spooler error otherwise.
  virtual int startDocument(const std::string& name) = 0;
  virtual int startPage() = 0;
  virtual int endPage() = 0;
  virtual int endDocument() = 0;
  virtual void abortDocument() = 0;
  virtual PageInfo pageInfo() const = 0;
  // Valid between startPage and endPage; mapping starts as device pixels.
  virtual Canvas& canvas() = 0;
  // Where the document goes, to tell the user: the file written, or the printer's name.
  virtual std::string outputFile() const { return {}; }
  virtual std::string printerName() const { return {}; }
};

}  // namespace platform
