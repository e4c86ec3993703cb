// A home folder of a test's own, so that what the window does by default (the Pictures folder,
// user-dirs.dirs) never reaches the real home folder.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>
#include <filesystem>

namespace vantlo {

// HOME and XDG_CONFIG_HOME point into a temporary folder holding an empty Pictures folder.
class ttemphome {
 public:
  ttemphome() : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    hadConfig_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (dir_.path() + "/.config").toUtf8());
    std::filesystem::create_directories(Path() / ".config");
    std::filesystem::create_directories(Pictures());
  }
  ~ttemphome() {
    qputenv("HOME", oldHome_);
    if (hadConfig_)
      qputenv("XDG_CONFIG_HOME", oldConfig_);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }
  std::filesystem::path Path() const { return std::filesystem::path(dir_.path().toStdString()); }
  std::filesystem::path Pictures() const { return Path() / "Pictures"; }

 private:
  QTemporaryDir dir_;
  QByteArray oldHome_, oldConfig_;
  bool hadConfig_ = false;
};

}  // namespace vantlo
