// "Delete Empty Folders" (`Tdeleteempty`): removes the empty direct
// sub-folders of a folder (the output folder to start with).
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace vantlo {

class Tdeleteempty : public QDialog {
  Q_OBJECT
 public:
  Tdeleteempty(const std::string& folder, QWidget* parent = nullptr);
  // The Remove button; the text it showed is kept.
  void RemoveClick();
  QString LastMessage() const { return message_; }
  QLineEdit* Edit1 = nullptr;
  QLabel* Result = nullptr;

 private:
  QString message_;
};

}  // namespace vantlo
