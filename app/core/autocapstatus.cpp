#include "app/core/autocapstatus.h"

namespace vantlo {

tautocapstatus::tautocapstatus(tsoundplayer* player, const tautocapsounds& sounds)
    : player_(player), sounds_(sounds) {}

std::string tautocapstatus::ToCaptureText(int count) {
  return count == 1 ? "1 picture to capture" : std::to_string(count) + " pictures to capture";
}

void tautocapstatus::Play(tautocapsounds::which which) {
  if (player_ && sounds_.on[which] && !sounds_.files[which].empty())
    player_->PlayAndWait(sounds_.files[which]);
}

void tautocapstatus::PlayError() { Play(tautocapsounds::error); }

void tautocapstatus::AllCapturedOff() {
  if (!lights_.allCaptured) return;
  lights_.allCaptured = false;
  if (onChange) onChange(lights_);
}

void tautocapstatus::CaptureLightOn() {
  lights_.capturing = true;
  if (onChange) onChange(lights_);
}

void tautocapstatus::Show(tautocapstate state, int count) {
  const tautocaplights before = lights_;
  int sound = -1;
  bool allCapturedCame = false;
  switch (state) {
    case tautocapstate::waiting:
      lights_ = {true, false, false, false, lights_.label};
      if (before.connected) {
        lights_.label = kDisconnected;
        sound = tautocapsounds::disconnected;
      }
      break;
    case tautocapstate::connected:
      lights_.waiting = false;
      lights_.connected = true;
      if (before.waiting) {
        lights_.label = kConnected;
        sound = tautocapsounds::connected;
      }
      break;
    case tautocapstate::capturing:
      lights_ = {false, true, true, false, ToCaptureText(count)};
      break;
    case tautocapstate::allCaptured:
      lights_ = {false, true, false, true, kAllCaptured};
      if (!before.allCaptured) {
        sound = tautocapsounds::allCaptured;
        allCapturedCame = true;
      }
      break;
    case tautocapstate::stopped:
      lights_ = {false, false, false, lights_.allCaptured, {}};
      break;
  }
  if (onChange) onChange(lights_);
  if (sound >= 0) Play(static_cast<tautocapsounds::which>(sound));
  if (allCapturedCame && onAllCaptured) onAllCaptured();
}

}  // namespace vantlo
