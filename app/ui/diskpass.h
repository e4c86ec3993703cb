// A pass of a window command over disk pictures (adding them to a contact sheet, printing
// them): the disk list slot is held, the busy cursor shown, each picture is counted in the
// status line and the bar, Stop ends the pass between pictures, pictures open with the picture
// view's decoding, correction and caption settings, and the status line reads "Ready" after.
#pragma once

#include <functional>
#include <string>

#include "app/core/outputbatch.h"
#include "app/core/picturedocument.h"

namespace vantlo {

class twindowhost;

using tdiskpassbody =
    std::function<tbatchreport(const tbatchhost& batch, const tpictureopenoptions& open)>;

// Runs `body` as such a pass; `what` is the status text before each picture's number. An
// exception of `body` comes back as the report's error.
tbatchreport RunDiskPass(twindowhost& host, const std::string& what, const tdiskpassbody& body);

// What the user is told of a pass: the error that ended it and the files that failed, one a
// line; empty when all went well.
std::string DiskPassProblems(const tbatchreport& report);

}  // namespace vantlo
