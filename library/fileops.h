// Safe file operations for the picture library: rename, copy, move and
// delete of single files given by absolute paths.
//
// The rules that keep the user's pictures safe:
// - nothing silently replaces an existing file; the caller asks the user and
//   then passes `overwrite` (renameat2 with RENAME_NOREPLACE, falling back to
//   link + unlink where the file system lacks it);
// - a copy is written to a temporary name next to the target, flushed,
//   checked for its size and only then renamed into place, so a failed copy
//   never leaves a torn target;
// - a move never destroys its source: onto itself it does nothing, and across
//   file systems the source is deleted only after the copy is in place.
#pragma once

#include <functional>
#include <string>

namespace vantlo {

enum class tfilestatus {
  Ok,             // done
  SameFile,       // source and target are one file; nothing was done
  TargetExists,   // the target exists and overwriting was not asked for
  SourceMissing,  // the source does not exist
  NotAbsolute,    // a path was not absolute
  Failed,         // a system call failed; `error` holds errno
};

struct tfileresult {
  tfilestatus status = tfilestatus::Ok;
  int error = 0;
  bool Ok() const { return status == tfilestatus::Ok; }
  // A short English text for messages and logs.
  std::string Text() const;
};

// Test seams. `forceCrossDevice` makes every move take the copy path, as a
// move between two file systems would; `failCopy`, when set and returning
// true for a copy's source path, cuts that copy short after half its bytes
// (the size check must then catch it).
struct tfileopshooks {
  bool forceCrossDevice = false;
  std::function<bool(const std::string& source)> failCopy;
};

class tfileops {
 public:
  tfileops() = default;
  explicit tfileops(tfileopshooks hooks) : hooks_(std::move(hooks)) {}

  // Renames within one file system. A rename that only changes the letter
  // case of a name on a case-insensitive file system (source and target are
  // the same file under two spellings) is carried out.
  tfileresult Rename(const std::string& from, const std::string& to, bool overwrite = false);
  // Copies a regular file. Copying a file onto itself does nothing
  // (SameFile) instead of truncating it.
  tfileresult Copy(const std::string& from, const std::string& to, bool overwrite = false);
  // Renames where possible, otherwise copies and then deletes the source.
  tfileresult Move(const std::string& from, const std::string& to, bool overwrite = false);
  // Deletes one file (never a folder).
  tfileresult Delete(const std::string& path);

  static bool Exists(const std::string& path);
  // True when both paths name the same existing file (device and inode).
  static bool SameFile(const std::string& a, const std::string& b);

 private:
  tfileresult CopyViaTemp(const std::string& from, const std::string& to, bool overwrite);
  tfileopshooks hooks_;
};

// Renames `from` to `to` without replacing an existing `to`. Returns 0 or
// -1 with errno set (EEXIST when the target exists).
int RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace vantlo
