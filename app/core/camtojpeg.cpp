#include "app/core/camtojpeg.h"

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "library/atomicfile.h"
#include "library/hiddenlist.h"
#include "library/pictureproperties.h"

namespace vantlo {

namespace fs = std::filesystem;

std::string JpegNameForCam(const std::string& camPath) {
  const auto slash = camPath.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : camPath.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? camPath : camPath.substr(slash + 1);
  if (name.size() >= 3) name = name.substr(0, name.size() - 3) + "jpg";
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folder + name;
}

std::string tcamtojpegreport::Summary() const {
  std::string s = "Saved " + std::to_string(saved.size()) + ", skipped " +
                  std::to_string(skipped.size()) + ", failed " + std::to_string(failed.size());
  if (stopped) s += " (stopped)";
  return s;
}

namespace {

// Writes the picture to `target` without ever replacing a file (a file that appears under that
// name meanwhile is kept); the write is tried once more after a failure.
bool WriteNew(TJPEGImage& picture, const std::string& target, std::string& why) {
  std::vector<std::uint8_t> data;
  picture.SaveToStream(data);
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      WriteFileAtomic(target, data, 0666, texisting::keep);
      return true;
    } catch (const tfileerror& e) {
      if (e.Error() == EEXIST) {
        why = "already exists";
        return false;
      }
      why = e.what();
    }
  }
  return false;
}

}  // namespace

tcamtojpegreport SaveCamFilesAsJpegs(const std::vector<std::string>& files, tpicturedocument& doc,
                                     const tcamtojpegoptions& options) {
  tcamtojpegreport report;
  bool first = true;
  for (const std::string& file : files) {
    if (!first && options.stopRequested && options.stopRequested()) {
      report.stopped = true;
      break;
    }
    first = false;
    if (options.onFile) options.onFile(file);
    try {
      if (doc.OpenPictureFile(file, options.open) == tpicturefiletype::None) {
        report.skipped.push_back(file);
        continue;
      }
    } catch (const std::exception& e) {
      report.failed.push_back(file + ": " + e.what());
      continue;
    }
    if (doc.Kind() != tpicturekind::CamFile) {
      report.skipped.push_back(file);
      continue;
    }
    if (PictureFileType(file) != tpicturefiletype::Cam) {
      report.error = "Error trying to save CAM file " + file;
      break;
    }
    const std::string target = JpegNameForCam(file);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) {
      report.skipped.push_back(file);
      continue;
    }
    doc.ApplyJpegSettings();
    std::string why;
    if (!WriteNew(doc.Picture(), target, why)) {
      if (why == "already exists")
        report.skipped.push_back(file);
      else
        report.failed.push_back(file + ": " + why);
      continue;
    }
    report.saved.push_back(target);
    // The properties go along; a failure here does not undo the picture.
    try {
      const std::string from = CompanionPath(file);
      if (fs::exists(from, ec)) {
        const std::string to = CompanionPath(target);
        if (fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) && !ec)
          AddToHiddenList(to);
      }
    } catch (const std::exception&) {
    }
  }
  return report;
}

}  // namespace vantlo
