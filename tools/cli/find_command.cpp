#include "tools/cli/find_command.h"

#include <exception>
#include <filesystem>
#include <iostream>

#include "library/findpics.h"

namespace vantlo::cli {

const char* const kFindUsage =
    "find ROOT TEXT [--mode title|description|keywords|filename|any] [--no-subfolders]\n"
    "               [--jpg] [--cam]\n"
    "  --mode: what TEXT is compared with (default keywords); filename takes a\n"
    "          pattern such as dsc or *.jpg\n"
    "  --no-subfolders: search ROOT only\n"
    "  --jpg, --cam: only pictures of these kinds (default both)\n";

int RunFindCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  tfindoptions options;
  std::vector<std::string> words;
  bool onlyJpg = false, onlyCam = false;
  auto usage = [&](const std::string& problem) {
    err << problem << "\nusage: vantlo-cli " << kFindUsage;
    return 2;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& w = args[i];
    if (w == "--mode") {
      if (i + 1 >= args.size()) return usage("find: --mode needs a value");
      const std::string m = args[++i];
      if (m == "title")
        options.mode = tfindmode::Title;
      else if (m == "description")
        options.mode = tfindmode::Description;
      else if (m == "keywords")
        options.mode = tfindmode::Keywords;
      else if (m == "filename")
        options.mode = tfindmode::Filename;
      else if (m == "any")
        options.mode = tfindmode::AnyProperty;
      else
        return usage("find: unknown mode " + m);
    } else if (w == "--no-subfolders") {
      options.subfolders = false;
    } else if (w == "--jpg") {
      onlyJpg = true;
    } else if (w == "--cam") {
      onlyCam = true;
    } else if (w.rfind("--", 0) == 0) {
      return usage("find: unknown option " + w);
    } else {
      words.push_back(w);
    }
  }
  if (words.size() != 2) return usage("find: ROOT and TEXT are needed");
  if (words[1].empty()) return usage("find: TEXT is empty");
  if (onlyJpg || onlyCam) {
    options.jpg = onlyJpg;
    options.cam = onlyCam;
  }
  try {
    options.root = std::filesystem::absolute(words[0]).lexically_normal().string();
    options.text = words[1];
    tfindresult result = tfindpics().Find(options);
    for (const auto& p : result.pictures) out << p << "\n";
    for (const auto& e : result.errors) err << "cannot read " << e << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

int RunFindCommand(const std::vector<std::string>& args) {
  return RunFindCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
