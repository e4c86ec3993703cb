#include "simulator/simpictures.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "picture/bitmap.h"
#include "picture/rawencoder.h"
#include "simulator/simjpeg.h"

namespace vantlo::camsim {

namespace {

// Typical quantisation tables (ITU-T T.81 Annex K.1), natural order.
constexpr uint8_t kLumaQuant[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                    58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                    22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                    77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                    103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
constexpr uint8_t kChromaQuant[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// Natural index of the k-th coefficient in zig-zag order (the order a DQT segment carries).
constexpr uint8_t kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

void PutQuant(Bytes& out, const uint8_t* table, int percent) {
  for (int k = 0; k < 64; ++k) {
    int v = (table[kZigZag[k]] * percent + 50) / 100;
    out.push_back(static_cast<uint8_t>(std::clamp(v, 1, 255)));
  }
}

void PutU16(Bytes& out, size_t at, size_t value) {
  out[at] = static_cast<uint8_t>((value >> 8) & 0xFF);
  out[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

// Entropy-coded placeholder bytes: deterministic, never 0xFF (no marker or stuffing look-alikes).
void PutScan(Bytes& out, size_t count, uint32_t seed) {
  uint32_t x = seed * 2654435761u + 12345u;
  for (size_t i = 0; i < count; ++i) {
    x = x * 1664525u + 1013904223u;
    out.push_back(static_cast<uint8_t>((x >> 24) % 255));
  }
}

// Raw camera picture data: 136-byte header, then the scans. Flavour 0 splits the scan bytes
// 4:1:1 into Y, Cb and Cr scans; flavour 1 has one interleaved scan. Each scan length fits the
// header's 16-bit fields.
Bytes RawPicture(int flavour, size_t total, uint32_t seed, int quantPercent) {
  constexpr size_t kHeader = 136;
  total = std::max(total, kHeader + 3);
  size_t scan = total - kHeader;
  Bytes out(8, 0);
  out[0] = static_cast<uint8_t>(flavour);
  if (flavour == 0) {
    size_t y = std::min<size_t>(scan * 4 / 6, 0xFFFF);
    size_t cb = std::min<size_t>((scan - y) / 2, 0xFFFF);
    size_t cr = std::min<size_t>(scan - y - cb, 0xFFFF);
    scan = y + cb + cr;
    PutU16(out, 2, y);
    PutU16(out, 4, cb);
    PutU16(out, 6, cr);
  } else {
    scan = std::min<size_t>(scan, 0xFFFF);
    PutU16(out, 6, scan);
  }
  PutQuant(out, kLumaQuant, quantPercent);
  PutQuant(out, kChromaQuant, quantPercent);
  PutScan(out, scan, seed);
  return out;
}

// Placeholder AVI: a RIFF "AVI " container holding one JUNK chunk of the given size.
Bytes AviPlaceholder(size_t payload, uint32_t seed) {
  Bytes out;
  auto put32 = [&out](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto putTag = [&out](const char* t) { out.insert(out.end(), t, t + 4); };
  putTag("RIFF");
  put32(static_cast<uint32_t>(4 + 8 + payload));
  putTag("AVI ");
  putTag("JUNK");
  put32(static_cast<uint32_t>(payload));
  PutScan(out, payload, seed);
  return out;
}

std::string FileName(const char* stem, int serial, const char* ext) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%04d.%s", stem, serial % 10000, ext);
  return name;
}

Bytes Preview(const Bytes& rgb, int width, int height) {
  // Box-sample down to 160 x 120 (or less for small pictures) before compressing.
  int pw = std::min(width, 160), ph = std::min(height, 120);
  Bytes small(static_cast<size_t>(pw) * ph * 3);
  for (int y = 0; y < ph; ++y)
    for (int x = 0; x < pw; ++x)
      for (int c = 0; c < 3; ++c)
        small[(static_cast<size_t>(y) * pw + x) * 3 + c] =
            rgb[(static_cast<size_t>(y * height / ph) * width + x * width / pw) * 3 + c];
  return EncodeJpeg(small, pw, ph, 75);
}

Bytes BitmapToRgb(const tbitmap& bm) {
  Bytes rgb(static_cast<size_t>(bm.Width()) * bm.Height() * 3);
  const Bytes& bgr = bm.Bytes();
  for (size_t i = 0; i + 2 < rgb.size() && i + 2 < bgr.size(); i += 3) {
    rgb[i] = bgr[i + 2];
    rgb[i + 1] = bgr[i + 1];
    rgb[i + 2] = bgr[i];
  }
  return rgb;
}

tbitmap RgbToBitmap(const Bytes& rgb, int width, int height) {
  tbitmap bm(width, height);
  Bytes& bgr = bm.Bytes();
  for (size_t i = 0; i + 2 < rgb.size() && i + 2 < bgr.size(); i += 3) {
    bgr[i] = rgb[i + 2];
    bgr[i + 1] = rgb[i + 1];
    bgr[i + 2] = rgb[i];
  }
  return bm;
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

SimPicture MakePicture(Family family, int serial, long rawBytes) {
  SimPicture pic;
  const uint32_t seed = static_cast<uint32_t>(serial);
  tbitmap scene = MakeTestPicture(640, 480, serial);
  pic.thumbnail = EncodeRawThumbnail(scene);
  switch (family) {
    case Family::classic: {
      // Every third picture is a "Fine Mode" picture: 640 x 480 in one interleaved scan (raw
      // flavour 1), where a normal picture is 480 x 240 in three scans (flavour 0).
      pic.fine = serial % 3 == 2;
      const int flavour = pic.fine ? 1 : 0;
      pic.data = rawBytes > 0 ? RawPicture(flavour, static_cast<size_t>(rawBytes), seed, 100)
                              : EncodeRawPicture(scene, flavour, pic.fine ? 85 : 75);
      break;
    }
    case Family::extended: {
      // Alternate the two formats: "XK" 1 pictures are JPEG data, "XK" 2 pictures raw flavour 1.
      pic.format = serial % 2 == 1 ? 1 : 2;
      if (rawBytes > 0)
        pic.data = RawPicture(1, static_cast<size_t>(rawBytes), seed, 60);
      else if (pic.format == 1)
        pic.data = EncodeJpeg(BitmapToRgb(scene), 640, 480, 85);
      else
        pic.data = EncodeRawPicture(scene, 1, 85);
      break;
    }
    case Family::filesystem: {
      // Every fourth file is a movie; the others are JPEG pictures.
      pic.movie = serial % 4 == 0;
      Bytes rgb = BitmapToRgb(scene);
      pic.preview = Preview(rgb, 640, 480);
      if (pic.movie) {
        pic.fileName = FileName("MOV", serial, "AVI");
        pic.data = AviPlaceholder(rawBytes > 0 ? static_cast<size_t>(rawBytes) : 30000u, seed);
      } else {
        pic.fileName = FileName("CIMG", serial, "JPG");
        pic.data = EncodeJpeg(rgb, 640, 480, 85);
      }
      break;
    }
  }
  return pic;
}

std::vector<SimPicture> LoadPictures(Family family, const std::string& dir) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (ext == ".jpg" || ext == ".jpeg") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<SimPicture> pictures;
  int serial = 0;
  for (const auto& path : files) {
    ++serial;
    SimPicture pic;
    pic.data = ReadFile(path);
    if (pic.data.size() < 4 || pic.data[0] != 0xFF || pic.data[1] != 0xD8)
      throw std::runtime_error(path.string() + ": not a JPEG file");
    int w = 0, h = 0;
    // Classic cameras need the whole picture for their raw data; the others only a preview.
    int scale = family == Family::classic ? 1 : 4;
    Bytes rgb = DecodeJpeg(pic.data, scale, w, h);
    tbitmap bm = RgbToBitmap(rgb, w, h);
    pic.thumbnail = EncodeRawThumbnail(bm);
    pic.format = 1;
    if (family == Family::classic) pic.data = EncodeRawPicture(bm, 0, 85);
    if (family == Family::filesystem) {
      pic.fileName = FileName("CIMG", serial, "JPG");
      pic.preview = Preview(rgb, w, h);
    }
    pictures.push_back(std::move(pic));
  }
  return pictures;
}

}  // namespace vantlo::camsim
