// Picture file operations that take the picture's companion properties
// file along: rename, copy, move and delete. The picture operation decides
// the result; a companion that cannot follow is ignored (the picture
// operation is not undone), as the user cares about the picture first.
#pragma once

#include <string>

#include "library/fileops.h"

namespace vantlo {

class tcompanionfiles {
 public:
  explicit tcompanionfiles(tfileops& ops) : ops_(ops) {}

  // Renames the picture without replacing an existing file (unless
  // `overwrite`), then its companion to the new picture's companion name.
  // A companion already at the new name (an orphan, or the replaced
  // picture's) is removed when the picture brings none of its own.
  tfileresult Rename(const std::string& from, const std::string& to, bool overwrite = false);
  // Copies the picture; if it has a companion it is copied to the target's
  // companion name. A stale companion of a replaced target is removed when
  // the source has none, so the copy never inherits foreign properties.
  tfileresult Copy(const std::string& from, const std::string& to, bool overwrite = false);
  // Moves the picture (never destroying it, see tfileops::Move) and then
  // its companion.
  tfileresult Move(const std::string& from, const std::string& to, bool overwrite = false);
  // Deletes the picture; on success its companion too.
  tfileresult Delete(const std::string& path);

  // The companion path of a picture, or empty for names of other kinds.
  static std::string CompanionOf(const std::string& picture);

 private:
  tfileops& ops_;
};

}  // namespace vantlo
