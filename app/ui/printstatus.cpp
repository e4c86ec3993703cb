#include "printstatus.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "output/acprinter.h"

namespace vantlo {

namespace {

constexpr int kGap = 5;

}  // namespace

QImage RenderPrintPreview(QSize area, bool landscape, int rows, int columns, int used) {
  QImage img(area, QImage::Format_RGB32);
  img.fill(Qt::white);
  if (area.isEmpty() || rows <= 0 || columns <= 0) return img;
  // The page: 3 : 4 (portrait) or 4 : 3 (landscape), as large as the area allows, centred.
  const double aspect = landscape ? 4.0 / 3.0 : 3.0 / 4.0;
  int pw = area.width();
  int ph = static_cast<int>(pw / aspect);
  if (ph > area.height()) {
    ph = area.height();
    pw = static_cast<int>(ph * aspect);
  }
  const QRect page((area.width() - pw) / 2, (area.height() - ph) / 2, pw, ph);
  QPainter p(&img);
  p.fillRect(page, Qt::gray);
  const int cw = (pw - kGap * (columns + 1)) / columns;
  const int ch = (ph - kGap * (rows + 1)) / rows;
  if (cw <= 0 || ch <= 0) return img;
  for (int k = 0; k < rows * columns; ++k) {
    const int c = k % columns;
    const int r = k / columns;
    const QRect cell(page.left() + kGap + c * (cw + kGap), page.top() + kGap + r * (ch + kGap), cw,
                     ch);
    if (k < used)
      p.fillRect(cell, Qt::green);
    else
      p.fillRect(cell, QBrush(Qt::lightGray, Qt::Dense4Pattern));
  }
  return img;
}

tprintpreview::tprintpreview(QWidget* parent) : QWidget(parent) { setMinimumSize(120, 120); }

void tprintpreview::SetPage(bool landscape, int rows, int columns, int used) {
  landscape_ = landscape;
  rows_ = rows;
  columns_ = columns;
  used_ = used;
  update();
}

void tprintpreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, RenderPrintPreview(size(), landscape_, rows_, columns_, used_));
}

Tprintstatus::Tprintstatus(tacprinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer) {
  setObjectName("printstatus");
  setWindowTitle("Print Status");
  auto* lay = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* grid = new QGridLayout;
  const char* names[] = {"Orientation", "Columns", "Rows", "Pictures per page",
                         "Pictures on this page"};
  QLabel** values[] = {&OrientationLabel, &ColumnsLabel, &RowsLabel, &PerPageLabel, &OnPageLabel};
  for (int i = 0; i < 5; ++i) {
    grid->addWidget(new QLabel(names[i]), i, 0);
    *values[i] = new QLabel;
    grid->addWidget(*values[i], i, 1);
  }
  left->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  CancelPrintingButton = new QPushButton("Cancel Printing");
  SendButton = new QPushButton("Send to Printer");
  CloseButton = new QPushButton("Close");
  CloseButton->setDefault(true);
  CancelPrintingButton->setAutoDefault(false);
  SendButton->setAutoDefault(false);
  buttons->addWidget(CancelPrintingButton);
  buttons->addWidget(SendButton);
  buttons->addWidget(CloseButton);
  left->addLayout(buttons);
  lay->addLayout(left);
  Preview = new tprintpreview;
  lay->addWidget(Preview);
  connect(CancelPrintingButton, &QPushButton::clicked, this, &Tprintstatus::CancelPrintingClick);
  connect(SendButton, &QPushButton::clicked, this, &Tprintstatus::SendToPrinterClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  Refresh();
}

void Tprintstatus::Refresh() {
  const tprintdevice* device = printer_.Device();
  const bool landscape = device && device->Landscape();
  const int count = printer_.Printing() ? printer_.CountOnPage() : 0;
  OrientationLabel->setText(landscape ? ": Landscape" : ": Portrait");
  ColumnsLabel->setText(QString(": %1").arg(printer_.Columns()));
  RowsLabel->setText(QString(": %1").arg(printer_.Rows()));
  PerPageLabel->setText(QString(": %1").arg(printer_.Rows() * printer_.Columns()));
  OnPageLabel->setText(QString(": %1").arg(count));
  CancelPrintingButton->setEnabled(count > 0);
  SendButton->setEnabled(count > 0);
  Preview->SetPage(landscape, printer_.Rows(), printer_.Columns(), count);
}

void Tprintstatus::CancelPrintingClick() {
  printer_.AbortJob();
  Refresh();
}

void Tprintstatus::SendToPrinterClick() {
  try {
    printer_.FinishJob();
  } catch (const std::exception& e) {
    QMessageBox::critical(this, "Vantlo", QString::fromStdString(e.what()));
  }
  Refresh();
}

}  // namespace vantlo
