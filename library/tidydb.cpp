#include "library/tidydb.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

#include "library/folderwalk.h"
#include "library/hiddenlist.h"
#include "library/pictureproperties.h"
#include "library/textnocase.h"

namespace vantlo {

std::string ttidyresult::Summary() const {
  if (stopped) return "Stopped";
  if (failures.empty()) return "Finished Compressing";
  return "Finished with " + std::to_string(failures.size()) +
         (failures.size() == 1 ? " error" : " errors");
}

ttidyresult ttidydb::Compress(const std::string& root, const tstatus& status) {
  ttidyresult result;
  auto say = [&](const std::string& text) { return !status || status(text); };
  if (root.empty() || root[0] != '/') {
    result.failures.push_back(root + ": the folder must be an absolute path");
    return result;
  }
  say("Building directory list...");
  tfoldertree tree = ListFolderTree(root);
  result.failures = tree.errors;
  for (const std::string& folder : tree.folders) {
    if (!say("Searching " + folder)) {
      result.stopped = true;
      break;
    }
    std::vector<tfolderentry> entries;
    if (!ListFolder(folder, entries)) {
      result.failures.push_back(folder + ": " + std::strerror(errno));
      continue;
    }
    std::set<std::string> names;  // every name of the folder, upper-cased
    for (const auto& e : entries) names.insert(UpperAscii(e.name));
    for (const auto& e : entries) {
      if (e.kind != tentrykind::File || !LooksLikeCompanion(e.name)) continue;
      const char last = static_cast<char>(UpperAscii(std::string(1, e.name.back()))[0]);
      if (last != 'C' && last != 'J') continue;  // no picture to check: keep it
      auto picture = PictureNameForCompanion(e.name);
      if (!picture || names.count(UpperAscii(*picture))) continue;
      const std::string path = folder + e.name;
      if (::unlink(path.c_str()) != 0) {
        result.failures.push_back(path + ": " + std::strerror(errno));
        continue;
      }
      DropFromHiddenList(path);
      ++result.removed;
      say("Number of files removed : " + std::to_string(result.removed));
    }
  }
  say(result.Summary());
  return result;
}

}  // namespace vantlo
