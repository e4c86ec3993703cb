#include "library/findpics.h"

#include <algorithm>

#include "library/folderwalk.h"
#include "library/pictureproperties.h"
#include "library/textnocase.h"

namespace vantlo {

bool TextMatches(const std::string& search, const std::string& property) {
  const std::string s = UpperAscii(search), k = UpperAscii(property);
  if (k.size() < s.size()) return !k.empty() && s.find(k) != std::string::npos;
  if (s.size() < k.size()) return !s.empty() && k.find(s) != std::string::npos;
  return s == k;
}

namespace {

bool Match(const char* p, const char* n) {
  // Iterative wildcard match with one backtrack point for the last "*".
  const char* star = nullptr;
  const char* retry = nullptr;
  while (*n) {
    if (*p == '*') {
      star = ++p;
      retry = n;
    } else if (*p &&
               (*p == '?' || UpperAscii(std::string(1, *p)) == UpperAscii(std::string(1, *n)))) {
      ++p;
      ++n;
    } else if (star) {
      p = star;
      n = ++retry;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

bool PropertiesMatch(const tpictureproperties& props, tfindmode mode, const std::string& text) {
  auto keywords = [&] {
    const auto& items = props.Keywords().Items();
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& k) { return TextMatches(text, k); });
  };
  auto title = [&] { return TextMatches(text, props.Title()); };
  auto description = [&] {
    std::string joined;
    for (const auto& line : props.Description()) joined += line;
    return TextMatches(text, joined);
  };
  switch (mode) {
    case tfindmode::Keywords:
      return keywords();
    case tfindmode::Title:
      return title();
    case tfindmode::Description:
      return description();
    case tfindmode::AnyProperty:
      return keywords() || title() || description();
    case tfindmode::Filename:
      break;
  }
  return false;
}

}  // namespace

bool WildcardMatches(const std::string& pattern, const std::string& name) {
  if (Match(pattern.c_str(), name.c_str())) return true;
  // Windows lets "x*.*" match names without any dot.
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
      name.find('.') == std::string::npos)
    return Match(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
  return false;
}

std::string tfindresult::Summary() const {
  return std::to_string(pictures.size()) + " pictures found";
}

tfindresult tfindpics::Find(const tfindoptions& options, const tstatus& status) {
  tfindresult result;
  auto say = [&](const std::string& text) { return !status || status(text); };
  if (options.text.empty()) return result;
  const bool byName = options.mode == tfindmode::Filename;
  // Asked in every mode, file names included, before anything is searched.
  if (!options.jpg && !options.cam) throw tfinderror("You have not selected any files to Look For");
  if (options.root.empty() || options.root[0] != '/')
    throw tfinderror(options.root + " : directory does not exist");

  std::string pattern;
  if (byName) {
    pattern = options.text;
    if (pattern.find_first_of("/\\") != std::string::npos || pattern == "..")
      throw tfinderror("A file name pattern cannot name a folder: " + options.text);
    if (pattern.find('.') == std::string::npos) pattern += "*.*";
  } else {
    pattern = options.jpg && options.cam ? "*.QV?" : options.jpg ? "*.QVJ" : "*.QVC";
  }

  say("Searching...");
  tfoldertree tree = ListFolderTree(options.root, options.subfolders);
  if (tree.folders.empty()) throw tfinderror(options.root + " : directory does not exist");
  result.errors = tree.errors;
  for (const std::string& folder : tree.folders) {
    if (!say("Searching " + folder)) {
      result.stopped = true;
      break;
    }
    std::vector<tfolderentry> entries;
    if (!ListFolder(folder, entries)) {
      result.errors.push_back(folder);
      continue;
    }
    std::sort(entries.begin(), entries.end(), [](const tfolderentry& a, const tfolderentry& b) {
      return LessNoCase(a.name, b.name);
    });
    for (const auto& e : entries) {
      // Only plain files: a link could point anywhere outside the root.
      if (e.kind != tentrykind::File || !WildcardMatches(pattern, e.name)) continue;
      const std::string path = folder + e.name;
      if (byName) {
        // Companion files are part of their picture, never results of
        // their own (the browser does not list them).
        if (!LooksLikeCompanion(e.name)) result.pictures.push_back(path);
        continue;
      }
      auto pictureName = PictureNameForCompanion(e.name);
      if (!pictureName) {
        result.skipped.push_back(path);  // "*.QV?" with another last letter
        continue;
      }
      // The picture in whatever letter case it has on disk.
      auto live = std::find_if(entries.begin(), entries.end(), [&](const tfolderentry& p) {
        return p.kind == tentrykind::File && EqualsNoCase(p.name, *pictureName);
      });
      if (live == entries.end()) {
        result.skipped.push_back(path);  // left behind by a deleted picture
        continue;
      }
      const std::string picture = folder + live->name;
      try {
        tpictureproperties props;
        props.SetFile(picture);
        props.Load();
        if (PropertiesMatch(props, options.mode, options.text)) result.pictures.push_back(picture);
      } catch (const std::exception&) {
        result.skipped.push_back(path);
      }
    }
  }
  say(result.Summary());
  return result;
}

}  // namespace vantlo
