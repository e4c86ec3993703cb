// The small dialogs of the Browse page: "Rename File" (`prename`), "Define
// Orientation", and "Add Keywords to Selected Pictures" (`Taddkeywords`).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vantlo {

// "Rename File": the full path in an edit field; OK, "Skip" and "Cancel".
class prename : public QDialog {
  Q_OBJECT
 public:
  enum tanswer { Ok, Skip, Cancel };
  explicit prename(const std::string& path, QWidget* parent = nullptr);
  tanswer Answer() const { return answer_; }
  std::string NewPath() const;
  QLineEdit* Edit1 = nullptr;

 private:
  tanswer answer_ = Cancel;
};

// "Define Orientation": what is being defined (the current file, or how many CAM files are
// selected), "Select the correct orientation :" and the orientation list.
class Tdefineorientation : public QDialog {
  Q_OBJECT
 public:
  Tdefineorientation(const QString& prompt, int orientation, QWidget* parent = nullptr);
  int Orientation() const;
  QLabel* Prompt = nullptr;
  QLabel* Label1 = nullptr;  // "Select the correct orientation :"
  QComboBox* ComboBox1 = nullptr;
};

// "Add Keywords to Selected Pictures".
class Taddkeywords : public QDialog {
  Q_OBJECT
 public:
  explicit Taddkeywords(int selectedCount, QWidget* parent = nullptr);
  // The keyword lines as typed.
  std::vector<std::string> Lines() const;
  QLabel* Label1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace vantlo
