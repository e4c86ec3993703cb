#include "editpicprop.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "library/diskthumbmanager.h"

namespace vantlo {

QStringList OrientationNames() {
  return {"Normal", "Rotate Clockwise", "Upside Down", "Rotate Counter-clockwise"};
}

namespace {

QString Upper(const std::string& path) { return QString::fromStdString(path).toUpper(); }

QLabel* Thumb(const QImage& image) {
  auto* l = new QLabel;
  l->setFixedSize(80, 80);
  if (!image.isNull()) l->setPixmap(QPixmap::fromImage(image));
  return l;
}

QStringList Lines(const QPlainTextEdit* edit) {
  QString text = edit->toPlainText();
  if (text.endsWith('\n')) text.chop(1);
  return text.isEmpty() ? QStringList() : text.split('\n');
}

}  // namespace

Teditpicprop::Teditpicprop(const tpictureinfo& info, QWidget* parent) : QDialog(parent) {
  setObjectName("editpicprop");
  setWindowTitle("Picture Properties");
  props_.SetFile(info.path);
  props_.Load();
  const QString upper = Upper(info.path);
  const bool cam = upper.endsWith(".CAM");
  const bool jpeg = upper.endsWith(".JPG");

  auto* tabs = new QTabWidget;
  auto* details = new QWidget;
  auto* dl = new QHBoxLayout(details);
  dl->addWidget(Thumb(info.thumbnail), 0, Qt::AlignTop);
  auto* form = new QFormLayout;
  auto* pathLabel = new QLabel(QString::fromStdString(info.path));
  pathLabel->setWordWrap(true);
  form->addRow("File:", pathLabel);
  SizeLabel =
      new QLabel(QString::number(QFileInfo(QString::fromStdString(info.path)).size()) + " bytes");
  form->addRow("Size:", SizeLabel);
  TypeLabel = new QLabel(jpeg ? "JPEG File" : cam ? "CAM File" : "");
  form->addRow("Type:", TypeLabel);
  DimensionsLabel = new QLabel;
  if (jpeg && info.width > 0 && info.height > 0)
    DimensionsLabel->setText(QString::number(info.width) + " x " + QString::number(info.height));
  if (cam) DimensionsLabel->setText(QString::fromStdString(CamVariantText(info.camVariant)));
  form->addRow("", DimensionsLabel);
  Edit1 = new QLineEdit(QString::fromStdString(props_.Title()));
  Edit1->setMaxLength(255);
  form->addRow("Title:", Edit1);
  Orientation = new QComboBox;
  Orientation->addItems(OrientationNames());
  Orientation->setCurrentIndex(static_cast<int>(props_.Orientation()));
  form->addRow(cam ? "Orientation:" : "", Orientation);
  Orientation->setVisible(cam);
  dl->addLayout(form, 1);
  tabs->addTab(details, "Details");

  auto* desc = new QWidget;
  auto* dsl = new QHBoxLayout(desc);
  dsl->addWidget(Thumb(info.thumbnail), 0, Qt::AlignTop);
  QStringList lines;
  for (const auto& l : props_.Description()) lines << QString::fromStdString(l);
  Memo1 = new QPlainTextEdit(lines.join('\n'));
  dsl->addWidget(Memo1, 1);
  tabs->addTab(desc, "Description");

  auto* keys = new QWidget;
  auto* kl = new QHBoxLayout(keys);
  kl->addWidget(Thumb(info.thumbnail), 0, Qt::AlignTop);
  QStringList words;
  for (const auto& k : props_.Keywords().Items()) words << QString::fromStdString(k);
  Memo2 = new QPlainTextEdit(words.join('\n'));
  kl->addWidget(Memo2, 1);
  tabs->addTab(keys, "Keywords");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* clear = buttons->addButton("Clear", QDialogButtonBox::ResetRole);
  connect(clear, &QPushButton::clicked, this, &Teditpicprop::ClearFields);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    try {
      SaveFields();
      accept();
    } catch (const std::exception& e) {
      QMessageBox::warning(this, "Vantlo", QString::fromStdString(e.what()));
    }
  });
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(tabs);
  lay->addWidget(buttons);
  resize(460, 300);
}

void Teditpicprop::ClearFields() {
  Edit1->clear();
  Memo1->clear();
  Memo2->clear();
  Orientation->setCurrentIndex(0);
}

void Teditpicprop::SaveFields() {
  props_.SetTitle(Edit1->text().left(255).toStdString());
  props_.Keywords().Clear();
  for (const QString& k : Lines(Memo2)) props_.Keywords().Add(k.toStdString());
  props_.Description().clear();
  for (const QString& l : Lines(Memo1)) props_.Description().push_back(l.toStdString());
  props_.SetOrientation(static_cast<std::uint32_t>(std::max(0, Orientation->currentIndex())));
  props_.Save();
}

}  // namespace vantlo
