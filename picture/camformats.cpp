#include "picture/camformats.h"

#include <initializer_list>

#include "picture/colour.h"
#include "picture/jpegtables.h"
#include "picture/pictureerror.h"
#include "picture/stretchnearest.h"

namespace vantlo {

namespace {

const char* const kUnsupported = "Unsupported Camera Format";
const char* const kNoStartMarker = "Unable to parse CAM file (no start marker)";
const char* const kAreaCount = "Unable to parse CAM file (incorrect number of areas)";
const char* const kInvalidId = "Unable to parse CAM file (invalid area ID)";
const char* const kAreaMissing = "Unable to parse CAM file (picture area missing)";

using tbyteview = std::span<const std::uint8_t>;

void Put(tbytes& out, std::initializer_list<std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}
void Put(tbytes& out, tbyteview bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }
void PutBE32(tbytes& out, std::uint64_t v) {
  if (v > 0xFFFFFFFFull) throw tpictureerror("Picture too large for a CAM file");
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::size_t BE16(tbyteview d, std::size_t at) {
  return (static_cast<std::size_t>(d[at]) << 8) | d[at + 1];
}
std::uint64_t BE32(tbyteview d, std::size_t at) {
  return (static_cast<std::uint64_t>(d[at]) << 24) | (static_cast<std::uint64_t>(d[at + 1]) << 16) |
         (static_cast<std::uint64_t>(d[at + 2]) << 8) | d[at + 3];
}

bool IsJpeg(tbyteview d) { return d.size() >= 2 && d[0] == 0xFF && d[1] == 0xD8; }

// One directory entry: id, 32-bit size, ten zero bytes.
void PutEntry(tbytes& out, std::uint8_t id, std::uint64_t size) {
  Put(out, {0x00, id});
  PutBE32(out, size);
  out.insert(out.end(), 10, 0x00);
}

constexpr std::size_t kArea1Size = 15;
constexpr std::size_t kArea2Size = 5616;

void PutArea1(tbytes& out) {
  Put(out,
      {0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x00});
}
void PutArea2(tbytes& out) { out.insert(out.end(), kArea2Size, 0x00); }

void PutCamStart(tbytes& out) { Put(out, {0x07, 0x20, 0x4D, 0x4D, 0x00, 0x03}); }

}  // namespace

void RawToJfif(std::span<const std::uint8_t> raw, tbytes& out) {
  out.clear();
  if (IsJpeg(raw)) {
    Put(out, raw);
    return;
  }
  if (raw.empty() || raw[0] > 1) throw tpictureerror(kUnsupported);
  // A header or scans cut short (damaged cache file, interrupted transfer)
  // count as data the program cannot use.
  if (raw.size() < kRawHeaderSize) throw tpictureerror(kUnsupported);
  const bool flavour0 = raw[0] == 0;
  const std::size_t ly = flavour0 ? BE16(raw, 2) : 0;
  const std::size_t lcb = flavour0 ? BE16(raw, 4) : 0;
  const std::size_t lcr = BE16(raw, 6);
  if (kRawHeaderSize + ly + lcb + lcr > raw.size()) throw tpictureerror(kUnsupported);

  Put(out, {0xFF, 0xD8});
  Put(out, {0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x01, 0x01, 0x2C,
            0x01, 0x2C, 0x00, 0x00});
  const tbyteview q0 = raw.subspan(8, 64);
  const tbyteview q1 = raw.subspan(72, 64);
  if (flavour0) {
    Put(out, {0xFF, 0xDB, 0x00, 0x43, 0x00});
    Put(out, q0);
    Put(out, {0xFF, 0xDB, 0x00, 0x43, 0x01});
    Put(out, q1);
    Put(out, {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0xF0, 0x01, 0xE0, 0x03, 0x01, 0x32, 0x00, 0x02,
              0x11, 0x01, 0x03, 0x11, 0x01});
    Put(out, SeparateHuffmanSegments());
    Put(out, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
    Put(out, raw.subspan(kRawHeaderSize, ly));
    Put(out, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x02, 0x11, 0x00, 0x3F, 0x00});
    Put(out, raw.subspan(kRawHeaderSize + ly, lcb));
    Put(out, {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x03, 0x11, 0x00, 0x3F, 0x00});
    Put(out, raw.subspan(kRawHeaderSize + ly + lcb, lcr));
  } else {
    Put(out, {0xFF, 0xDB, 0x00, 0x84, 0x00});
    Put(out, q0);
    out.push_back(0x01);
    Put(out, q1);
    Put(out, {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x01, 0xE0, 0x02, 0x80, 0x03, 0x01, 0x22, 0x00, 0x02,
              0x11, 0x01, 0x03, 0x11, 0x01});
    Put(out, CombinedHuffmanSegment());
    Put(out, {0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00});
    Put(out, raw.subspan(kRawHeaderSize, lcr));
  }
  Put(out, {0xFF, 0xD9});
}

void RawToCamFile(std::span<const std::uint8_t> data, tbytes& out, int kind) {
  out.clear();
  if (IsJpeg(data)) {
    PutCamStart(out);
    PutEntry(out, kind == 3 ? 0x0A : 0x0C, data.size());
    PutEntry(out, 1, kArea1Size);
    PutEntry(out, 2, kArea2Size);
    Put(out, data);
    PutArea1(out);
    PutArea2(out);
  } else if (!data.empty() && data[0] == 1) {
    tbytes jfif;
    RawToJfif(data, jfif);
    PutCamStart(out);
    PutEntry(out, 4, jfif.size());
    PutEntry(out, 1, kArea1Size);
    PutEntry(out, 2, kArea2Size);
    Put(out, jfif);
    PutArea1(out);
    PutArea2(out);
  } else if (!data.empty() && data[0] == 0) {
    PutCamStart(out);
    PutEntry(out, 1, kArea1Size);
    PutEntry(out, 2, kArea2Size);
    PutEntry(out, 3, data.size());
    PutArea1(out);
    PutArea2(out);
    Put(out, data);
    out.push_back(0x01);
  } else {
    throw tpictureerror(kUnsupported);
  }
}

void ExtractPictureArea(std::span<const std::uint8_t> cam, tbytes& out) {
  if (cam.size() < 4 || cam[0] != 0x07 || cam[1] != 0x20 || cam[2] != 0x4D || cam[3] != 0x4D)
    throw tpictureerror(kNoStartMarker);
  if (cam.size() < 6 || cam[5] != 3) throw tpictureerror(kAreaCount);
  if (cam.size() < kCamHeaderSize) throw tpictureerror(kInvalidId);
  std::uint8_t ids[3];
  std::uint64_t sizes[3];
  for (int i = 0; i < 3; ++i) {
    const std::size_t entry = 6 + static_cast<std::size_t>(i) * 16;
    ids[i] = cam[entry + 1];
    if (ids[i] < 1 || ids[i] > 3) throw tpictureerror(kInvalidId);
    sizes[i] = BE32(cam, entry + 2);
  }
  // The picture area follows the areas listed before it. Offsets and sizes
  // are summed in 64 bits and checked against the file, so a damaged
  // directory can neither wrap around nor point past the end.
  std::uint64_t offset = kCamHeaderSize;
  for (int i = 0; i < 3; ++i) {
    if (ids[i] == 3) {
      if (offset + sizes[i] > cam.size()) throw tpictureerror(kAreaMissing);
      out.assign(cam.begin() + static_cast<std::ptrdiff_t>(offset),
                 cam.begin() + static_cast<std::ptrdiff_t>(offset + sizes[i]));
      return;
    }
    offset += sizes[i];
  }
  throw tpictureerror(kAreaMissing);
}

bool IsJpegBearingCam(std::span<const std::uint8_t> cam) {
  if (cam.size() < 8) return false;
  const std::uint8_t id = cam[7];
  return id == 4 || id == 7 || id == 9 || id == 10 || id == 12;
}

std::size_t CamJpegOffset(std::span<const std::uint8_t> cam) {
  if (cam.size() < 6) throw tpictureerror(kAreaMissing);
  const std::size_t offset = static_cast<std::size_t>(cam[5]) * 16 + 6;
  if (offset >= cam.size()) throw tpictureerror(kAreaMissing);
  return offset;
}

void LoadCamPreview(std::span<const std::uint8_t> cam, TJPEGImage& image, bool& isjpeg) {
  if (IsJpegBearingCam(cam)) {
    isjpeg = true;
    const std::size_t offset = CamJpegOffset(cam);
    image.SetScale(JpegScale::jsEighth);
    image.LoadFromStream(cam, offset);
    return;
  }
  isjpeg = false;
  tbytes area;
  ExtractPictureArea(cam, area);
  tbytes jfif;
  RawToJfif(area, jfif);
  image.SetScale(JpegScale::jsFullSize);
  image.LoadFromStream(jfif);
}

void DecodeThumbnail(std::span<const std::uint8_t> raw, tbitmap& bitmap) {
  if (raw.size() < kRawThumbnailSize) throw tpictureerror("Thumbnail data too short");
  bitmap = tbitmap(kThumbnailWidth, kThumbnailHeight, PixelFormat::pf24bit);
  for (int y = 0; y < kThumbnailHeight; ++y) {
    std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < kThumbnailWidth; ++x) {
      const std::size_t chroma = static_cast<std::size_t>((y / 2) * 26 + x / 2);
      const int luma = raw[static_cast<std::size_t>(y * kThumbnailWidth + x)];
      const int cb = static_cast<std::int8_t>(raw[1872 + chroma]);
      const int cr = static_cast<std::int8_t>(raw[2340 + chroma]);
      const tcolor c = ThumbYccToRgb(luma, cb, cr);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
  }
}

void DecodeJpegThumbnail(std::span<const std::uint8_t> jpeg, tbitmap& bitmap) {
  const tbitmap decoded = DecodeJpeg(jpeg, JpegScale::jsFullSize, kThumbnailDecodeLimits);
  if (bitmap.Width() == 0)
    bitmap = tbitmap(kThumbnailWidth, kThumbnailHeight, PixelFormat::pf24bit);
  detail::StretchNearest(decoded, bitmap);
}

}  // namespace vantlo
