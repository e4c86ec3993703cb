#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace vantlo {

// "Set Low Voltage Threshold": edits the battery threshold in volts.
class TLowvolts : public QDialog {
  Q_OBJECT
 public:
  TLowvolts(std::int32_t storedThreshold, QWidget* parent = nullptr);
  // The value to store after OK: tenths of a volt, 0 for exactly 4.0.
  std::int32_t StoredThreshold() const { return stored_; }

  void OkClick();
  void DefaultClick();

  QLineEdit* Edit1 = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* DefaultButton = nullptr;

 private:
  std::int32_t stored_;
};

}  // namespace vantlo
