// Tprintstatus ("Print Status"): the print buffer at a glance: orientation, columns, rows,
// pictures per page and on the current page, with a preview of the page whose used cells are
// solid green and free cells dotted grey. "Cancel Printing" drops the pending page, "Send to
// Printer" prints it; both are disabled while the page is empty.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vantlo {

class tacprinter;

// The preview of a page: three quarters as wide as high in portrait (the other way round in
// landscape), grey, with a 5-pixel gap around rows x columns cells filled row by row.
QImage RenderPrintPreview(QSize area, bool landscape, int rows, int columns, int used);

class tprintpreview : public QWidget {
 public:
  explicit tprintpreview(QWidget* parent = nullptr);
  void SetPage(bool landscape, int rows, int columns, int used);
  QSize sizeHint() const override { return QSize(160, 160); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool landscape_ = false;
  int rows_ = 1;
  int columns_ = 1;
  int used_ = 0;
};

class Tprintstatus : public QDialog {
  Q_OBJECT
 public:
  explicit Tprintstatus(tacprinter& printer, QWidget* parent = nullptr);

  // Shows the printer's state again (after a button, or when opened).
  void Refresh();
  void CancelPrintingClick();
  void SendToPrinterClick();

  QLabel* OrientationLabel = nullptr;
  QLabel* ColumnsLabel = nullptr;
  QLabel* RowsLabel = nullptr;
  QLabel* PerPageLabel = nullptr;
  QLabel* OnPageLabel = nullptr;
  tprintpreview* Preview = nullptr;
  QPushButton* CancelPrintingButton = nullptr;
  QPushButton* SendButton = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  tacprinter& printer_;
};

}  // namespace vantlo
