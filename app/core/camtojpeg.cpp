#include "app/core/camtojpeg.h"

#include <cctype>
#include <filesystem>
#include <system_error>

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

// Writes the picture to `target` without ever replacing a file: the data go
// to a temp name in the same folder, which is then linked to the target name
// (link fails when the name exists) and removed.
bool WriteNew(TJPEGImage& picture, const std::string& target, std::string& why) {
  std::vector<std::uint8_t> data;
  picture.SaveToStream(data);
  const std::string temp = target + ".vantlo-tmp";
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::error_code ec;
    {
      std::FILE* f = std::fopen(temp.c_str(), "wbx");
      if (!f) {
        why = "cannot write " + temp;
        fs::remove(temp, ec);
        continue;
      }
      const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
      const bool closed = std::fclose(f) == 0;
      if (!ok || !closed) {
        why = "cannot write " + temp;
        fs::remove(temp, ec);
        continue;
      }
    }
    fs::create_hard_link(temp, target, ec);
    if (ec) {
      // File systems without hard links: rename after a last check.
      if (fs::exists(target)) {
        fs::remove(temp, ec);
        why = "already exists";
        return false;
      }
      fs::rename(temp, target, ec);
      if (ec) {
        why = ec.message();
        fs::remove(temp, ec);
        continue;
      }
      return true;
    }
    fs::remove(temp, ec);
    return true;
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
