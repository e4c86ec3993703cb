#pragma once

#include <string>
#include <vector>

#include "busyregister.h"

namespace vantlo {

// The steps of closing the main window. The window implements them; the
// order, the waiting and the error handling live in tclosesequence so they
// can be checked without a window.
class tclosehost {
 public:
  virtual ~tclosehost() = default;
  virtual void StopDiskThumbnails() = 0;
  virtual void FreeDialUp() = 0;
  // One round of pending window messages while loops still hold D or S.
  // Returns false when the wait should give up.
  virtual bool PumpWhileLoopsRun() = 0;
  virtual void SaveWebcamSettings() = 0;
  virtual void CollectSettings() = 0;
  // Writes one settings record; throws on failure.
  virtual void WriteRecord(const std::string& name) = 0;
  virtual void HandlePrinterBuffer() = 0;
  virtual void RemoveOutputFolder() = 0;
  virtual void FreePrinter() = 0;
  virtual void ShowClosingStatus(const std::string& text) = 0;
  virtual bool CameraOnUsbPath() = 0;
  virtual void ResetCamera() = 0;  // may throw; ignored
  virtual void FreeEngine() = 0;
  virtual void FreeRest() = 0;
  virtual void ReportWriteFailures(const std::vector<std::string>& failures) = 0;
};

struct tcloseresult {
  bool loopsStopped = true;                // false when the wait for D/S gave up
  std::vector<std::string> writeFailures;  // "NAME: message"
};

// Records in the order they are written back.
inline constexpr const char* kRecordWriteOrder[] = {
    "CONFIGD5", "CAPDATA", "FTPCONFIG", "AUTOCAPTURE", "EXTRA", "DISKMAN", "CONTACTD5"};

// The close: stop request, wait for disk loops to end, settings collected,
// all seven records written (a failing one does not stop the others), the
// printer buffer, the output folder, the camera reset, everything freed; the
// write failures are reported together at the end.
class tclosesequence {
 public:
  tclosesequence(tbusyregister& busy, tstoprequest& stop) : busy_(busy), stop_(stop) {}
  tcloseresult Run(tclosehost& host);

 private:
  tbusyregister& busy_;
  tstoprequest& stop_;
};

// FormCloseQuery's answer: the window may close when no camera or task slot
// (T, P, M, W, A) is held; the disk slots D and S do not count.
inline bool MayClose(tbusyregister& busy) { return busy.BusyControl(tbusyregister::kQuery); }

}  // namespace vantlo
