#include "app/ui/diskpass.h"

#include <QApplication>

#include "app/busyregister.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"

namespace vantlo {

tbatchreport RunDiskPass(twindowhost& host, const std::string& what, const tdiskpassbody& body) {
  tbusyguard guard(host.Busy(), tbusyregister::kDiskList);
  tpictureview& view = host.PictureView();
  view.CopySettings();
  tbatchhost batch;
  batch.stopRequested = [&host] {
    QApplication::processEvents();
    return host.StopRequest().IsSet();
  };
  batch.onFile = [&host, what](const std::string&, int index, int total) {
    host.Progress().ReportText(what, index);
    host.Progress().ReportPosition(total > 0 ? index * 100 / total : 0);
  };
  tpictureopenoptions open;
  open.correction = view.Correction;
  open.caption = view.Caption;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  tbatchreport report;
  try {
    report = body(batch, open);
  } catch (const std::exception& e) {
    report.error = e.what();
  }
  QApplication::restoreOverrideCursor();
  host.Progress().ReportText("Ready", 0);
  host.Progress().ReportPosition(0);
  return report;
}

std::string DiskPassProblems(const tbatchreport& report) {
  std::string text = report.error;
  for (const std::string& f : report.failed) text += (text.empty() ? "" : "\n") + f;
  return text;
}

}  // namespace vantlo
