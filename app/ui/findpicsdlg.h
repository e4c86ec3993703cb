// "Find Pictures" (`Tfindpics`): searches a folder tree by keywords, title,
// description, file name or any property, with Stop; the results go to the
// disk browser when the dialog closes.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "library/findpics.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vantlo {

class Tfindpics : public QDialog {
  Q_OBJECT
 public:
  Tfindpics(const std::string& startFolder, QWidget* parent = nullptr);
  // The Find button.
  void FindClick();
  // The second button: Stop while searching, otherwise Close (confirmed).
  void SecondClick();
  const std::vector<std::string>& Results() const { return results_; }
  bool Searching() const { return searching_; }
  // Escape or the close box: during a search they stop it first, and the dialog closes once
  // the search has ended.
  void reject() override;

  // Shows a message to the user (tests replace it).
  std::function<void(const QString& text)> message;

  QLineEdit* Edit1 = nullptr;      // search text
  QComboBox* ComboBox1 = nullptr;  // match mode
  QLineEdit* Folder = nullptr;
  QCheckBox* Subfolders = nullptr;
  QCheckBox* JpgFiles = nullptr;
  QCheckBox* CamFiles = nullptr;
  QPushButton* FindButton = nullptr;
  QPushButton* SecondButton = nullptr;
  QLabel* Status = nullptr;
  QListWidget* ListBox1 = nullptr;

 private:
  std::string startFolder_;
  std::vector<std::string> results_;
  bool searching_ = false;
  bool stop_ = false;
  bool rejectAfterSearch_ = false;
};

}  // namespace vantlo
