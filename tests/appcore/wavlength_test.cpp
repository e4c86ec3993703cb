#include "app/core/wavlength.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tempdir.h"

namespace vantlo {
namespace {

using testing::TempDir;

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutId(std::vector<std::uint8_t>& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}

// A PCM WAV of `samples` 16-bit mono samples at `rate`; `claimed` overrides the data size.
std::vector<std::uint8_t> Wav(std::uint32_t rate, std::uint32_t samples, bool withList = false,
                              std::int64_t claimed = -1) {
  std::vector<std::uint8_t> b;
  PutId(b, "RIFF");
  Put32(b, 0);  // patched below
  PutId(b, "WAVE");
  if (withList) {  // a chunk of odd size before "fmt ", padded to even
    PutId(b, "LIST");
    Put32(b, 5);
    PutId(b, "INFO");
    b.push_back('x');
    b.push_back(0);
  }
  PutId(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1);         // PCM
  Put16(b, 1);         // mono
  Put32(b, rate);      // sample rate
  Put32(b, rate * 2);  // byte rate
  Put16(b, 2);         // block align
  Put16(b, 16);        // bits
  PutId(b, "data");
  Put32(b, claimed >= 0 ? static_cast<std::uint32_t>(claimed) : samples * 2);
  b.resize(b.size() + samples * 2, 0);
  const std::uint32_t riffSize = static_cast<std::uint32_t>(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
  return b;
}

std::string WriteFile(const TempDir& dir, const std::string& name,
                      const std::vector<std::uint8_t>& bytes) {
  const std::string path = dir / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST(WavLength, LengthFromTheHeader) {
  TempDir dir;
  EXPECT_EQ(WavLengthMs(WriteFile(dir, "one.wav", Wav(8000, 8000))), 1000);
  EXPECT_EQ(WavLengthMs(WriteFile(dir, "half.wav", Wav(22050, 11025, true))), 500);
  // Rounded up: one sample at 8000 Hz still plays.
  EXPECT_EQ(WavLengthMs(WriteFile(dir, "tiny.wav", Wav(8000, 1))), 1);
}

TEST(WavLength, ADataChunkClaimingMoreThanTheFileCountsWhatIsThere) {
  TempDir dir;
  // Claims 4 GB of sound: only the 2 seconds present count.
  EXPECT_EQ(WavLengthMs(WriteFile(dir, "liar.wav", Wav(8000, 16000, false, 0xFFFFFFF0))), 2000);
}

TEST(WavLength, DamagedOrOtherFilesHaveNoLength) {
  TempDir dir;
  EXPECT_FALSE(WavLengthMs(dir / "missing.wav"));
  EXPECT_FALSE(WavLengthMs(dir.path()));  // a folder
  EXPECT_FALSE(WavLengthMs(WriteFile(dir, "text.wav", {'h', 'e', 'l', 'l', 'o'})));
  std::vector<std::uint8_t> wav = Wav(8000, 100);
  EXPECT_FALSE(WavLengthMs(WriteFile(dir, "cut.wav", {wav.begin(), wav.begin() + 30})));
  // A byte rate of zero.
  std::vector<std::uint8_t> zero = Wav(8000, 100);
  for (int i = 0; i < 4; ++i) zero[12 + 8 + 8 + i] = 0;
  EXPECT_FALSE(WavLengthMs(WriteFile(dir, "zero.wav", zero)));
  // No data chunk.
  std::vector<std::uint8_t> nodata = Wav(8000, 0);
  nodata.resize(nodata.size() - 8);
  EXPECT_FALSE(WavLengthMs(WriteFile(dir, "nodata.wav", nodata)));
}

}  // namespace
}  // namespace vantlo
