#pragma once

#include <functional>
#include <memory>
#include <string>

#include "library/records.h"

namespace vantlo {

// The window's access to the configuration store: creates it, reads the
// seven records in start-up order and writes one record by name. Keeps the
// store's own type out of the window code.
class tsettingsio {
 public:
  tsettingsio();
  ~tsettingsio();

  // Reads every record, calling trace(text) at the start-up trace points
  // between them; onAutoCapture runs right after "AUTOCAPTURE" is read.
  void ReadAll(tsettingsrecords& records, const std::function<void(const char*)>& trace,
               const std::function<void()>& onAutoCapture);
  // Writes the record with the given store name ("CONFIGD5", ...); throws.
  void Write(const std::string& name, tsettingsrecords& records);
  // True when the store held no saved main settings before this run.
  bool FirstRun() const { return firstRun_; }
  // The folder the records live in (for messages).
  std::string Folder() const;

 private:
  struct tstore;
  std::unique_ptr<tstore> store_;
  bool firstRun_ = false;
};

}  // namespace vantlo
