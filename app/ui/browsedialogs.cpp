#include "browsedialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editpicprop.h"
#include "library/keywords.h"

namespace vantlo {

prename::prename(const std::string& path, QWidget* parent) : QDialog(parent) {
  setObjectName("prename");
  setWindowTitle("Rename File");
  Edit1 = new QLineEdit(QString::fromStdString(path));
  Edit1->setMinimumWidth(420);
  auto* ok = new QPushButton("OK");
  auto* skip = new QPushButton("Skip");
  auto* cancel = new QPushButton("Cancel");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] {
    answer_ = Ok;
    accept();
  });
  connect(skip, &QPushButton::clicked, this, [this] {
    answer_ = Skip;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    answer_ = Cancel;
    reject();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (auto* b : {ok, skip, cancel}) buttons->addWidget(b);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(Edit1);
  lay->addLayout(buttons);
}

std::string prename::NewPath() const { return Edit1->text().toStdString(); }

Tdefineorientation::Tdefineorientation(const QString& prompt, int orientation, QWidget* parent)
    : QDialog(parent) {
  setObjectName("defineorientation");
  setWindowTitle("Define Orientation");
  ComboBox1 = new QComboBox;
  ComboBox1->addItems(OrientationNames());
  ComboBox1->setCurrentIndex(orientation >= 0 && orientation <= 3 ? orientation : 0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Prompt = new QLabel(prompt);
  Label1 = new QLabel("Select the correct orientation :");
  Label1->setBuddy(ComboBox1);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(Prompt);
  lay->addWidget(Label1);
  lay->addWidget(ComboBox1);
  lay->addWidget(buttons);
}

int Tdefineorientation::Orientation() const { return std::max(0, ComboBox1->currentIndex()); }

Taddkeywords::Taddkeywords(int selectedCount, QWidget* parent) : QDialog(parent) {
  setObjectName("addkeywords");
  setWindowTitle("Add Keywords to Selected Pictures");
  Label1 = new QLabel(QString::fromStdString(SelectedPicturesText(selectedCount)));
  Memo1 = new QPlainTextEdit;
  auto* buttons = new QDialogButtonBox;
  buttons->addButton("Add", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(Label1);
  lay->addWidget(new QLabel("Keywords, one per line:"));
  lay->addWidget(Memo1);
  lay->addWidget(buttons);
}

std::vector<std::string> Taddkeywords::Lines() const {
  std::vector<std::string> out;
  for (const QString& l : Memo1->toPlainText().split('\n')) out.push_back(l.toStdString());
  return out;
}

}  // namespace vantlo
