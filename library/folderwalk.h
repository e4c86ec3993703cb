// Listing folders on disk for the library's tree walks (compress, find).
// Symbolic links are never followed and the walk never leaves the file
// system of its root, so a link loop or a mounted network share cannot make
// it run forever or touch another disk.
#pragma once

#include <string>
#include <vector>

namespace vantlo {

enum class tentrykind { File, Folder, Link, Other };

struct tfolderentry {
  std::string name;
  tentrykind kind = tentrykind::Other;
};

// The entries of one folder except "." and "..", from lstat (links are
// reported as links). False with errno when the folder cannot be read.
bool ListFolder(const std::string& folder, std::vector<tfolderentry>& entries);

struct tfoldertree {
  std::vector<std::string> folders;  // each ending in "/", the root first
  std::vector<std::string> errors;   // folders that could not be read
};

// The root and, when `recursive`, every folder below it depth first
// (sub-folders sorted by name), staying on the root's file system.
tfoldertree ListFolderTree(const std::string& root, bool recursive = true);

// "/a/b" and "/a/b/" both give "/a/b/".
std::string WithTrailingSlash(const std::string& folder);

}  // namespace vantlo
