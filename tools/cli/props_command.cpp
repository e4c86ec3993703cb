#include "tools/cli/props_command.h"

#include <sys/stat.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include "library/pictureproperties.h"

namespace vantlo::cli {

const char* const kPropsUsage =
    "props FILE [--clear] [--title T] [--description LINE]... [--keyword K]... [--orientation "
    "0..3]\n"
    "  FILE: a .JPG, .CAM or .AVI picture; without options its properties are shown\n"
    "  --clear: start from empty properties (as the dialog's Clear button)\n"
    "  --title: the title (at most 255 characters are kept)\n"
    "  --description: one line of the description; repeat for more (at most 8 kept);\n"
    "                 given lines replace the stored description\n"
    "  --keyword: a keyword to add; repeat for more (lower-cased, at most 40 kept)\n"
    "  --orientation: 0 Normal, 1 Rotate Clockwise, 2 Upside Down, 3 Rotate Counter-clockwise\n";

namespace {

const char* OrientationName(std::uint32_t o) {
  switch (o) {
    case 1:
      return "Rotate Clockwise";
    case 2:
      return "Upside Down";
    case 3:
      return "Rotate Counter-clockwise";
    default:
      return "Normal";
  }
}

struct tpropsargs {
  std::string file;
  bool clear = false;
  std::optional<std::string> title;
  std::vector<std::string> description;
  std::vector<std::string> keywords;
  std::optional<std::uint32_t> orientation;
  bool Changes() const {
    return clear || title || !description.empty() || !keywords.empty() || orientation;
  }
};

std::string Parse(const std::vector<std::string>& args, tpropsargs& a) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (word == "--clear") {
      a.clear = true;
    } else if (word == "--title" || word == "--description" || word == "--keyword" ||
               word == "--orientation") {
      auto v = value();
      if (!v) return "props: " + word + " needs a value";
      if (word == "--title")
        a.title = *v;
      else if (word == "--description")
        a.description.push_back(*v);
      else if (word == "--keyword")
        a.keywords.push_back(*v);
      else if (*v == "0" || *v == "1" || *v == "2" || *v == "3")
        a.orientation = static_cast<std::uint32_t>((*v)[0] - '0');
      else
        return "props: --orientation takes 0..3";
    } else if (word.rfind("--", 0) == 0) {
      return "props: unknown option " + word;
    } else if (a.file.empty()) {
      a.file = word;
    } else {
      return "props: only one FILE";
    }
  }
  if (a.file.empty()) return "props: FILE is missing";
  return {};
}

}  // namespace

int RunPropsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  tpropsargs a;
  if (std::string problem = Parse(args, a); !problem.empty()) {
    err << problem << "\nusage: vantlo-cli " << kPropsUsage;
    return 2;
  }
  try {
    const std::string path = std::filesystem::absolute(a.file).lexically_normal().string();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      err << path << " does not exist\n";
      return 1;
    }
    tpictureproperties props;
    props.SetFile(path);
    props.Load();
    if (a.Changes()) {
      if (a.clear) {
        props.SetTitle("");
        props.Description().clear();
        props.Keywords().Clear();
        props.SetOrientation(poNormal);
      }
      if (a.title) props.SetTitle(*a.title);
      if (!a.description.empty()) props.Description() = a.description;
      for (const auto& k : a.keywords) props.Keywords().Add(k);
      if (a.orientation) props.SetOrientation(*a.orientation);
      props.Save();
      props.SetFile(path);
      props.Load();  // show what was stored, cuts included
    }
    out << "File: " << path << "\n";
    out << "Properties file: " << CompanionPath(path) << "\n";
    out << "Title: " << props.Title() << "\n";
    for (std::size_t i = 0; i < props.Description().size(); ++i)
      out << "Description " << (i + 1) << ": " << props.Description()[i] << "\n";
    out << "Keywords:";
    for (const auto& k : props.Keywords().Items()) out << " " << k;
    out << "\n";
    out << "Orientation: " << props.Orientation() << " " << OrientationName(props.Orientation())
        << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

int RunPropsCommand(const std::vector<std::string>& args) {
  return RunPropsCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
