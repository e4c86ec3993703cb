#include "simulator/simcamera.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "simulator/linepacer.h"
#include "simulator/ptyline.h"
#include "simulator/simframing.h"
#include "simulator/simpictures.h"
#include "simulator/simstate.h"
#include "simulator/simusbstorage.h"

namespace vantlo::camsim {

namespace {

constexpr int kIdlePollMs = 50;
// A command's bytes come 2 ms apart; a gap this long means the client gave up on it.
constexpr int kCommandByteTimeoutMs = 1500;
// Client's answer after a checksum byte or a packet. Long enough to outlast the client's own read
// time-out on a short packet (up to 3000 ms plus a millisecond per byte).
constexpr int kAnswerTimeoutMs = 10000;
constexpr int kMaxNameBytes = 64;
constexpr int kMaxResends = 10;
// The camera's keys take their letters at this speed, whatever speed the link was left at.
constexpr int kKeyBaud = 9600;

// The camera's pictures as its USB drive shows them: the JPEG files of the pictures folder, or
// the test scenes of the generated pictures.
std::vector<Bytes> UsbPictures(const Options& options, int count) {
  std::vector<Bytes> out;
  if (!options.picturesDir.empty()) {
    for (auto& p : LoadPictures(Family::filesystem, options.picturesDir)) {
      if (static_cast<int>(out.size()) >= count) break;
      out.push_back(std::move(p.data));
    }
    return out;
  }
  for (int i = 1; i <= count; ++i) out.push_back(UsbPictureJpeg(i));
  return out;
}

}  // namespace

class SimulatedCamera::Impl {
 public:
  explicit Impl(Options options)
      : options_(std::move(options)),
        pacer_(options_.realtime, options_.latencyMs),
        state_(options_),
        naksLeft_(options_.faults.nakEnquiries),
        badPacketsLeft_(options_.faults.badPackets) {
    if (!options_.usbStorageDir.empty())
      usb_ = std::make_unique<UsbStorage>(options_.usbStorageDir,
                                          UsbPictures(options_, state_.PictureCount()),
                                          options_.usbDelayMs);
  }

  ~Impl() { Stop(); }

  void Start() {
    if (thread_.joinable()) return;
    line_.DrainInput();
    if (!options_.link.empty()) {
      std::error_code ec;
      if (std::filesystem::is_symlink(options_.link, ec))
        std::filesystem::remove(options_.link, ec);
      std::filesystem::create_symlink(line_.SlavePath(), options_.link);  // throws on failure
      linked_ = true;
    }
    stop_ = false;
    thread_ = std::thread([this] { Serve(); });
  }

  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (linked_) {
      std::error_code ec;
      std::filesystem::remove(options_.link, ec);
      linked_ = false;
    }
  }

  const std::string& DevicePath() const { return line_.SlavePath(); }

  int PictureCount() const {
    std::lock_guard lock(mu_);
    return state_.PictureCount();
  }
  int BaudRate() const {
    std::lock_guard lock(mu_);
    return state_.Baud();
  }
  int BlockSize() const {
    std::lock_guard lock(mu_);
    return state_.BlockSize();
  }
  std::vector<std::string> CommandLog() const {
    std::lock_guard lock(mu_);
    return log_;
  }
  LineStats Stats() const {
    std::lock_guard lock(mu_);
    return stats_;
  }
  void ResetStats() {
    std::lock_guard lock(mu_);
    stats_ = {};
  }

  void SwitchOff() { switchedOff_ = true; }
  bool SwitchedOn() const { return !switchedOff_ || switchOnPending_; }
  int TakePictures(int count) {
    int added = 0;
    {
      std::lock_guard lock(mu_);
      while (added < count && state_.AddPicture()) ++added;
    }
    if (usb_)
      for (int i = 0; i < added; ++i) UsbAction([this] { usb_->TakePicture(); });
    return added;
  }
  // Returns once the serving thread has switched the camera on.
  void SwitchOn() {
    switchOnPending_ = true;
    while (switchOnPending_ && thread_.joinable() && !stop_)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

 private:
  // Power state changes are made by the serving thread, between exchanges.
  void FollowPowerSwitch() {
    if (!switchOnPending_) return;
    {
      std::lock_guard lock(mu_);
      state_.PowerOn();
      pacer_.SetBaud(state_.Baud());
    }
    // What was sent to the camera while it was off never reached it.
    line_.DrainInput();
    input_.clear();
    unjudged_.clear();
    switchedOff_ = false;
    switchOnPending_ = false;
  }

  void Serve() {
    bool enquired = false;
    while (!stop_) {
      FollowPowerSwitch();
      if (usb_) UsbAction([this] { usb_->Poll(); });
      int b = ReadByte(kIdlePollMs);
      if (b < 0) continue;
      if (switchedOff_) {
        enquired = false;  // nobody there to hear it
        continue;
      }
      if (b == kEnq) {
        enquired = Enquiry();
      } else if (b == kDc2 && HasPending()) {
        enquired = false;
        Transfer();
      } else if (enquired && std::isalpha(b)) {
        enquired = false;
        Command(static_cast<char>(b));
      } else if (usb_ && std::isalpha(b)) {
        enquired = false;
        KeyLetter(static_cast<char>(b));
      } else {
        enquired = false;  // noise
      }
    }
  }

  // A key-command letter for the USB storage; the shutter sequence also takes a picture into the
  // camera's memory.
  void KeyLetter(char letter) {
    UsbAction([this, letter] {
      if (usb_->Key(letter) != UsbStorage::KeyEvent::shutter) return;
      std::lock_guard lock(mu_);
      state_.AddPicture();
    });
  }

  // The drive's folder may fail under the simulator (removed, full disk); the camera goes on
  // serving and says so in its log.
  template <typename F>
  void UsbAction(F action) {
    try {
      action();
    } catch (const std::exception& e) {
      Log(std::string("USB storage: ") + e.what());
    }
  }

  bool HasPending() {
    std::lock_guard lock(mu_);
    return state_.HasPending();
  }

  // Answers ENQ with ACK, or NAK while the fault asks for it. True when acknowledged.
  bool Enquiry() {
    {
      std::lock_guard lock(mu_);
      ++stats_.enquiries;
    }
    if (naksLeft_ != 0) {
      if (naksLeft_ > 0) --naksLeft_;
      Send({kNak});
      return false;
    }
    Send({kAck});
    return true;
  }

  void Command(char first) {
    std::string command(1, first);
    int second = ReadByte(kCommandByteTimeoutMs);
    if (second < 0) return Log(command + " (incomplete)");
    command.push_back(static_cast<char>(second));
    ArgumentShape shape;
    {
      std::lock_guard lock(mu_);
      shape = state_.Shape(command[0], command[1]);
    }
    if (!shape.known) return Log(command + " (unknown)");  // a real camera stays silent
    if (!ReadArguments(command, shape))
      return Log(SimState::Describe(command, shape) + " (incomplete)");

    std::string text = SimState::Describe(command, shape);
    Reply reply;
    {
      std::lock_guard lock(mu_);
      reply = state_.Evaluate(command);
    }
    if (reply.refused) return Log(text + " (refused)");

    // The checksum covers the letters and the argument bytes, the name's NUL included.
    std::string wire = command;
    if (shape.count < 0) wire.push_back('\0');
    uint8_t sum = Checksum(reinterpret_cast<const uint8_t*>(wire.data()), wire.size());
    if (options_.faults.badCommandChecksum) sum = static_cast<uint8_t>(sum ^ 0x5A);
    Send({sum});
    // After a speed change or a reset the client switches its port straight after this ACK,
    // possibly before it has been read here, so the ACK is taken at either speed.
    int ack = ReadByte(kAnswerTimeoutMs, reply.switchesSpeed);
    if (ack != kAck) return Log(text + " (no ACK)");
    if (options_.faults.garbageAnswers) reply.data = Noise(reply.data.size());
    Send(reply.data);
    if (options_.faults.strayBytes > 0)
      Send(Noise(static_cast<size_t>(options_.faults.strayBytes)));
    {
      std::lock_guard lock(mu_);
      if (reply.commit) reply.commit();
      pacer_.SetBaud(state_.Baud());
      ++stats_.commands;
      stats_.commandBytes += static_cast<long>(wire.size());
      log_.push_back(text);
    }
  }

  bool ReadArguments(std::string& command, const ArgumentShape& shape) {
    if (shape.count >= 0) {
      for (int i = 0; i < shape.count; ++i) {
        int b = ReadByte(kCommandByteTimeoutMs);
        if (b < 0) return false;
        command.push_back(static_cast<char>(b));
      }
      return true;
    }
    for (int i = 0; i <= kMaxNameBytes; ++i) {
      int b = ReadByte(kCommandByteTimeoutMs);
      if (b < 0) return false;
      if (b == 0) return true;
      command.push_back(static_cast<char>(b));
    }
    return false;  // a name longer than any camera file name
  }

  void Transfer() {
    std::optional<Bytes> data;
    int block;
    {
      std::lock_guard lock(mu_);
      data = state_.TakePending();
      block = state_.BlockSize();
      ++stats_.transfers;
    }
    if (!data) return;
    if (options_.faults.garbageAnswers) return Send(Noise(3000));
    if (options_.faults.endlessStream) return EndlessStream();
    using TransferFault = Faults::TransferFault;
    const TransferFault fault = options_.faults.transferFault;
    if (fault == TransferFault::endsAtOnce) data->clear();
    auto started = std::chrono::steady_clock::now();
    size_t offset = 0;
    for (int index = 0;; ++index) {
      size_t n = std::min(static_cast<size_t>(block), data->size() - offset);
      const bool last = n > 0 && offset + n == data->size();
      if (fault == TransferFault::packetMissing && n > 0 && (index == 1 || (index == 0 && last))) {
        offset += n;  // this packet is never sent
        continue;
      }
      Bytes payload(data->begin() + static_cast<long>(offset),
                    data->begin() + static_cast<long>(offset + n));
      if (fault == TransferFault::lastPacketLonger && last) {
        const Bytes extra = Noise(49);
        payload.insert(payload.end(), extra.begin(), extra.end());
      }
      Bytes packet = MakePacket(payload.data(), payload.size());
      bool delivered = false;
      for (int attempt = 0; attempt <= kMaxResends && !delivered; ++attempt) {
        Send(n > 0 ? Damaged(packet, block) : packet);
        {
          std::lock_guard lock(mu_);
          ++stats_.packets;
        }
        int answer = ReadByte(kAnswerTimeoutMs);
        if (answer == kAck)
          delivered = true;
        else if (answer != kNak)
          return;  // client gone or confused: end of transfer
      }
      if (!delivered) return;
      if (n == 0) {
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        std::lock_guard lock(mu_);
        stats_.transferBytes += static_cast<long>(data->size());
        stats_.transferSeconds += took.count();
        if (++transfersDone_ == options_.faults.switchOffAfterTransfers) switchedOff_ = true;
        return;
      }
      offset += n;
    }
  }

  // Random bytes, different on every call.
  Bytes Noise(size_t count) {
    Bytes out(count);
    for (auto& b : out) {
      noiseSeed_ = noiseSeed_ * 1103515245u + 12345u;
      b = static_cast<uint8_t>(noiseSeed_ >> 16);
    }
    return out;
  }

  // One random byte every few milliseconds, until the camera is stopped or switched off: fast
  // enough that the line never falls quiet, too slow to be a transfer.
  void EndlessStream() {
    while (!stop_ && !switchedOff_ && !switchOnPending_) {
      Send(Noise(1));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // Applies the packet fault to the next k data packets sent.
  Bytes Damaged(const Bytes& packet, int block) {
    if (badPacketsLeft_ <= 0) return packet;
    --badPacketsLeft_;
    Bytes p = packet;
    switch (options_.faults.packetFault) {
      case Faults::PacketFault::checksum:
        p.back() = static_cast<uint8_t>(~p.back());
        break;
      case Faults::PacketFault::shortPacket:
        p.resize(p.size() - 2);
        break;
      case Faults::PacketFault::overlong: {
        int declared = std::min(block + 1 + (static_cast<int>(p.size()) - 5), 0xFFFF);
        p[1] = static_cast<uint8_t>(declared >> 8);
        p[2] = static_cast<uint8_t>(declared & 0xFF);
        break;
      }
    }
    return p;
  }

  // Next byte from the client, -1 after timeoutMs or at Stop. Bytes that arrive while the client's
  // line speed differs from the camera's are noise, as on a real line, unless anySpeed is set.
  int ReadByte(int timeoutMs, bool anySpeed = false) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (input_.empty() && !unjudged_.empty()) {
      // Bytes that came with an any-speed byte are judged now, at the speed then in force.
      Accept(Bytes(unjudged_.begin(), unjudged_.end()), false);
      unjudged_.clear();
    }
    while (input_.empty()) {
      if (stop_) return -1;
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      deadline - std::chrono::steady_clock::now())
                      .count();
      if (left <= 0) return -1;
      uint8_t buffer[4096];
      size_t n =
          line_.Read(buffer, sizeof buffer, static_cast<int>(std::min<long>(left, kIdlePollMs)));
      if (n == 0) continue;
      if (anySpeed) {
        // Only the byte asked for is exempt; what follows it may already be at the new speed.
        unjudged_.insert(unjudged_.end(), buffer + 1, buffer + n);
        n = 1;
      }
      Accept(Bytes(buffer, buffer + n), anySpeed);
    }
    int b = input_.front();
    input_.pop_front();
    return b;
  }

  void Accept(const Bytes& bytes, bool anySpeed) {
    int cameraBaud;
    {
      std::lock_guard lock(mu_);
      cameraBaud = state_.Baud();
    }
    if (!anySpeed && line_.ClientBaud() != cameraBaud) {
      {
        std::lock_guard lock(mu_);
        stats_.noiseBytes += static_cast<long>(bytes.size());
      }
      // Noise to the link, but the keys still hear their letters at their own speed.
      if (usb_ && !switchedOff_ && line_.ClientBaud() == kKeyBaud)
        for (uint8_t b : bytes)
          if (std::isalpha(b)) KeyLetter(static_cast<char>(b));
      return;
    }
    pacer_.Received(bytes.size(), stop_);
    {
      std::lock_guard lock(mu_);
      stats_.bytesIn += static_cast<long>(bytes.size());
      stats_.lineSeconds += static_cast<double>(bytes.size()) * 10.0 / cameraBaud;
    }
    input_.insert(input_.end(), bytes.begin(), bytes.end());
  }

  void Send(const Bytes& bytes) {
    if (bytes.empty()) return;
    size_t count = bytes.size();
    long limit = options_.faults.silenceAfterBytes;
    if (limit >= 0) {
      long left = std::max(0L, limit - sent_);
      count = std::min(count, static_cast<size_t>(left));
    }
    sent_ += static_cast<long>(count);
    if (count == 0) return;
    int baud;
    {
      std::lock_guard lock(mu_);
      baud = state_.Baud();
      stats_.bytesOut += static_cast<long>(count);
      stats_.lineSeconds += static_cast<double>(count) * 10.0 / baud;
    }
    int latencyMs = 0;
    pacer_.Send(
        bytes.data(), count,
        [this](const uint8_t* p, size_t n) { return line_.Write(p, n, stop_); }, stop_, &latencyMs);
    if (latencyMs > 0) {
      std::lock_guard lock(mu_);
      stats_.latencySeconds += latencyMs / 1000.0;
    }
  }

  void Log(const std::string& text) {
    std::lock_guard lock(mu_);
    log_.push_back(text);
  }

  Options options_;
  PtyLine line_;
  LinePacer pacer_;
  mutable std::mutex mu_;  // guards state_, log_ and stats_ against the accessors
  SimState state_;
  std::vector<std::string> log_;
  LineStats stats_;
  int naksLeft_;
  int badPacketsLeft_;
  uint32_t noiseSeed_ = 20240601u;
  int transfersDone_ = 0;
  long sent_ = 0;
  std::deque<uint8_t> input_;     // bytes accepted, not yet consumed
  std::deque<uint8_t> unjudged_;  // bytes read with an any-speed byte, judged at the next read
  std::atomic<bool> stop_{false};
  std::atomic<bool> switchedOff_{false};
  std::atomic<bool> switchOnPending_{false};
  std::thread thread_;
  bool linked_ = false;
  std::unique_ptr<UsbStorage> usb_;  // with Options::usbStorageDir; guarded by its own lock
};

SimulatedCamera::SimulatedCamera(Options options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}
SimulatedCamera::~SimulatedCamera() = default;
const std::string& SimulatedCamera::DevicePath() const { return impl_->DevicePath(); }
void SimulatedCamera::Start() { impl_->Start(); }
void SimulatedCamera::Stop() { impl_->Stop(); }
void SimulatedCamera::SwitchOff() { impl_->SwitchOff(); }
void SimulatedCamera::SwitchOn() { impl_->SwitchOn(); }
bool SimulatedCamera::PluggedIn() const { return impl_->SwitchedOn(); }
int SimulatedCamera::TakePictures(int count) { return impl_->TakePictures(count); }
int SimulatedCamera::PictureCount() const { return impl_->PictureCount(); }
int SimulatedCamera::BaudRate() const { return impl_->BaudRate(); }
int SimulatedCamera::BlockSize() const { return impl_->BlockSize(); }
std::vector<std::string> SimulatedCamera::CommandLog() const { return impl_->CommandLog(); }
LineStats SimulatedCamera::Stats() const { return impl_->Stats(); }
void SimulatedCamera::ResetStats() { impl_->ResetStats(); }

}  // namespace vantlo::camsim
