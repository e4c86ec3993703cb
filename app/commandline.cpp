#include "commandline.h"

#include <algorithm>
#include <cctype>

namespace vantlo {

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

bool IsSimulate(const std::string& a) {
  return a == "--simulate" || a.rfind("--simulate=", 0) == 0;
}

std::vector<std::string> WithoutSimulate(const std::vector<std::string>& args) {
  std::vector<std::string> rest;
  for (const auto& a : args)
    if (!IsSimulate(a)) rest.push_back(a);
  return rest;
}

}  // namespace

bool DebugStartRequested(const std::vector<std::string>& args) {
  const auto rest = WithoutSimulate(args);
  return !rest.empty() && Upper(rest.front()) == "-DEBUGSTART";
}

tcommandline ParseCommandLine(const std::vector<std::string>& args, bool autostartSetting) {
  tcommandline cl;
  cl.autostart = autostartSetting;
  for (const auto& a : args) {
    if (!IsSimulate(a)) continue;
    cl.simulate = true;
    cl.simulateFamily = a.size() > 11 ? a.substr(11) : "classic";
    if (cl.simulateFamily != "classic" && cl.simulateFamily != "extended" &&
        cl.simulateFamily != "filesystem")
      cl.error = "Unknown camera family \"" + cl.simulateFamily +
                 "\" (use classic, extended or filesystem)";
  }
  const auto rest = WithoutSimulate(args);
  if (rest.empty()) return cl;
  const std::string first = Upper(rest.front());
  if (first == "-DEBUGSTART") cl.debug = true;
  if (first.compare(0, 8, "-AUTOCAP") == 0) cl.autostart = true;
  if (first.compare(0, 7, "-NOAUTO") == 0) cl.autostart = false;
  return cl;
}

}  // namespace vantlo
