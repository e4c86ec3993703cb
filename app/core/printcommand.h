// The print commands of the main window without widgets: the picture on display, selected or
// all disk pictures (a pass that stops between pictures at a stop request), selected or all
// camera pictures (fetched and saved as the camera grid does, through the fetch workflow),
// "Page Setup" applied to the printer, "Flush Printer", "Cancel Printing", and the question
// about a pending page when the program closes.
#pragma once

#include <string>
#include <vector>

#include "app/core/fetchworkflow.h"
#include "app/core/outputbatch.h"
#include "app/core/picturedocument.h"
#include "output/acprinter.h"

namespace vantlo {

inline constexpr const char* kSelectToPrint =
    "Select one or more Camera Thumbnails to print using the panel on the right";
inline constexpr const char* kPrinterBufferQuestion =
    "You have some pictures in the printer buffer. Do you want to print these now?";

class tprintcommand {
 public:
  // Nothing is owned; all must outlive the command. `depth` is the screen's colour depth.
  tprintcommand(tacprinter& printer, tpicturepipeline& pipeline, tbatchhost host = {},
                tpictureopenoptions open = {}, int depth = 24);

  // "Page Setup" answered OK: rows and columns first (toutputerror "Cannot change this while
  // printing" with a page pending, the layout left as it was), then the rest.
  static void ApplyPageSetup(tacprinter& printer, const tconfigrecord& config,
                             const tdiskmanrecord& diskman);

  // "Current Picture on Display": with the title of a JPEG or CAM file on display. Throws
  // toutputerror(kNoPictureOnDisplay) without a picture.
  void PrintCurrent(const tpicturedocument& display);

  // "Selected Disk Pictures" / "All Disk Pictures": CAM and JPEG files in order, each with its
  // title. An empty list throws toutputerror(kNoPicturesSelected). A file that cannot be opened
  // is listed as failed and the pass goes on; a printer error ends it (report.error; the
  // buffer is as it was before that picture).
  tbatchreport PrintFiles(const std::vector<std::string>& files);

  // "Selected Camera Pictures": the pending page goes out first; each selected picture is
  // fetched (and saved) by `fetch` and printed without a title. Nothing selected: the warning
  // kSelectToPrint through the workflow's message sink, and false.
  bool PrintCameraSelected(tfetchworkflow& fetch, const tcameraselection& selection,
                           tfetchresult& result);
  // "All Camera Pictures": the pending page goes out, pictures 1..count are fetched and
  // printed, and the last page is sent at the end.
  tfetchresult PrintCameraAll(tfetchworkflow& fetch);

  // "Flush Printer" / "Send Current Page to Printer" and "Cancel Printing".
  void Flush() { printer_.FinishJob(); }
  void Cancel() { printer_.AbortJob(); }

  // The close question: asked only with pictures in the buffer; Yes prints them, No drops them.
  static bool NeedsCloseQuestion(const tacprinter& printer) { return printer.HasPendingPage(); }
  static void AnswerCloseQuestion(tacprinter& printer, bool printNow);

 private:
  void PrintFetched(tfetchworkflow& fetch, const std::function<tfetchresult()>& run,
                    tfetchresult& result);

  tacprinter& printer_;
  tpicturepipeline& pipeline_;
  tbatchhost host_;
  tpictureopenoptions open_;
  int depth_;
};

}  // namespace vantlo
