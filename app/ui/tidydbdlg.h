// "Compress Properties Database" (`Ttidydb`): removes companion properties
// files whose picture is gone, under a chosen folder, with progress and Stop.
#pragma once

#include <QDialog>
#include <string>

#include "library/tidydb.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantlo {

class Ttidydb : public QDialog {
  Q_OBJECT
 public:
  Ttidydb(const std::string& root, QWidget* parent = nullptr);
  // The Compress button; the result is also kept for the caller.
  void CompressClick();
  const ttidyresult& Result() const { return result_; }

  QLineEdit* Folder = nullptr;
  QLabel* Status = nullptr;
  QLabel* Counter = nullptr;
  QPushButton* CompressButton = nullptr;
  QPushButton* StopButton = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  ttidyresult result_;
  bool running_ = false;
  bool stop_ = false;
};

}  // namespace vantlo
