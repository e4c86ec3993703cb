#include "simulator/simusbstorage.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "picture/bitmap.h"
#include "picture/rawencoder.h"
#include "simulator/simjpeg.h"

namespace vantlo::camsim {

namespace fs = std::filesystem;

namespace {

constexpr const char* kToggleKeys = "Mm";
constexpr const char* kShutterKeys = "AaBb";
constexpr int kMaxNumber = 9999;  // CIMG%04d has four digits
constexpr const char* kStagingName = ".DCIM.mount";

std::string PictureName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "CIMG%04d.JPG", number);
  return name;
}

// The number of a "CIMGnnnn.JPG" name (any case), 0 for any other name.
int PictureNumber(const std::string& name) {
  if (name.size() != 12) return 0;
  auto upper = [](unsigned char c) { return static_cast<char>(std::toupper(c)); };
  std::string u;
  std::transform(name.begin(), name.end(), std::back_inserter(u), upper);
  if (u.compare(0, 4, "CIMG") != 0 || u.compare(8, 4, ".JPG") != 0) return 0;
  int n = 0;
  for (size_t i = 4; i < 8; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(u[i]))) return 0;
    n = n * 10 + (u[i] - '0');
  }
  return n;
}

bool ReadWhole(const fs::path& path, UsbStorage::Bytes& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

void WriteWhole(const fs::path& path, const UsbStorage::Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Removes a folder as an unmount makes a drive's contents vanish: every file first, then the
// folders, deepest first. What cannot be removed is left.
void RemoveFilesThenFolders(const fs::path& root) {
  std::error_code ec;
  if (!fs::exists(root, ec)) return;
  std::vector<fs::path> folders{root};
  std::vector<fs::path> files;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      folders.push_back(it->path());
    else
      files.push_back(it->path());
  }
  for (const auto& f : files) fs::remove(f, ec);
  std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
    return std::distance(a.begin(), a.end()) > std::distance(b.begin(), b.end());
  });
  for (const auto& d : folders) fs::remove(d, ec);
}

}  // namespace

std::vector<uint8_t> UsbPictureJpeg(int serial) {
  constexpr int kWidth = 640, kHeight = 480;
  tbitmap scene = MakeTestPicture(kWidth, kHeight, serial);
  const std::vector<uint8_t>& bgr = scene.Bytes();
  std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
  for (size_t i = 0; i + 2 < rgb.size() && i + 2 < bgr.size(); i += 3) {
    rgb[i] = bgr[i + 2];
    rgb[i + 1] = bgr[i + 1];
    rgb[i + 2] = bgr[i];
  }
  return EncodeJpeg(rgb, kWidth, kHeight, 85);
}

UsbStorage::UsbStorage(fs::path dir, const std::vector<Bytes>& pictures, int delayMs)
    : dir_(std::move(dir)), delay_(std::max(0, delayMs)) {
  fs::create_directories(dir_);
  // A fresh start: what an earlier run left in the drive is not in this camera.
  fs::remove_all(dir_ / "DCIM");
  int number = 0;
  for (const auto& p : pictures) {
    if (++number > kMaxNumber) break;
    remembered_[PictureName(number)] = p;
  }
  std::lock_guard lock(mu_);
  MountLocked();
  if (!fs::is_directory(PictureFolder()))
    throw fs::filesystem_error("cannot make the picture folder", PictureFolder(),
                               std::make_error_code(std::errc::io_error));
}

UsbStorage::KeyEvent UsbStorage::Key(char letter, Clock::time_point now) {
  std::lock_guard lock(mu_);
  const std::string toggle = kToggleKeys, shutter = kShutterKeys;
  sequence_.push_back(letter);
  if (!toggle.starts_with(sequence_) && !shutter.starts_with(sequence_)) {
    // Out of order: the sequence under way is dropped; the letter may begin a new one.
    sequence_.clear();
    if (letter == toggle[0] || letter == shutter[0]) sequence_.push_back(letter);
    return KeyEvent::none;
  }
  if (sequence_ == toggle) {
    sequence_.clear();
    if (delay_.count() == 0 && toggles_.empty())
      ToggleLocked();
    else
      toggles_.push_back(now + delay_);
    return KeyEvent::toggle;
  }
  if (sequence_ == shutter) {
    sequence_.clear();
    TakeLocked(UsbPictureJpeg(HighestNumberLocked() + 1));
    return KeyEvent::shutter;
  }
  return KeyEvent::none;
}

void UsbStorage::Poll(Clock::time_point now) {
  std::lock_guard lock(mu_);
  while (!toggles_.empty() && toggles_.front() <= now) {
    toggles_.pop_front();
    ToggleLocked();
  }
}

int UsbStorage::TakePicture() {
  std::lock_guard lock(mu_);
  return TakeLocked(UsbPictureJpeg(HighestNumberLocked() + 1));
}

int UsbStorage::TakePicture(const Bytes& jpeg) {
  std::lock_guard lock(mu_);
  return TakeLocked(jpeg);
}

bool UsbStorage::Mounted() const {
  std::lock_guard lock(mu_);
  return mounted_;
}

int UsbStorage::PendingToggles() const {
  std::lock_guard lock(mu_);
  return static_cast<int>(toggles_.size());
}

int UsbStorage::RememberedCount() const {
  std::lock_guard lock(mu_);
  return static_cast<int>(remembered_.size());
}

void UsbStorage::ToggleLocked() {
  if (mounted_)
    UnmountLocked();
  else
    MountLocked();
}

// The pictures stay in the camera: the files the folder holds now are remembered before DCIM goes.
// What the host deleted while mounted is not among them, so it is gone for good.
void UsbStorage::UnmountLocked() {
  remembered_.clear();
  std::error_code ec;
  for (fs::directory_iterator it(PictureFolder(), ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    Bytes data;
    if (ReadWhole(it->path(), data)) remembered_[it->path().filename().string()] = std::move(data);
  }
  RemoveFilesThenFolders(dir_ / "DCIM");
  mounted_ = false;
}

// DCIM/100CASIO is built under a hidden name beside it and renamed into place, so a reader sees
// the drive's folder appear with all its files. If a DCIM is already there, the files are added to
// it one by one.
void UsbStorage::MountLocked() {
  const fs::path staging = dir_ / kStagingName;
  const fs::path dcim = dir_ / "DCIM";
  std::error_code ec;
  fs::remove_all(staging, ec);
  bool placed = false;
  if (!fs::exists(dcim, ec) && fs::create_directories(staging / "100CASIO", ec)) {
    for (const auto& [name, data] : remembered_) WriteWhole(staging / "100CASIO" / name, data);
    fs::rename(staging, dcim, ec);
    placed = !ec;
  }
  fs::remove_all(staging, ec);
  if (!placed) {
    fs::create_directories(PictureFolder());
    for (const auto& [name, data] : remembered_)
      if (!fs::exists(PictureFolder() / name, ec)) WriteAtomically(PictureFolder() / name, data);
  }
  remembered_.clear();
  mounted_ = true;
}

int UsbStorage::HighestNumberLocked() const {
  int highest = 0;
  if (mounted_) {
    std::error_code ec;
    for (fs::directory_iterator it(PictureFolder(), ec), end; !ec && it != end; it.increment(ec))
      highest = std::max(highest, PictureNumber(it->path().filename().string()));
  } else {
    for (const auto& entry : remembered_) highest = std::max(highest, PictureNumber(entry.first));
  }
  return highest;
}

int UsbStorage::TakeLocked(const Bytes& jpeg) {
  const int number = HighestNumberLocked() + 1;
  if (number > kMaxNumber) return 0;  // no name left: the memory counts as full
  const std::string name = PictureName(number);
  if (mounted_) {
    fs::create_directories(PictureFolder());
    WriteAtomically(PictureFolder() / name, jpeg);
  } else {
    remembered_[name] = jpeg;
  }
  return number;
}

void UsbStorage::WriteAtomically(const fs::path& target, const Bytes& data) {
  // The temporary file lives in dir_, outside DCIM, on the same file system as the target.
  const fs::path temp = dir_ / (".usb-write-" + std::to_string(++tempSerial_) + ".part");
  try {
    WriteWhole(temp, data);
    fs::rename(temp, target);
  } catch (...) {
    std::error_code ec;
    fs::remove(temp, ec);
    throw;
  }
}

}  // namespace vantlo::camsim
