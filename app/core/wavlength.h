// The playing time of a WAV file, read from its RIFF header: the size of the "data" chunk over
// the byte rate of the "fmt " chunk. The header is parsed defensively: every chunk size is
// checked against the file, and a data chunk that claims more bytes than the file holds counts
// only the bytes that are there, so a damaged header cannot make a caller wait for hours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantlo {

// Milliseconds of sound, rounded up; nullopt when the file cannot be read or is not a PCM-style
// RIFF/WAVE file with a usable "fmt " and "data" chunk.
std::optional<std::int64_t> WavLengthMs(const std::string& path);

}  // namespace vantlo
