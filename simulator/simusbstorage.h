// The simulated camera's USB storage side, as webcam mode sees it: a folder that stands for the
// camera's drive. Mounted, it holds DCIM/100CASIO/CIMG0001.JPG, CIMG0002.JPG, ...; unmounted, DCIM
// is gone and the pictures wait inside the camera. Key-command letters sent on the serial line
// drive it: "M" then "m" mounts or unmounts the drive, "A", "a", "B", "b" (shutter half press, full
// press, release of both) takes a picture. No I/O other than the folder, so it is tested alone; the
// serving thread of simcamera.cpp feeds it the letters it hears.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vantlo::camsim {

// A 640 x 480 JPEG of the simulator's test scene number `serial`, the picture the USB storage
// shows for the camera's picture of that number.
std::vector<uint8_t> UsbPictureJpeg(int serial);

class UsbStorage {
 public:
  using Clock = std::chrono::steady_clock;
  using Bytes = std::vector<uint8_t>;

  // What a key letter completed.
  enum class KeyEvent { none, toggle, shutter };

  // Starts mounted: dir/DCIM is made afresh (what was left there before is removed) and holds
  // 100CASIO with `pictures` as CIMG0001.JPG, CIMG0002.JPG, ... A mount or unmount takes effect
  // `delayMs` after its sequence is complete (see Poll). Throws std::filesystem::filesystem_error
  // when the folder cannot be made.
  UsbStorage(std::filesystem::path dir, const std::vector<Bytes>& pictures, int delayMs = 0);
  UsbStorage(const UsbStorage&) = delete;
  UsbStorage& operator=(const UsbStorage&) = delete;

  // One letter heard on the line. A letter that does not continue the sequence under way drops
  // it; it starts a new one if it is "M" or "A". A completed "M" "m" toggles the drive (at once
  // with no delay, else when Poll finds it due); a completed "A" "a" "B" "b" takes a picture.
  KeyEvent Key(char letter, Clock::time_point now = Clock::now());
  // Carries out the mounts and unmounts whose delay has passed.
  void Poll(Clock::time_point now = Clock::now());

  // A picture taken by the camera: CIMG%04d.JPG numbered one above the highest present (mounted)
  // or remembered (unmounted); written at once when mounted, else on the next mount. Returns
  // its number.
  int TakePicture();
  int TakePicture(const Bytes& jpeg);

  bool Mounted() const;
  // Mounts and unmounts whose sequence is complete but whose delay has not passed.
  int PendingToggles() const;
  // Pictures the camera holds while unmounted (empty while mounted: the folder is the truth).
  int RememberedCount() const;
  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path PictureFolder() const { return dir_ / "DCIM" / "100CASIO"; }

 private:
  void ToggleLocked();
  void UnmountLocked();
  void MountLocked();
  int HighestNumberLocked() const;
  int TakeLocked(const Bytes& jpeg);
  // Writes bytes to `target` through a temporary name in dir_ and a rename, so that a reader of
  // the picture folder never sees part of a file.
  void WriteAtomically(const std::filesystem::path& target, const Bytes& data);

  const std::filesystem::path dir_;
  const std::chrono::milliseconds delay_;
  mutable std::mutex mu_;  // the serving thread and the tests' thread both call in
  bool mounted_ = false;
  std::map<std::string, Bytes> remembered_;  // file name -> bytes, while unmounted
  std::string sequence_;                     // letters of the key sequence under way
  std::deque<Clock::time_point> toggles_;    // when each pending mount/unmount is due
  unsigned tempSerial_ = 0;
};

}  // namespace vantlo::camsim
