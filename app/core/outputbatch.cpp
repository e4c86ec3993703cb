#include "app/core/outputbatch.h"

#include "app/core/picturedocument.h"

namespace vantlo {

std::string tbatchreport::Summary(const char* verb) const {
  std::string s = std::string(verb) + " " + std::to_string(done.size()) + ", failed " +
                  std::to_string(failed.size());
  if (stopped) s += " (stopped)";
  if (!error.empty()) s += ": " + error;
  return s;
}

tbatchreport RunBatch(const std::vector<std::string>& files, const tbatchhost& host,
                      const tbatchsteps& steps) {
  tbatchreport report;
  const int total = static_cast<int>(files.size());
  for (int i = 0; i < total; ++i) {
    const std::string& file = files[static_cast<std::size_t>(i)];
    if (host.stopRequested && host.stopRequested()) {
      report.stopped = true;
      break;
    }
    const tpicturefiletype type = PictureFileType(file);
    if (type != tpicturefiletype::Jpg && type != tpicturefiletype::Cam) continue;
    if (host.onFile) host.onFile(file, i + 1, total);
    TJPEGImage picture;
    try {
      picture = steps.open(file);
    } catch (const std::exception& e) {
      report.failed.push_back(file + ": " + e.what());
      continue;
    }
    try {
      steps.place(file, picture);
    } catch (const std::exception& e) {
      const tplacefailure failure =
          steps.placeFailure ? steps.placeFailure() : tplacefailure::endsPass;
      if (failure == tplacefailure::fileFailed) {
        report.failed.push_back(file + ": " + e.what());
        continue;
      }
      if (failure == tplacefailure::placedEndsPass) report.done.push_back(file);
      report.error = e.what();
      break;
    }
    report.done.push_back(file);
  }
  return report;
}

}  // namespace vantlo
