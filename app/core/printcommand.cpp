#include "app/core/printcommand.h"

#include "app/core/cellpicture.h"
#include "output/outputerror.h"

namespace vantlo {

tprintcommand::tprintcommand(tacprinter& printer, tpicturepipeline& pipeline, tbatchhost host,
                             tpictureopenoptions open, int depth)
    : printer_(printer),
      pipeline_(pipeline),
      host_(std::move(host)),
      open_(std::move(open)),
      depth_(depth) {}

void tprintcommand::ApplyPageSetup(tacprinter& printer, const tconfigrecord& config,
                                   const tdiskmanrecord& diskman) {
  printer.SetLayout(PrintLayoutFrom(config, diskman));
}

void tprintcommand::PrintCurrent(const tpicturedocument& display) {
  if (!display.HasPicture()) throw toutputerror(kNoPictureOnDisplay);
  const bool file =
      display.Kind() == tpicturekind::JpegFile || display.Kind() == tpicturekind::CamFile;
  printer_.PrintPicture(display.Picture(), depth_, file ? PrintTitleOf(display.Path()) : "");
}

tbatchreport tprintcommand::PrintFiles(const std::vector<std::string>& files) {
  if (files.empty()) throw toutputerror(kNoPicturesSelected);
  tpicturedocument doc(pipeline_);
  tbatchsteps steps;
  steps.open = [&](const std::string& file) {
    return OpenPictureForCell(file, printer_.NextCellRect(), doc, open_);
  };
  // A printer error ends the pass; the buffer is as it was before that picture.
  steps.place = [&](const std::string& file, const TJPEGImage& picture) {
    printer_.PrintPicture(picture, depth_, PrintTitleOf(file));
  };
  return RunBatch(files, host_, steps);
}

void tprintcommand::PrintFetched(tfetchworkflow& fetch, const std::function<tfetchresult()>& run,
                                 tfetchresult& result) {
  // Every picture the workflow shows is printed too; the window's own show comes first.
  tfetchhost& host = fetch.Host();
  const auto shown = host.show;
  struct trestore {
    tfetchhost& host;
    std::function<void(const tshownpicture&)> show;
    ~trestore() { host.show = show; }
  } restore{host, shown};
  host.show = [this, shown](const tshownpicture& p) {
    if (shown) shown(p);
    if (p.kind == tshownkind::cameraPicture) printer_.PrintPicture(p.image, depth_, "");
  };
  result = run();
}

bool tprintcommand::PrintCameraSelected(tfetchworkflow& fetch, const tcameraselection& selection,
                                        tfetchresult& result) {
  if (!selection.Any()) {
    if (fetch.Host().message) fetch.Host().message(tmessagekind::warning, kSelectToPrint);
    return false;
  }
  printer_.FinishJob();
  PrintFetched(
      fetch, [&] { return fetch.FetchSelected(selection); }, result);
  return true;
}

tfetchresult tprintcommand::PrintCameraAll(tfetchworkflow& fetch) {
  printer_.FinishJob();
  tfetchresult result;
  PrintFetched(
      fetch, [&] { return fetch.FetchAll(); }, result);
  printer_.FinishJob();
  return result;
}

void tprintcommand::AnswerCloseQuestion(tacprinter& printer, bool printNow) {
  if (printNow)
    printer.FinishJob();
  else
    printer.AbortJob();
}

}  // namespace vantlo
