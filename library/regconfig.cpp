#include "library/regconfig.h"

#include <algorithm>
#include <cstdlib>

namespace vantlo {

namespace {

bool OverriddenByEnvironment() {
  const char* v = std::getenv("VANTLO_CONFIG_DIR");
  return v && *v;
}

template <typename R>
std::span<const std::uint8_t> DefaultsOf(const R&) {
  static const R defaults;
  return defaults.Bytes();
}

}  // namespace

tregconfig::tregconfig() : folder_(configfolder::Resolve()), tighten_(!OverriddenByEnvironment()) {}

tregconfig::tregconfig(std::string folder) : folder_(std::move(folder)), tighten_(false) {}

std::string tregconfig::PathOf(std::string_view record) const {
  std::string path = folder_;
  if (!path.empty() && path.back() != '/') path += '/';
  path += record;
  return path;
}

void tregconfig::Open() {
  if (!configfolder::EnsurePrivate(folder_, tighten_)) {
    throw tregconfigerror("Registry open key failed");
  }
}

void tregconfig::ReadRecord(std::string_view record, std::span<std::uint8_t> buffer,
                            std::span<const std::uint8_t> defaults) {
  std::fill(buffer.begin(), buffer.end(), 0);
  std::copy_n(defaults.begin(), std::min(defaults.size(), buffer.size()), buffer.begin());
  Open();
  const auto stored = configfolder::ReadBounded(PathOf(record), buffer.size());
  if (!stored) return;  // missing, unreadable or too large: defaults stand
  std::copy(stored->begin(), stored->end(), buffer.begin());
}

void tregconfig::WriteRecord(std::string_view record, std::span<const std::uint8_t> bytes) {
  Open();
  WriteFileAtomic(PathOf(record), bytes, configfolder::kSettingsFileMode);
}

void tregconfig::ReadConfig(tconfigrecord& r) {
  ReadRecord(tconfigrecord::Name, r.Bytes(), DefaultsOf(r));
  // Keep the reserved bytes as stored so they are written back as held.
  reserved_ = r.Reserved();
}

void tregconfig::WriteConfig(tconfigrecord& r) {
  r.SetReserved(reserved_);
  WriteRecord(tconfigrecord::Name, r.Bytes());
}

void tregconfig::ReadFtpConfig(tftpconfigrecord& r) {
  ReadRecord(tftpconfigrecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteFtpConfig(const tftpconfigrecord& r) {
  WriteRecord(tftpconfigrecord::Name, r.Bytes());
}
void tregconfig::ReadAutoCapture(tautocapturerecord& r) {
  ReadRecord(tautocapturerecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteAutoCapture(const tautocapturerecord& r) {
  WriteRecord(tautocapturerecord::Name, r.Bytes());
}
void tregconfig::ReadCapData(tcapdatarecord& r) {
  ReadRecord(tcapdatarecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteCapData(const tcapdatarecord& r) {
  WriteRecord(tcapdatarecord::Name, r.Bytes());
}
void tregconfig::ReadExtra(textrarecord& r) {
  ReadRecord(textrarecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteExtra(const textrarecord& r) { WriteRecord(textrarecord::Name, r.Bytes()); }
void tregconfig::ReadDiskMan(tdiskmanrecord& r) {
  ReadRecord(tdiskmanrecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteDiskMan(const tdiskmanrecord& r) {
  WriteRecord(tdiskmanrecord::Name, r.Bytes());
}
void tregconfig::ReadContact(tcontactrecord& r) {
  ReadRecord(tcontactrecord::Name, r.Bytes(), DefaultsOf(r));
}
void tregconfig::WriteContact(const tcontactrecord& r) {
  WriteRecord(tcontactrecord::Name, r.Bytes());
}

void tregconfig::ReadAll(tsettingsrecords& records) {
  ReadConfig(records.config);
  ReadFtpConfig(records.ftp);
  ReadAutoCapture(records.autocapture);
  ReadCapData(records.capdata);
  ReadExtra(records.extra);
  ReadDiskMan(records.diskman);
  ReadContact(records.contact);
}

std::vector<tregwritefailure> tregconfig::WriteAll(tsettingsrecords& records) {
  std::vector<tregwritefailure> failures;
  auto attempt = [&failures](const char* name, auto&& write) {
    try {
      write();
    } catch (const std::exception& e) {
      failures.push_back({name, e.what()});
    }
  };
  attempt(tconfigrecord::Name, [&] { WriteConfig(records.config); });
  attempt(tcapdatarecord::Name, [&] { WriteCapData(records.capdata); });
  attempt(tftpconfigrecord::Name, [&] { WriteFtpConfig(records.ftp); });
  attempt(tautocapturerecord::Name, [&] { WriteAutoCapture(records.autocapture); });
  attempt(textrarecord::Name, [&] { WriteExtra(records.extra); });
  attempt(tdiskmanrecord::Name, [&] { WriteDiskMan(records.diskman); });
  attempt(tcontactrecord::Name, [&] { WriteContact(records.contact); });
  return failures;
}

std::string tregconfig::DescribeFailures(const std::vector<tregwritefailure>& failures) {
  std::string text;
  for (const auto& f : failures) {
    if (!text.empty()) text += '\n';
    text += f.record + ": " + f.message;
  }
  return text;
}

}  // namespace vantlo
