#pragma once

#include <set>
#include <string>

namespace vantlo {

// Daily output folders this run created. At close only these are removed,
// and only when empty: a folder the user chose, or one that held files
// before the run, is never touched.
class tcreatedfolders {
 public:
  void NoteCreated(const std::string& path);
  bool WasCreated(const std::string& path) const;
  // Removes every noted folder that is empty; returns how many were removed.
  int RemoveEmpty();

 private:
  static std::string Key(const std::string& path);
  std::set<std::string> created_;
};

}  // namespace vantlo
