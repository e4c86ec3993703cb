#include "app/core/cellpicture.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "library/pictureproperties.h"
#include "output/scaleddecode.h"

namespace vantlo {

namespace {

constexpr std::uintmax_t kMaxJpegFileBytes = 256u * 1024u * 1024u;
constexpr const char* kBadJpeg = "Unable to parse the JPEG data";

std::vector<std::uint8_t> ReadJpegFile(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxJpegFileBytes) throw tpictureopenerror(kBadJpeg);
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!in || static_cast<std::size_t>(in.gcount()) != data.size())
    throw tpictureopenerror(kBadJpeg);
  return data;
}

}  // namespace

TJPEGImage OpenPictureForCell(const std::string& path, const tcellrect& cell, tpicturedocument& doc,
                              const tpictureopenoptions& options) {
  switch (PictureFileType(path)) {
    case tpicturefiletype::Jpg: {
      if (options.progress) options.progress(10, "Loading");
      const std::vector<std::uint8_t> data = ReadJpegFile(path);
      TJPEGImage image;
      try {
        LoadJpegForCell(data, cell, image);
        if (image.Width() <= 0 || image.Height() <= 0) throw tpictureopenerror(kBadJpeg);
      } catch (const std::exception&) {
        throw tpictureopenerror(kBadJpeg);
      }
      return image;
    }
    case tpicturefiletype::Cam:
    case tpicturefiletype::Rcd:
      doc.OpenPictureFile(path, options);
      if (!doc.HasPicture()) throw tpictureopenerror("Unable to parse the CAM data");
      return doc.Picture();
    case tpicturefiletype::None:
      break;
  }
  throw tpictureopenerror("Not a picture file: " + path);
}

std::string PrintTitleOf(const std::string& path) {
  const tpicturefiletype type = PictureFileType(path);
  if (type != tpicturefiletype::Jpg && type != tpicturefiletype::Cam) return {};
  try {
    tpictureproperties props;
    props.SetFile(path);
    props.Load();
    return props.Title();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace vantlo
