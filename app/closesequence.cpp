#include "closesequence.h"

#include <exception>

namespace vantlo {

tcloseresult tclosesequence::Run(tclosehost& host) {
  tcloseresult result;
  stop_.Set();
  host.StopDiskThumbnails();
  try {
    host.FreeDialUp();
  } catch (...) {
  }
  // Disk thumbnail loading and list passes run re-entrantly from the event
  // loop; freeing the engine and pictures under them would pull the objects
  // out from under a running loop. They test the stop request between items
  // and release their slot when they end.
  while (busy_.IsHeld(tbusyregister::slotD) || busy_.IsHeld(tbusyregister::slotS)) {
    if (!host.PumpWhileLoopsRun()) {
      result.loopsStopped = false;
      break;
    }
  }
  host.SaveWebcamSettings();
  host.CollectSettings();
  for (const char* name : kRecordWriteOrder) {
    try {
      host.WriteRecord(name);
    } catch (const std::exception& e) {
      result.writeFailures.push_back(std::string(name) + ": " + e.what());
    } catch (...) {
      result.writeFailures.push_back(std::string(name) + ": unknown error");
    }
  }
  host.HandlePrinterBuffer();
  try {
    host.RemoveOutputFolder();
  } catch (...) {
  }
  host.FreePrinter();
  host.ShowClosingStatus(" Resetting camera");
  if (!host.CameraOnUsbPath()) {
    try {
      host.ResetCamera();
    } catch (...) {
    }
  }
  host.FreeEngine();
  host.FreeRest();
  if (!result.writeFailures.empty()) host.ReportWriteFailures(result.writeFailures);
  return result;
}

}  // namespace vantlo
