// The Qt sound player returns whatever it is given: nothing to play, a file that is no sound, a
// short real sound (played where the machine has audio, skipped where it has none).
#include "app/qtsoundplayer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <vector>

namespace vantlo {
namespace {

std::vector<std::uint8_t> ShortWav() {
  // 20 ms of silence: 8000 Hz, 8-bit mono PCM.
  const std::uint32_t samples = 160;
  std::vector<std::uint8_t> b;
  auto put = [&b](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto id = [&b](const char* s) { b.insert(b.end(), s, s + 4); };
  id("RIFF");
  put(36 + samples, 4);
  id("WAVE");
  id("fmt ");
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(8000, 4);
  put(8000, 4);
  put(1, 2);
  put(8, 2);
  id("data");
  put(samples, 4);
  b.insert(b.end(), samples, 128);
  return b;
}

TEST(QtSoundPlayer, ReturnsForNothingNoSoundAndAShortSound) {
  QTemporaryDir dir;
  tqtsoundplayer player;
  player.PlayAndWait("");
  player.PlayAndWait(dir.filePath("missing.wav").toStdString());
  const std::string text = dir.filePath("text.wav").toStdString();
  std::ofstream(text) << "not a sound";
  player.PlayAndWait(text);

  const std::string wav = dir.filePath("short.wav").toStdString();
  const auto bytes = ShortWav();
  std::ofstream(wav, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  player.PlayAndWait(wav);
  player.PlayAndWait(wav);  // the second play closes the first sound
  SUCCEED();
}

}  // namespace
}  // namespace vantlo
