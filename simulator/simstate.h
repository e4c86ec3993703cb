// What the simulated camera knows and how it answers each command, without any I/O: the
// pictures, the selected picture, the folder it is in, line speed and block size, and the data
// waiting for a DC2. The serving thread (simcamera.cpp) feeds it complete commands.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "simulator/simcamera.h"
#include "simulator/simpictures.h"

namespace vantlo::camsim {

// How a command's arguments end: a fixed number of bytes, or a NUL (file and folder names).
struct ArgumentShape {
  bool known = false;
  int count = 0;  // fixed argument bytes; -1 = a name ending in NUL
};

struct Reply {
  bool refused = false;          // the camera stays silent (the client sees no checksum byte)
  std::vector<uint8_t> data;     // data bytes after the checksum
  std::function<void()> commit;  // state change made once the client has acknowledged
  bool switchesSpeed = false;    // the client changes its line speed right after this exchange
};

class SimState {
 public:
  explicit SimState(const Options& options);

  ArgumentShape Shape(char a, char b) const;
  // Answers a complete command (two letters and their arguments; names without the NUL).
  Reply Evaluate(const std::string& command);
  // Text for the command log: letters, then argument bytes in hex or the name.
  static std::string Describe(const std::string& command, const ArgumentShape& shape);

  // Data a DC2 starts sending, taken (and cleared) by the transfer.
  std::optional<Bytes> TakePending();
  bool HasPending() const { return pending_.has_value(); }

  // The state after the camera was switched on: 9600 baud, block size 128, nothing selected,
  // no data waiting, in the picture folder; the pictures stay.
  void PowerOn() { PowerOnState(); }

  int PictureCount() const { return static_cast<int>(pictures_.size()); }
  // A picture taken with the camera's own shutter button: the next picture of the family is
  // added after the others (nothing when the memory is full). Returns whether one was added.
  bool AddPicture();
  int Baud() const { return baud_; }
  int BlockSize() const { return block_; }

 private:
  Reply Classic(const std::string& c);
  Reply Extended(const std::string& c);
  Reply FileSystem(const std::string& c);
  std::optional<Reply> Common(const std::string& c);
  bool Valid(int n) const { return n >= 1 && n <= PictureCount(); }
  int ReportedCount() const;
  void Erase(int n);
  void PowerOnState();
  Bytes NameList(const std::vector<std::string>& names) const;
  std::vector<std::string> FolderFiles() const;

  Family family_;
  Faults faults_;
  long pictureBytes_;
  std::vector<SimPicture> pictures_;
  int nextSerial_ = 1;
  int baud_ = 9600;
  int block_ = 128;
  int current_ = 0;  // selected picture, 0 = none
  int depth_ = 2;    // file system: 0 top, 1 DCIM, 2 100CASIO, 3 PREVIEW
  std::optional<Bytes> pending_;
};

}  // namespace vantlo::camsim
