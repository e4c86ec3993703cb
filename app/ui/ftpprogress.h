// TFTPprogress ("FTP Progress"): the FTP progress log as a list. "Close"
// hides it; "Save" writes the list as text, one line per entry.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace vantlo {

class tftplog;

class TFTPprogress : public QDialog {
  Q_OBJECT
 public:
  explicit TFTPprogress(tftplog& log, QWidget* parent = nullptr);
  ~TFTPprogress() override;

  // Asks for a file name, then SaveTo.
  void SaveClick();
  // Writes the list to `path`; a failure is shown in a message box.
  bool SaveTo(const QString& path);

  QListWidget* ListBox1 = nullptr;
  QPushButton* CloseButton = nullptr;
  QPushButton* SaveButton = nullptr;

 private:
  tftplog& log_;
};

}  // namespace vantlo
