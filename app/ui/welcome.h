#pragma once

#include <QDialog>

namespace vantlo {

// Shown once, on the first run.
class Twelcome : public QDialog {
  Q_OBJECT
 public:
  explicit Twelcome(QWidget* parent = nullptr);
};

}  // namespace vantlo
