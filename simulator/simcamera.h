// Simulated Casio QV camera on a pseudo-terminal.
//
// The simulator opens a pty, keeps its own slave descriptor open (so a client may close and reopen
// the port, as the engine does on every speed change, without the pty hanging up) and answers the
// camera link protocol on a background thread as a classic, extended or file-system camera. It is
// the fixture for the camera tests, the demo camera of `vantlo --simulate` and of `vantlo-cli
// --simulate`, and the device the link benchmark measures against.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vantlo::camsim {

enum class Family { classic, extended, filesystem };

// Faults injected on request. Defaults describe a healthy camera.
struct Faults {
  int nakEnquiries = 0;             // NAK the first k enquiries; -1 = all
  bool badCommandChecksum = false;  // answer every command with a wrong checksum byte
  int badPackets = 0;  // the first k data packets sent are damaged (a resend after NAK counts)
  enum class PacketFault { checksum, shortPacket, overlong } packetFault = PacketFault::checksum;
  long silenceAfterBytes = -1;  // stop sending after this many bytes in total; -1 = never
  int batteryByte = -1;    // answer to "RB" (classic, volts x 16) or "BC" (extended); -1 = healthy
  bool playMode = false;   // "DR" answers NAK (camera not in record mode)
  int countOverride = -1;  // picture count reported by "MP"/"XP" instead of the real one
  int switchOffAfterTransfers = -1;  // switched off once this many transfers are complete

  // A hostile camera.
  bool garbageAnswers = false;  // replies carry random data bytes (their checksums right), and a
                                // DC2 starts a burst of random bytes instead of packets
  int strayBytes = 0;           // every reply is followed by this many stray random bytes
  bool endlessStream = false;   // a DC2 starts an endless slow stream of random bytes
  // What goes wrong in every transfer: the end packet comes at once (no data), a data packet is
  // left out (the second one, or the only one), or the last data packet carries 49 bytes more.
  enum class TransferFault {
    none,
    endsAtOnce,
    packetMissing,
    lastPacketLonger
  } transferFault = TransferFault::none;
};

struct Options {
  Family family = Family::classic;
  int count = 5;            // pictures held at start
  std::string picturesDir;  // JPEG files to load as the pictures (empty: generated pictures)
  bool realtime = false;    // pace every byte at the line speed (10 bits per byte)
  int latencyMs = 0;        // USB-serial latency timer: the tail of each burst waits this long
  Faults faults;
  std::string link;       // symbolic link made to the device path (removed at Stop)
  long pictureBytes = 0;  // if > 0: every generated raw picture has exactly this many bytes
  std::vector<int> protectedPictures;  // classic: numbers of the pictures marked protected
  // The USB storage side of webcam mode (simulator/simusbstorage.h): a folder standing for the
  // camera's drive, holding DCIM/100CASIO while mounted. The key-command letters "M" "m" (mount
  // or unmount) and "A" "a" "B" "b" (take a picture) sent at 9600 baud drive it. Empty: no USB
  // storage, and those letters are noise as before.
  std::string usbStorageDir;
  int usbDelayMs = 0;  // how long after its "m" a mount or unmount takes effect
};

// Counters of what crossed the simulated line, for the link benchmark.
struct LineStats {
  long bytesIn = 0;            // bytes received from the client and accepted (not noise)
  long bytesOut = 0;           // bytes sent to the client
  double lineSeconds = 0;      // line time of all those bytes at the speed each was sent at
  double latencySeconds = 0;   // what the adapter's latency timer added to the bytes sent
  int enquiries = 0;           // ENQ bytes answered
  int commands = 0;            // commands answered
  long commandBytes = 0;       // letters and argument bytes of all commands answered
  int transfers = 0;           // DC2-started packet transfers
  int packets = 0;             // packets sent (resends and end packets included)
  long noiseBytes = 0;         // bytes ignored because the client was at another line speed
  long transferBytes = 0;      // payload of the transfers completed (end packet acknowledged)
  double transferSeconds = 0;  // their time from the DC2 to the ACK of the end packet
};

class SimulatedCamera {
 public:
  explicit SimulatedCamera(Options options);
  ~SimulatedCamera();
  SimulatedCamera(const SimulatedCamera&) = delete;
  SimulatedCamera& operator=(const SimulatedCamera&) = delete;

  // The pty slave path clients open, e.g. "/dev/pts/7". Valid from construction.
  const std::string& DevicePath() const;
  // Starts serving on a background thread; drains stale input first. Throws on failure.
  void Start();
  // Stops the thread and removes the link; the device stays open until destruction.
  void Stop();

  // A switched-off camera hears and says nothing. Switched on again it starts as after power-up:
  // 9600 baud, block size 128, nothing selected, in its picture folder; its pictures stay.
  void SwitchOff();
  void SwitchOn();
  // Pulling the camera's cable is to the link what switching the camera off is: nothing is heard
  // or answered until it is plugged in again, when it starts as after power-up (9600 baud, block
  // size 128) with its pictures.
  void Unplug() { SwitchOff(); }
  void Plug() { SwitchOn(); }
  bool PluggedIn() const;
  // Pictures taken with the camera's own shutter button while it runs, added after the others
  // (file-system cameras: every fourth is a movie). Returns how many were added (fewer when the
  // memory is full).
  int TakePictures(int count = 1);

  int PictureCount() const;
  int BaudRate() const;   // the camera's current line speed
  int BlockSize() const;  // the camera's current block size
  // One entry per command: the letters, then the argument bytes in hex or the name, e.g. "MP",
  // "DA 03", "PP 10 00", "ZG CIMG0001.JPG"; commands not answered carry " (unknown)",
  // " (refused)", " (incomplete)" or " (no ACK)".
  std::vector<std::string> CommandLog() const;
  LineStats Stats() const;
  void ResetStats();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vantlo::camsim
