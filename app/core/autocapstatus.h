// AutoCapture's status display: the four lights of the AutoCapture page ("Waiting for
// connection", "Camera connected", "Capture in progress", "All pictures captured"), its message
// label, and the sound that announces a change. Both sources (serial camera, USB camera or card)
// and the page drive it; the page only paints what it is told.
//
// A sound is played when its light comes on after being off, never again while the state
// stays (a run that keeps polling in the all-captured state plays the all-captured sound once).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/core/soundplayer.h"

namespace vantlo {

enum class tautocapstate {
  waiting = 0,
  connected = 1,
  capturing = 2,
  allCaptured = 3,
  stopped = 5
};

struct tautocaplights {
  bool waiting = false;      // RoundLed10, yellow / olive
  bool connected = false;    // RoundLed7, lime / green
  bool capturing = false;    // RoundLed8, aqua / teal
  bool allCaptured = false;  // RoundLed9, lime / green
  std::string label;         // Label37
  bool operator==(const tautocaplights&) const = default;
};

// The four sound files and their switches, in the stored order (connected, all captured,
// disconnected, error).
struct tautocapsounds {
  std::array<std::string, 4> files;
  std::array<bool, 4> on{};
  enum which { connected = 0, allCaptured = 1, disconnected = 2, error = 3 };
};

class tautocapstatus {
 public:
  // `player` may be null (no sounds). `sounds` is read at every change.
  tautocapstatus(tsoundplayer* player, const tautocapsounds& sounds);

  // Sets the lights and label for `state` (`count`: the pictures still to capture in state
  // capturing) and plays its sound; tells `onChange` before the sound plays, so the page is
  // repainted at once.
  void Show(tautocapstate state, int count = 0);
  // Entering the AutoCapture page switches the "All pictures captured" light off.
  void AllCapturedOff();
  // The "Capture in progress" light alone (copying a whole card).
  void CaptureLightOn();
  // Plays the error sound when its switch is on.
  void PlayError();

  const tautocaplights& Lights() const { return lights_; }

  std::function<void(const tautocaplights&)> onChange;
  // The all-captured light came on (the serial run then resets the camera).
  std::function<void()> onAllCaptured;

  static constexpr const char* kDisconnected = "Camera disconnected";
  static constexpr const char* kConnected = "Camera connected";
  static constexpr const char* kAllCaptured = "All pictures captured";
  // "1 picture to capture", "3 pictures to capture".
  static std::string ToCaptureText(int count);

 private:
  void Play(tautocapsounds::which which);

  tsoundplayer* player_;
  const tautocapsounds& sounds_;
  tautocaplights lights_;
};

}  // namespace vantlo
