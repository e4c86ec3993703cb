// tcomport: a thin, synchronous serial port on POSIX termios. Raw 8N1 (or
// whatever the parameter record asks for), exclusive open, blocking-style
// reads and writes bounded by total time-outs, purges. Failures never throw:
// calls return 0 or -1 and LastError() holds a Windows-style code (see
// porterrors.h), because the connection texts are written for those codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "camera/commparams.h"
#include "camera/deadline.h"
#include "camera/waiter.h"

namespace vantlo {

class tcomport {
 public:
  // Does not touch the device. `waiter` and `clock` must outlive the port;
  // null means the real ones.
  explicit tcomport(const tcommparams& params, twaiter* waiter = nullptr,
                    const tclock* clock = nullptr);
  ~tcomport();
  tcomport(const tcomport&) = delete;
  tcomport& operator=(const tcomport&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Opens the device that the port map gives for Params().PortName. Never
  // throws; on failure the port is closed and LastError() is non-zero.
  void Open();
  void Close();

  // One write of `count` bytes within WriteTimeout ms; 0 (with `written`
  // possibly short after a time-out) or -1 with LastError().
  int WriteBytes(const void* buffer, std::size_t count, std::size_t& written);
  // Reads up to `count` bytes within count + ReadTimeout ms in total; returns 0
  // also when fewer arrived (the caller compares the count), -1 on failure.
  int ReadBytes(void* buffer, std::size_t count, std::size_t& read);

  void SetBaudIndex(std::uint8_t index);
  void PurgeReceive();
  void PurgeTransmit();
  void SetReadTimeout(std::uint16_t ms);
  void SetWriteTimeout(std::uint16_t ms);
  // Switching an open port closes it, waits one second and opens it again.
  void SetIrdaMode(bool irda);
  // Clears the line-error state; with ShowErrors set, reports it through
  // OnLineErrorReport (or stderr when no listener is installed).
  void ReportLineErrors();

  const tcommparams& Params() const { return params_; }
  bool IrdaMode() const { return irdaMode_; }
  bool ShowErrors() const { return showErrors_; }
  void SetShowErrors(bool on) { showErrors_ = on; }
  int LastError() const { return lastError_; }
  // The connection text for LastError(); a permission failure names the
  // device and the group that owns it.
  std::string LastErrorText() const;
  // Device path the port resolved to at the last Open (empty before).
  const std::string& DevicePath() const { return device_; }
  // The file descriptor, -1 when closed.
  int Handle() const { return fd_; }
  void SetWaiter(twaiter* waiter);

  std::function<void(const std::string& report)> OnLineErrorReport;

 private:
  void ApplyLineSettings();
  void ApplyTimeouts();
  void SetErrno(int err);
  void FailClosed();
  std::uint32_t ClearLineErrors();

  int fd_ = -1;
  tcommparams params_;
  bool irdaMode_ = false;
  bool showErrors_ = false;
  int lastError_ = 0;
  std::string device_;
  std::string permissionText_;
  twaiter* waiter_;
  const tclock* clock_;
  // Line-error counters (TIOCGICOUNT) at the last clear; devices without
  // them (pseudo-terminals) simply report no line errors.
  bool pseudoTerminal_ = false;
  bool haveCounters_ = false;
  std::uint32_t lastCounters_[5] = {};
};

}  // namespace vantlo
