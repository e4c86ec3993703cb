// The sound player of the window and vantlo-cli: Qt Multimedia's QSoundEffect. It is kept apart
// from the workflows, which see only tsoundplayer, so tests and headless runs need no audio.
#pragma once

#include <memory>
#include <string>

#include "app/core/soundplayer.h"

class QSoundEffect;

namespace vantlo {

class tqtsoundplayer : public tsoundplayer {
 public:
  tqtsoundplayer();
  ~tqtsoundplayer() override;

  // Closes the sound played before, opens the file and plays it, processing events meanwhile
  // (so the window stays alive and its Stop button works), until it has played or its length
  // plus a second has passed. Needs a running QCoreApplication.
  void PlayAndWait(const std::string& file) override;

  // True when the system offers an audio output device.
  static bool HasAudioOutput();

 private:
  std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace vantlo
