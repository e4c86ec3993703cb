// The link layer of tqvProtocolEngine: handshake, command exchange, speed,
// block size, packet transfer, reset and the port-level operations.
#include <algorithm>
#include <stdexcept>

#include "camera/qv10detail.h"
#include "camera/qv10int.h"

namespace vantlo {

std::uint8_t SpeedCodeOfIndex(std::uint8_t baudIndex) {
  switch (baudIndex) {
    case 6:
      return 0x2E;
    case 8:
      return 0x16;
    case 9:
      return 0x0B;
    case 11:
      return 0x07;
    case 12:
      return 0x03;
    default:
      return 0;
  }
}

std::uint8_t BaudIndexOfSpeedChoice(int position) {
  static const std::uint8_t kIndices[] = {9, 6, 8, 9, 11, 12};
  return (position >= 0 && position < 6) ? kIndices[position] : kDefaultSpeedIndex;
}

namespace {

std::string ShortPortName(const std::string& name) {
  // COM names keep their first five characters ("COM2:"); a device path is
  // kept whole, since cutting it would name another file.
  if (name.size() >= 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "com") == 0) &&
      name[3] >= '1' && name[3] <= '8') {
    std::string s = name.substr(0, 5);
    if (s.size() == 4) s += ':';
    return s;
  }
  return name;
}

}  // namespace

tqvProtocolEngine::tqvProtocolEngine(const std::string& portName, int /*speed*/, bool irda,
                                     twaiter* waiter, const tclock* clock)
    : waiter_(waiter ? waiter : &trealwaiter::Instance()),
      clock_(clock ? clock : &tsteadyclock::Instance()),
      irdaMode_(irda) {
  portName_ = ShortPortName(portName);
  tcommparams params = DefaultCommParams();
  params.PortName = portName_;
  params.ReadTimeout = 3000;
  params.WriteTimeout = 2000;
  port_ = std::make_unique<tcomport>(params, waiter_);
  port_->SetIrdaMode(irdaMode_);
  port_->Open();
}

tqvProtocolEngine::~tqvProtocolEngine() = default;

void tqvProtocolEngine::ForgetConnection() noexcept {
  currentSpeed_ = kDefaultSpeed;
  try {
    SetPortSpeed(kDefaultSpeed);
  } catch (...) {
    // Reopening is best effort: the next CheckCamera reports a dead port.
  }
  linkKnown_ = false;
  cameraType_ = knownType_;
  hasFileSystem_ = knownFileSystem_;
  inFolder_ = false;
}

void tqvProtocolEngine::MarkGood() {
  linkKnown_ = true;
  lastGoodMs_ = clock_->NowMs();
}

bool tqvProtocolEngine::LinkFresh() const {
  return linkKnown_ && clock_->NowMs() - lastGoodMs_ <= kFreshLinkMs;
}

void tqvProtocolEngine::RaiseNotConnected(const char* message) {
  ForgetConnection();
  throw tqvnotconnected(message);
}

bool tqvProtocolEngine::WriteByte(std::uint8_t b) {
  std::size_t written = 0;
  return port_->WriteBytes(&b, 1, written) == 0 && written == 1;
}

bool tqvProtocolEngine::CheckCamera() {
  checkSkipped_ = false;  // the handshake is made now
  for (int attempt = 1;; ++attempt) {
    port_->PurgeReceive();
    port_->PurgeTransmit();
    waiter_->Wait(100);
    const bool written = WriteByte(kENQ);
    waiter_->Wait(100);
    if (!written) break;
    std::uint8_t answer = 0;
    std::size_t got = 0;
    const bool read = port_->ReadBytes(&answer, 1, got) == 0 && got == 1;
    waiter_->Wait(100);
    if (read && answer == kACK) {
      MarkGood();
      return true;
    }
    if (!read || answer != kNAK || attempt >= 6) break;
    waiter_->Wait(500);
  }
  ForgetConnection();
  return false;
}

void tqvProtocolEngine::Check() {
  // The full handshake, with its waits, only where the camera's state is not
  // known: at first contact, after a failed exchange, after a speed change or
  // a reset, and when the last good exchange is more than a moment ago.
  // Otherwise the operation goes straight to its command, whose own enquiry
  // then stands for the handshake (see SendCommand): a camera switched off
  // since is found there.
  if (LinkFresh()) {
    checkSkipped_ = true;
    return;
  }
  if (!CheckCamera()) RaiseNotConnected();
}

int tqvProtocolEngine::SendCommand(const tbytestream& command, int replyLength,
                                   tbytestream& reply) {
  if (replyLength > 20) return kCommandReplyTooLong;
  // The first exchange after a check that was skipped: an enquiry the camera
  // does not answer is a failed check (back to 9600, tqvnotconnected); a
  // command it refuses after answering is that command's own failure.
  const bool standsForCheck = checkSkipped_;
  checkSkipped_ = false;
  bool answered = false;
  const int result = Exchange(command, replyLength, reply, answered);
  if (result == kCommandOk) {
    MarkGood();
  } else {
    linkKnown_ = false;
    if (standsForCheck && !answered) RaiseNotConnected();
  }
  return result;
}

int tqvProtocolEngine::Exchange(const tbytestream& command, int replyLength, tbytestream& reply,
                                bool& answered) {
  answered = false;
  reply.clear();
  port_->PurgeTransmit();

  std::uint8_t first = 0;
  for (int naks = 0;;) {
    port_->PurgeReceive();
    if (!WriteByte(kENQ)) return kCommandWriteFailed;
    waiter_->Wait(1);
    std::size_t got = 0;
    if (port_->ReadBytes(&first, 1, got) != 0 || got != 1) return kCommandNoAnswer;
    answered = true;
    if (first == kACK) break;
    if (first != kNAK || ++naks >= 11) return kCommandRefused;
    waiter_->Wait(100);
  }

  for (std::uint8_t b : command) {
    waiter_->Wait(1);
    if (!WriteByte(b)) return kCommandWriteFailed;
    waiter_->Wait(1);
  }

  std::uint8_t checksum = 0;
  std::size_t got = 0;
  if (port_->ReadBytes(&checksum, 1, got) != 0 || got != 1) return kCommandNoAnswer;
  if (!WriteByte(kACK)) return kCommandWriteFailed;

  if (replyLength > 2) {
    tbytestream data(static_cast<std::size_t>(replyLength - 2));
    if (port_->ReadBytes(data.data(), data.size(), got) != 0 || got != data.size()) {
      return kCommandNoAnswer;
    }
    reply.reserve(static_cast<std::size_t>(replyLength));
    reply.push_back(first);
    reply.push_back(checksum);
    reply.insert(reply.end(), data.begin(), data.end());
  }

  std::uint8_t sum = 0;
  for (std::uint8_t b : command) sum = static_cast<std::uint8_t>(sum + b);
  return static_cast<std::uint8_t>(~sum) == checksum ? kCommandOk : kCommandBadChecksum;
}

void tqvProtocolEngine::MustSend(const tbytestream& command, int replyLength, tbytestream& reply) {
  if (SendCommand(command, replyLength, reply) != kCommandOk) RaiseNotConnected();
}

void tqvProtocolEngine::MustSend(const tbytestream& command, int replyLength) {
  tbytestream reply;
  MustSend(command, replyLength, reply);
}

void tqvProtocolEngine::SetDesiredSpeed(std::uint8_t baudIndex) {
  if (baudIndex != desiredSpeed_) desiredSpeed_ = baudIndex;
}

void tqvProtocolEngine::ApplySpeed(std::uint8_t baudIndex) {
  if (baudIndex == currentSpeed_) return;
  currentSpeed_ = baudIndex;
  const std::uint8_t code = SpeedCodeOfIndex(baudIndex);
  if (code == 0) return;
  if (!irdaMode_) {
    tbytestream reply;
    (void)SendCommand(Cmd("CB", {code}), 2, reply);
  }
  SetPortSpeed(currentSpeed_);
}

void tqvProtocolEngine::SetPortSpeed(std::uint8_t baudIndex) {
  if (irdaMode_ || port_->Params().BaudIndex == baudIndex) return;
  linkKnown_ = false;  // a speed change: the next operation makes the full handshake
  port_->Close();
  port_->SetBaudIndex(baudIndex);
  port_->Open();
}

void tqvProtocolEngine::RequestBlockSize(std::int32_t n) {
  blockSize_ = std::clamp<std::int32_t>(n, 1, 65535);
}

void tqvProtocolEngine::SetBlockSize(std::int32_t n) {
  // Two bytes on the wire; zero would leave no room for any data.
  if (n < 1 || n > 65535) throw std::out_of_range("Block size must be 1 to 65535 bytes");
  blockSize_ = n;
  if (n == cameraBlockSize_) return;
  MustSend(Cmd("PP", {High(n), Low(n)}), 2);
  cameraBlockSize_ = n;
}

void tqvProtocolEngine::Progress(int position, const std::string& text, int picture) {
  // Between exchanges camera and engine are in step: stopping needs nothing more.
  if (OnProgress && OnProgress(*this, position, text, picture) == tprogressanswer::stop) {
    throw tqvcancelled();
  }
}

namespace {
constexpr int kPacketGood = 0;
constexpr int kPacketShort = 2;
constexpr int kPacketChecksum = 4;
constexpr int kPacketOverlong = 6;
}  // namespace

int tqvProtocolEngine::ReadPacket(tbytestream& buffer, std::size_t& length) {
  length = 0;
  std::size_t got = 0;
  if (port_->ReadBytes(buffer.data(), 3, got) != 0 || got != 3) return kPacketShort;
  length = static_cast<std::size_t>(buffer[1]) * 256 + buffer[2];
  if (length == 0) {
    // End packet: its trailer and checksum are not examined, but they must
    // arrive, or the line is not where the camera's protocol says it is.
    if (port_->ReadBytes(buffer.data() + 3, 2, got) != 0 || got != 2) return kPacketShort;
    return kPacketGood;
  }
  // The buffer holds one negotiated block; a longer packet is bad, never
  // written past the buffer's end.
  if (length > buffer.size() - 6) return kPacketOverlong;
  if (port_->ReadBytes(buffer.data() + 3, length + 2, got) != 0 || got != length + 2) {
    return kPacketShort;
  }
  std::uint8_t sum = static_cast<std::uint8_t>(buffer[1] + buffer[2]);
  for (std::size_t i = 0; i <= length; ++i) sum = static_cast<std::uint8_t>(sum + buffer[3 + i]);
  return static_cast<std::uint8_t>(~sum) == buffer[4 + length] ? kPacketGood : kPacketChecksum;
}

void tqvProtocolEngine::DrainLine(std::int64_t limitMs) {
  // Read and drop until the line has been quiet for a moment, so the
  // resent packet starts clean. Bounded in time and bytes, so a babbling
  // line cannot hold us.
  treadtimeoutscope quiet(*this, 30);
  const tdeadline deadline(*clock_, limitMs);
  std::uint8_t scratch[256];
  std::size_t total = 0;
  while (total < 2 * 65536 + 64 && !deadline.Expired()) {
    std::size_t got = 0;
    if (port_->ReadBytes(scratch, sizeof scratch, got) != 0 || got == 0) break;
    total += got;
  }
  port_->PurgeReceive();
}

std::int64_t tqvProtocolEngine::PacketTimeMs() const {
  const std::uint32_t rate = BaudRateOfIndex(port_->Params().BaudIndex);
  const std::int64_t bytes = std::max(blockSize_, cameraBlockSize_) + 6;
  return (rate == 0 ? bytes : bytes * 10 * 1000 / rate) + 300;
}

void tqvProtocolEngine::RaiseBadTransfer() {
  // The transfer itself ended in step; put both sides back at 9600 baud.
  try {
    ResetCamera();
  } catch (...) {
  }
  RaiseNotConnected();
}

void tqvProtocolEngine::ReceiveData(tbytestream& stream, std::size_t maxBytes) {
  toperationscope operation(*this);
  stream.clear();
  maxBytes = std::min(maxBytes, kMaxTransferBytes);
  // One block plus framing. The camera may still be at a larger size than
  // the one asked for now (negotiated by an earlier transfer), so the buffer
  // takes the larger of the two; anything longer is a bad packet.
  tbytestream buffer(static_cast<std::size_t>(std::max(blockSize_, cameraBlockSize_)) + 6);
  if (!WriteByte(kDC2)) RaiseNotConnected();
  waiter_->Wait(10);
  int badInRow = 0;
  for (;;) {
    std::size_t length = 0;
    const std::int64_t started = clock_->NowMs();
    const int result = ReadPacket(buffer, length);
    if (result != kPacketGood) {
      if (result == kPacketOverlong) {
        DrainLine(PacketTimeMs());
      } else {
        port_->PurgeReceive();  // a late tail of a short packet must not start the next one
      }
      (void)WriteByte(kNAK);
      failedMs_ += clock_->NowMs() - started;
      // A camera that keeps sending bad packets (noise, stray bytes, an
      // endless stream) is given up for lost within the operation's budget.
      if (++badPackets_ > kMaxBadPacketsPerOperation || failedMs_ > kFailureBudgetMs) {
        RaiseNotConnected();
      }
      // Three bad reads in a row: the camera may still be healthy and is
      // brought back in step before the failure is reported.
      if (++badInRow >= 3) {
        CutTransfer();
        RaiseNotConnected();
      }
      continue;
    }
    badInRow = 0;
    if (!WriteByte(kACK)) RaiseNotConnected();
    if (length > 0) {
      if (stream.size() + length > maxBytes) {
        // More than the data can be: stop the camera before it sends more.
        CutTransfer();
        RaiseNotConnected();
      }
      stream.insert(stream.end(), buffer.begin() + 3,
                    buffer.begin() + 3 + static_cast<std::ptrdiff_t>(length));
    }
    if (OnProgress && OnProgress(*this, progressStep_, std::string(), 0) == tprogressanswer::stop) {
      // After the end packet the transfer is complete; otherwise the camera
      // is already sending the next packet and must be stopped first.
      if (length > 0) CutTransfer();
      throw tqvcancelled();
    }
    if (length == 0) {
      MarkGood();
      return;
    }
  }
}

void tqvProtocolEngine::CutTransfer() noexcept {
  // The camera waits for an answer to the packet in flight. Neither ACK nor
  // NAK ends its transfer; an enquiry it answers shows it listens again at
  // the current speed, and "QR" then brings it back to 9600 baud.
  try {
    treadtimeoutscope quick(*this, 300);
    for (int attempt = 0; attempt < 3; ++attempt) {
      // First the rest of the packet in flight, then whatever follows.
      DrainLine(attempt == 0 ? PacketTimeMs() : 300);
      if (!WriteByte(kENQ)) break;
      std::uint8_t answer = 0;
      std::size_t got = 0;
      if (port_->ReadBytes(&answer, 1, got) == 0 && got == 1 && answer == kACK) {
        tbytestream reply;
        if (SendCommand(Cmd("QR"), 2, reply) != kCommandOk) break;
        cameraBlockSize_ = 128;
        LinkAfterReset();
        return;
      }
    }
  } catch (...) {
  }
  ForgetConnection();
}

void tqvProtocolEngine::LinkAfterReset() {
  // The connection has ended; a new one begins with a handshake. Where a
  // file-system camera stands after a reset is not known.
  linkKnown_ = false;
  inFolder_ = false;
  if (irdaMode_) {
    port_->Close();
    waiter_->Wait(250);
    port_->Open();
  } else {
    currentSpeed_ = kDefaultSpeed;
    SetPortSpeed(kDefaultSpeed);
  }
}

void tqvProtocolEngine::ResetCamera() {
  tbytestream reply;
  (void)SendCommand(Cmd("QR"), 2, reply);
  cameraBlockSize_ = 128;
  LinkAfterReset();
}

void tqvProtocolEngine::PowerOff() {
  MustSend(Cmd("QX"), 2);
  LinkAfterReset();
}

std::string tqvProtocolEngine::TestLinkText(int status) {
  switch (status) {
    case 1:
      return "Camera Connected";
    case 2:
      return "Port not available";
    case 3:
      return "Write error #1";
    case 4:
      return "Write error #2";
    case 5:
      return "Read error #1";
    case 6:
      return "Not a camera";
    case 7:
      return "No response";
    case 8:
      return "Reset error";
    default:
      return std::string();
  }
}

int tqvProtocolEngine::TestLink(std::string& firstByte, int& errorCode) {
  auto finish = [&](int status) {
    errorCode = status == 1 ? 0 : port_->LastError();
    return status;
  };
  if (!port_->IsOpen()) return finish(2);
  (void)CheckCamera();
  port_->PurgeReceive();
  port_->PurgeTransmit();
  std::uint8_t enq = kENQ;
  std::size_t written = 0;
  if (port_->WriteBytes(&enq, 1, written) != 0) return finish(3);
  waiter_->Wait(100);
  if (written != 1) return finish(4);
  std::uint8_t answer = 0;
  std::size_t got = 0;
  if (port_->ReadBytes(&answer, 1, got) != 0) return finish(5);
  waiter_->Wait(100);
  if (got == 0) {
    firstByte.clear();
    return finish(7);
  }
  firstByte.assign(1, static_cast<char>(answer));
  if (answer != kACK) return finish(6);
  // The camera answered the enquiry we just made; the reset's own enquiry
  // starts the exchange afresh.
  tbytestream reply;
  const int result = SendCommand(Cmd("QR"), 2, reply);
  if (!irdaMode_) {
    currentSpeed_ = kDefaultSpeed;
    SetPortSpeed(kDefaultSpeed);
  }
  cameraBlockSize_ = 128;
  linkKnown_ = false;  // "QR" ended the connection
  return finish(result == kCommandOk ? 1 : 8);
}

void tqvProtocolEngine::SelectPort(const std::string& portName) {
  tcommparams params = port_->Params();
  linkKnown_ = false;
  portName_ = ShortPortName(portName);
  params.PortName = portName_;
  params.BaudIndex = kDefaultSpeed;
  port_->Close();
  if (irdaMode_) waiter_->Wait(100);
  port_.reset();
  port_ = std::make_unique<tcomport>(params, waiter_);
  port_->SetIrdaMode(irdaMode_);
  port_->Open();
  if (irdaMode_) waiter_->Wait(100);
}

void tqvProtocolEngine::SetIrdaMode(bool irda) {
  if (irda == irdaMode_) return;
  irdaMode_ = irda;
  linkKnown_ = false;
  port_->SetIrdaMode(irda);
}

void tqvProtocolEngine::SendRaw(const std::string& text) {
  SetPortSpeed(kDefaultSpeed);
  std::size_t written = 0;
  (void)port_->WriteBytes(text.data(), text.size(), written);
}

void tqvProtocolEngine::EnableLineErrorReports() { port_->SetShowErrors(true); }

}  // namespace vantlo
