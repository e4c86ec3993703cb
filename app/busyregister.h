#pragma once

#include <array>
#include <string>

#include "stoprequest.h"

namespace vantlo {

// What the busy register shows while slots are held: the status text, the
// Stop button, the busy cursor and the progress bar. The main window
// implements it; tests record the calls.
class tbusyview {
 public:
  virtual ~tbusyview() = default;
  virtual void BusyStatusText(const std::string& text) = 0;
  virtual void BusyIndicators(bool busy) = 0;  // Stop button enabled + busy cursor
  virtual void BusyProgressReset() = 0;        // progress bar to 0
};

// Seven one-byte slots that keep long operations from overlapping.
// Codes: 0 T, 2 P, 4 W, 6 A, 10 M request with a condition; 12 D and 14 S
// are always granted; odd codes 1..15 release the slot of the code before;
// 16 queries whether the camera/task slots (T, P, M, W, A) are all free.
class tbusyregister {
 public:
  enum tslot { slotT, slotP, slotM, slotW, slotA, slotD, slotS, slotcount };

  static constexpr int kThumbnails = 0;
  static constexpr int kPictures = 2;
  static constexpr int kWebcam = 4;
  static constexpr int kAutoCapture = 6;
  static constexpr int kMiniLab = 10;
  static constexpr int kDiskThumbnails = 12;
  static constexpr int kDiskList = 14;
  static constexpr int kQuery = 16;

  static constexpr const char* kBusyBoxText =
      "Vantlo is busy at the moment. Wait for the operation to complete and then try again.";

  tbusyregister(tstoprequest& stop, tbusyview* view) : stop_(stop), view_(view) {}

  bool BusyControl(int code);

  bool IsHeld(tslot s) const { return slots_[s] != 0; }
  bool AnyHeld() const;
  // Clears every slot without touching the view (start-up).
  void ClearAll() { slots_.fill(0); }
  void SetView(tbusyview* view) { view_ = view; }

 private:
  bool TaskSlotsFree(bool includeMiniLab) const;
  void UpdateView(bool query);

  tstoprequest& stop_;
  tbusyview* view_;
  std::array<unsigned char, slotcount> slots_{};
};

// Holds a slot for a scope: releases it in every exit path, so an error
// never leaves a slot held.
class tbusyguard {
 public:
  tbusyguard(tbusyregister& reg, int code) : reg_(reg), code_(code), held_(reg.BusyControl(code)) {}
  ~tbusyguard() {
    if (held_) reg_.BusyControl(code_ + 1);
  }
  tbusyguard(const tbusyguard&) = delete;
  tbusyguard& operator=(const tbusyguard&) = delete;
  bool Granted() const { return held_; }

 private:
  tbusyregister& reg_;
  int code_;
  bool held_;
};

}  // namespace vantlo
