#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vantlo {

class TForm1;

// The program's main block: splash, initialisation, message loop, close.
// args excludes the program name. onShown, if given, runs once the main
// window is shown (tests use it to drive the window). Needs a QApplication.
int RunVantlo(const std::vector<std::string>& args,
              const std::function<void(TForm1&)>& onShown = {});

}  // namespace vantlo
