// "MiniLab Default Actions" (Tdevelop): the MiniLab defaults of CONFIGD5 as four check boxes.
// It edits a copy; OK writes the boxes back, Cancel changes nothing.
#pragma once

#include <QDialog>

#include "library/records.h"

class QCheckBox;

namespace vantlo {

class Tdevelop : public QDialog {
  Q_OBJECT
 public:
  Tdevelop(tconfigrecord& config, QWidget* parent = nullptr);
  void accept() override;

  QCheckBox* FetchThumbnails = nullptr;  // byte 2524
  QCheckBox* SaveJpegs = nullptr;        // 2527
  QCheckBox* SaveCam = nullptr;          // 2528
  QCheckBox* PrintPictures = nullptr;    // 2529

 private:
  tconfigrecord& config_;
};

}  // namespace vantlo
