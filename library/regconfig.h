// tregconfig: the configuration store. Each settings record is one file in
// the settings folder (see configfolder.h), named after the record
// ("CONFIGD5", "FTPCONFIG", ...) and holding exactly the record's bytes.
//
// Reading starts from the record's default image; a stored file no larger
// than the record is laid over its start (a shorter file keeps the defaults
// for the rest, so records can grow), while a missing, larger or unreadable
// file leaves the default image. Writing replaces the file atomically, so a
// crash or a full disk never leaves a torn record behind.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/configfolder.h"
#include "library/records.h"

namespace vantlo {

// One record that could not be written at close.
struct tregwritefailure {
  std::string record;   // "CONFIGD5", ...
  std::string message;  // the system's reason
};

class tregconfig {
 public:
  // The folder comes from the environment (VANTLO_CONFIG_DIR, XDG_CONFIG_HOME, HOME).
  tregconfig();
  explicit tregconfig(std::string folder);

  const std::string& Folder() const { return folder_; }
  std::string PathOf(std::string_view record) const;

  // Every operation creates the folder when it is missing; when that fails
  // it throws tregconfigerror("Registry open key failed").
  void ReadConfig(tconfigrecord& r);
  // Puts the store's own 8 reserved bytes at offset 2808 of `r` first.
  void WriteConfig(tconfigrecord& r);
  void ReadFtpConfig(tftpconfigrecord& r);
  void WriteFtpConfig(const tftpconfigrecord& r);
  void ReadAutoCapture(tautocapturerecord& r);
  void WriteAutoCapture(const tautocapturerecord& r);
  void ReadCapData(tcapdatarecord& r);
  void WriteCapData(const tcapdatarecord& r);
  void ReadExtra(textrarecord& r);
  void WriteExtra(const textrarecord& r);
  void ReadDiskMan(tdiskmanrecord& r);
  void WriteDiskMan(const tdiskmanrecord& r);
  void ReadContact(tcontactrecord& r);
  void WriteContact(const tcontactrecord& r);

  // All seven in the start-up order: "CONFIGD5", "FTPCONFIG",
  // "AUTOCAPTURE", "CAPDATA", "EXTRA", "DISKMAN", "CONTACTD5".
  void ReadAll(tsettingsrecords& records);
  // All seven in the shutdown order ("CONFIGD5", "CAPDATA", "FTPCONFIG",
  // "AUTOCAPTURE", "EXTRA", "DISKMAN", "CONTACTD5"). A record that fails
  // does not stop the others: every record is tried and the failures are
  // returned together (empty: all written).
  std::vector<tregwritefailure> WriteAll(tsettingsrecords& records);
  // One message for a list of failures, one line per record ("NAME: reason").
  static std::string DescribeFailures(const std::vector<tregwritefailure>& failures);

  // The raw operations behind the typed ones: `buffer` receives `defaults`
  // and then the stored bytes as described above.
  void ReadRecord(std::string_view record, std::span<std::uint8_t> buffer,
                  std::span<const std::uint8_t> defaults);
  void WriteRecord(std::string_view record, std::span<const std::uint8_t> bytes);

 private:
  void Open();

  std::string folder_;
  bool tighten_;  // the folder is our own default one, not a chosen override
  std::array<std::uint8_t, tconfigrecord::kReservedSize> reserved_{};
};

}  // namespace vantlo
