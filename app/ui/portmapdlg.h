#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace vantlo {

// "Port Devices": the device each COM port name opens. Stored with the
// settings; VANTLO_COM1..8 in the environment still win over it.
class Tportmapdlg : public QDialog {
  Q_OBJECT
 public:
  explicit Tportmapdlg(QWidget* parent = nullptr);
  void OkClick();
  std::array<QLineEdit*, 8> DeviceEdits{};
};

}  // namespace vantlo
