// Temporary folders and picture-like files for the FTP tests. Header-only, so
// the window tests use it too.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace vantlo::testing {

// A fresh folder with "local" and "server" below it, removed afterwards.
struct ttempdirs {
  ttempdirs() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantlo-ftp-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    base = pattern;
    local = base / "local";
    server = base / "server";
    std::filesystem::create_directories(local);
    std::filesystem::create_directories(server);
  }
  ~ttempdirs() {
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
  }
  std::filesystem::path base, local, server;
};

// Writes `size` bytes that start and end like a JPEG and hold every byte
// value (CR, LF and NUL included, which an ASCII-mode transfer would
// change); returns them.
inline std::string WriteJpegLike(const std::filesystem::path& path, std::size_t size,
                                 unsigned seed) {
  std::string data(size, '\0');
  std::mt19937 rng(seed);
  for (auto& c : data) c = static_cast<char>(rng() & 0xFF);
  const char head[] = "\xFF\xD8\xFF\xE0\r\n\0\n";
  for (std::size_t i = 0; i < sizeof head - 1 && i < size; ++i) data[i] = head[i];
  if (size >= 2) {
    data[size - 2] = '\xFF';
    data[size - 1] = '\xD9';
  }
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
  return data;
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vantlo::testing
