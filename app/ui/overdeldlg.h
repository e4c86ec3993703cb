// Toverdeldlg ("Confirm"): asks whether to overwrite (or delete) one file, with "Yes" (default),
// "No" (also Escape) and "Yes to All". The question text is the caller's: "Do you want to
// overwrite " for saving, "Do you want to delete " for the disk browser.
#pragma once

#include <QDialog>
#include <string>

#include "app/core/overwrite.h"

class QLabel;
class QPushButton;

namespace vantlo {

class Toverdeldlg : public QDialog {
  Q_OBJECT
 public:
  enum class tanswer { yes, no, yesToAll };

  Toverdeldlg(const QString& question, const QString& fileName, QWidget* parent = nullptr);

  // Shows the dialog modally and gives the answer; closing it any other way is "No".
  tanswer Ask();
  tanswer Answer() const { return answer_; }

  QLabel* QuestionLabel = nullptr;
  QLabel* FileLabel = nullptr;
  QPushButton* YesButton = nullptr;
  QPushButton* NoButton = nullptr;
  QPushButton* YesToAllButton = nullptr;

 private:
  tanswer answer_ = tanswer::no;
};

// The overwrite question of the saving code, asked with Toverdeldlg.
class tdialogoverwrite : public toverwritequestion {
 public:
  explicit tdialogoverwrite(QWidget* parent) : parent_(parent) {}
  toverwriteanswer AskOverwrite(const std::string& path) override;

 private:
  QWidget* parent_;
};

}  // namespace vantlo
