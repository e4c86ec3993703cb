// "Picture Properties": title, description, keywords and (for CAM files)
// the orientation of one picture on disk, kept in its companion file.
#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "library/pictureproperties.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vantlo {

// What the browser knows about the item besides its path.
struct tpictureinfo {
  std::string path;
  QImage thumbnail;
  int camVariant = 0;  // for CAM files
  int width = 0;       // the picture size when the thumbnail builder decoded it
  int height = 0;
};

class Teditpicprop : public QDialog {
  Q_OBJECT
 public:
  // Loads the properties; throws tpropertieserror for other file types.
  Teditpicprop(const tpictureinfo& info, QWidget* parent = nullptr);
  // Puts the fields into the properties and saves them (the OK button).
  void SaveFields();
  // Empties title, description and keywords; orientation "Normal".
  void ClearFields();

  QLineEdit* Edit1 = nullptr;       // title
  QPlainTextEdit* Memo1 = nullptr;  // description
  QPlainTextEdit* Memo2 = nullptr;  // keywords
  QComboBox* Orientation = nullptr;
  QLabel* TypeLabel = nullptr;
  QLabel* SizeLabel = nullptr;
  QLabel* DimensionsLabel = nullptr;

 private:
  tpictureproperties props_;
};

// The orientation names in their stored order.
QStringList OrientationNames();

}  // namespace vantlo
