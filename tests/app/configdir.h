// A settings folder of a window test's own: VANTLO_CONFIG_DIR points into a temporary folder
// for the test's life and back to what it was after.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include "library/records.h"
#include "library/regconfig.h"

namespace vantlo {

class tconfigdir {
 public:
  tconfigdir() : old_(qgetenv("VANTLO_CONFIG_DIR")) {
    qputenv("VANTLO_CONFIG_DIR", dir_.path().toUtf8());
  }
  ~tconfigdir() { qputenv("VANTLO_CONFIG_DIR", old_); }
  QString Path() const { return dir_.path(); }
  // Stores the default settings, so the window is not on a first run: the welcome window would
  // otherwise come up modally half a second after a test shows the window.
  void NotAFirstRun() const {
    tregconfig reg;
    tconfigrecord defaults;
    reg.WriteConfig(defaults);
  }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
};

}  // namespace vantlo
