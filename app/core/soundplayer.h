// The sounds the workflows play to announce their events (AutoCapture's camera connected, all
// pictures captured, camera disconnected). The workflows only know this interface: the window
// and vantlo-cli hand them the Qt Multimedia player (app/qtsoundplayer.h), tests and machines
// that want silence the silent player below.
#pragma once

#include <string>
#include <vector>

namespace vantlo {

class tsoundplayer {
 public:
  virtual ~tsoundplayer() = default;
  // Plays the WAV file and returns when it has played; never later than the sound's length plus
  // a second after the call, so a stuck audio device cannot hold up a run. Returns at once for
  // an empty name, a file that is not a readable WAV, or a machine without audio output.
  virtual void PlayAndWait(const std::string& file) = 0;
};

// Plays nothing and remembers what it was asked to play.
class tsilentsound : public tsoundplayer {
 public:
  void PlayAndWait(const std::string& file) override { played.push_back(file); }
  std::vector<std::string> played;
};

}  // namespace vantlo
