#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "app/portscan.h"

class QLabel;
class QPushButton;

namespace vantlo {

class tcameralink;

// "Camera Connection Wizard": tests COM1: to COM8: in order and offers the
// port where a camera answered. Created on first use and reused.
class Tconnectionwiz : public QDialog, public tportscanview {
  Q_OBJECT
 public:
  explicit Tconnectionwiz(QWidget* parent = nullptr);
  ~Tconnectionwiz() override;

  // Before each showing: remembers the engine's port, resets every row.
  void Prepare(tcameralink& link);
  // After the window closes: OK puts the engine on the detected port,
  // cancel back on the remembered one.
  void Finish(bool useDetected);
  std::string DetectedPort() const;

  void TestAllPortsClick();
  void CancelClick();
  // Any way of closing the window (Cancel, Escape, the close box, closing
  // the program) stops the scan before the next port.
  void reject() override;

  // tportscanview
  void RowTesting(int row) override;
  void RowResult(int row, int status, const std::string& statusText,
                 const std::string& errorText) override;
  void CameraFound(int row, const std::string& portName) override;
  void Pump() override;

  QPushButton* TestAllButton = nullptr;
  QPushButton* UseDetectedButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QLabel* ResultLine = nullptr;
  std::array<QLabel*, 8> NameCells{};
  std::array<QLabel*, 8> StatusCells{};
  std::array<QLabel*, 8> ErrorCells{};

 private:
  static void SetBold(QLabel* label, bool bold);
  void FitHeight();
  std::unique_ptr<tportscan> scan_;
  tcameralink* link_ = nullptr;
};

}  // namespace vantlo
