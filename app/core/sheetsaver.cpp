#include "app/core/sheetsaver.h"

#include "app/core/saveasname.h"
#include "library/atomicfile.h"
#include "picture/jpegimage.h"

namespace vantlo {

namespace {

// More sheets than this in one folder on one day is not a numbering we look through.
constexpr long kMaxSheetNumber = 99999;

}  // namespace

tsheetsaver::tsheetsaver(tfilenamer& namer, tsaveoptions& options, toverwritequestion* question)
    : namer_(namer), options_(options), question_(question) {}

long tsheetsaver::NextFreeNumber() {
  long n = counter_ + 1;
  while (n < kMaxSheetNumber && NameTaken(namer_.FileName(n, tnamekind::contactSheet, "JPG"))) ++n;
  counter_ = n;
  return n;
}

long tsheetsaver::NextSheetNumber() {
  namer_.EnsureDailyFolder();
  return NextFreeNumber();
}

std::string tsheetsaver::NextSheetName() {
  const long n = NextSheetNumber();
  return namer_.FileName(n, tnamekind::contactSheet, "JPG");
}

tsavereport tsheetsaver::SaveFinishedSheet(const tbitmap& sheet, const tsheetjpeg& jpeg,
                                           bool saveWithoutAsking, const taskname& ask) {
  namer_.EnsureDailyFolder();
  const long n = NextFreeNumber();
  tsavereport report;
  if (saveWithoutAsking) {
    tpicturesaver saver(namer_, options_, question_);
    const tbytesource bytes = [&] { return CompressJpeg(sheet, jpeg.quality, jpeg.progressive); };
    saver.SaveFile(n, tnamekind::contactSheet, "JPG", bytes, true, report);
    return report;
  }
  const std::string proposal = namer_.FileName(n, tnamekind::contactSheet, "JPG");
  const auto choice = ask ? ask(proposal) : std::nullopt;
  if (!choice || choice->path.empty()) {
    report.skipped.push_back(proposal);
    return report;
  }
  if (choice->camFilter) throw tfileerror(kNoContactSheetAsCam);
  report.saved.push_back(WriteSheetAs(sheet, jpeg, choice->path));
  return report;
}

std::string tsheetsaver::WriteSheetAs(const tbitmap& sheet, const tsheetjpeg& jpeg,
                                      const std::string& path) {
  const std::string target = EnsureEnding(path, ".jpg");
  const std::vector<std::uint8_t> bytes = CompressJpeg(sheet, jpeg.quality, jpeg.progressive);
  try {
    WriteFileAtomic(target, bytes);
  } catch (const tfileerror&) {
    WriteFileAtomic(target, bytes);
  }
  return target;
}

}  // namespace vantlo
