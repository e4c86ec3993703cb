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
  tbatchreport report;
  tpicturedocument doc(pipeline_);
  const int total = static_cast<int>(files.size());
  for (int i = 0; i < total; ++i) {
    const std::string& file = files[static_cast<std::size_t>(i)];
    if (host_.stopRequested && host_.stopRequested()) {
      report.stopped = true;
      break;
    }
    const tpicturefiletype type = PictureFileType(file);
    if (type != tpicturefiletype::Jpg && type != tpicturefiletype::Cam) continue;
    if (host_.onFile) host_.onFile(file, i + 1, total);
    TJPEGImage picture;
    try {
      picture = OpenPictureForCell(file, printer_.NextCellRect(), doc, open_);
    } catch (const std::exception& e) {
      report.failed.push_back(file + ": " + e.what());
      continue;
    }
    try {
      printer_.PrintPicture(picture, depth_, PrintTitleOf(file));
    } catch (const std::exception& e) {
      report.error = e.what();
      break;
    }
    report.done.push_back(file);
  }
  return report;
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
