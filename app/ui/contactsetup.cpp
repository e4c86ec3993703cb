#include "contactsetup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/core/contactsheetcommand.h"
#include "app/ui/gridchoice.h"

namespace vantlo {

namespace {

constexpr double kSliderScale = 250.0;  // slider position = margin x 250, 0..10

}  // namespace

Tcontactsetup::Tcontactsetup(const tcontactrecord& contact, const tconfigrecord& config,
                             QWidget* parent)
    : QDialog(parent), contact_(contact), config_(config) {
  setObjectName("contactsetup");
  setWindowTitle("Contact Sheet Setup");
  auto* lay = new QVBoxLayout(this);

  // The record reads a stored margin outside 0..0.04 as its nearest end.
  auto* layout = new tgridchoice({"Make contact sheets using", "columns and ", "rows"},
                                 tcontactrecord::kMaxGrid, contact.Columns(), contact.Rows(),
                                 static_cast<int>(std::nearbyint(contact.Margin() * kSliderScale)));
  ColumnsEdit = layout->FirstEdit;
  RowsEdit = layout->SecondEdit;
  TotalLabel = layout->TotalLabel;
  MarginSlider = layout->MarginSlider;
  grid_ = layout;
  lay->addWidget(layout);

  auto* other = new QGroupBox(" Other ");
  auto* ol = new QVBoxLayout(other);
  BordersBox = new QCheckBox("Print Borders");
  BordersBox->setChecked(contact.PrintBorders());
  AutoSaveBox = new QCheckBox("AutoSave when sheet full");
  AutoSaveBox->setChecked(config.SaveContactSheets());
  ol->addWidget(BordersBox);
  ol->addWidget(AutoSaveBox);
  lay->addWidget(other);

  auto* size = new QGroupBox(" Contact Sheet Size ");
  auto* sl = new QGridLayout(size);
  WidthEdit = NumberBox(tcontactrecord::kMaxSheetSize, contact.SheetWidth());
  HeightEdit = NumberBox(tcontactrecord::kMaxSheetSize, contact.SheetHeight());
  sl->addWidget(new QLabel("Width "), 0, 0);
  sl->addWidget(WidthEdit, 0, 1);
  sl->addWidget(new QLabel("Pixels"), 0, 2);
  sl->addWidget(new QLabel("Height"), 1, 0);
  sl->addWidget(HeightEdit, 1, 1);
  sl->addWidget(new QLabel("Pixels"), 1, 2);
  lay->addWidget(size);

  auto* caption = new QGroupBox(" Caption ");
  auto* cl = new QVBoxLayout(caption);
  TitleBox = new QCheckBox("Picture Title");
  TitleBox->setChecked(contact.CaptionTitle());
  FilenameBox = new QCheckBox("Filename");
  FilenameBox->setChecked(contact.CaptionFilename());
  FileSizeBox = new QCheckBox("File Size");
  FileSizeBox->setChecked(contact.CaptionFileSize());
  FontButton = new QPushButton("Font...");
  FontButton->setAutoDefault(false);
  for (QWidget* w : std::initializer_list<QWidget*>{TitleBox, FilenameBox, FileSizeBox, FontButton})
    cl->addWidget(w);
  lay->addWidget(caption);

  lay->addLayout(OkCancelRow(*this, OkButton, CancelButton));

  connect(FontButton, &QPushButton::clicked, this, &Tcontactsetup::FontClick);
}

void Tcontactsetup::UpdateTotal() { grid_->UpdateTotal(); }

void Tcontactsetup::FontClick() {
  tfontsetting current;
  current.name = contact_.FontName();
  current.size = contact_.FontSize();
  current.colour = contact_.FontColour();
  current.style = contact_.FontStyle();
  const auto chosen = chooseFont ? chooseFont(current, this) : std::nullopt;
  if (!chosen) return;
  contact_.SetFontName(chosen->name);
  contact_.SetFontSize(chosen->size);
  contact_.SetFontColour(chosen->colour);
  contact_.SetFontStyle(chosen->style);
}

void Tcontactsetup::ApplyTo(tcontactrecord& r, tconfigrecord& config) const {
  r.SetFontName(contact_.FontName());
  r.SetFontSize(contact_.FontSize());
  r.SetFontColour(contact_.FontColour());
  r.SetFontStyle(contact_.FontStyle());
  r.SetColumns(ColumnsEdit->value());
  r.SetRows(RowsEdit->value());
  r.SetMargin(MarginSlider->value() / kSliderScale);
  r.SetPrintBorders(BordersBox->isChecked());
  r.SetSheetWidth(WidthEdit->value());
  r.SetSheetHeight(HeightEdit->value());
  r.SetCaptionTitle(TitleBox->isChecked());
  r.SetCaptionFilename(FilenameBox->isChecked());
  r.SetCaptionFileSize(FileSizeBox->isChecked());
  config.SetSaveContactSheets(AutoSaveBox->isChecked());
}

tcontactrecord Tcontactsetup::Contact() const {
  tcontactrecord r = contact_;
  tconfigrecord c = config_;
  ApplyTo(r, c);
  return r;
}

tconfigrecord Tcontactsetup::Config() const {
  tcontactrecord r = contact_;
  tconfigrecord c = config_;
  ApplyTo(r, c);
  return c;
}

bool Tcontactsetup::Run(tsettingsrecords& records, tconman& manager, QWidget* parent,
                        const tfontchooser& chooser) {
  Tcontactsetup dlg(records.contact, records.config, parent);
  dlg.chooseFont = chooser;
  if (dlg.exec() != QDialog::Accepted) return false;
  // Only what the dialog edits goes back; the records' other settings stay as they are now.
  dlg.ApplyTo(records.contact, records.config);
  tcontactsheetcommand::ApplySetup(manager, records.contact);
  return true;
}

}  // namespace vantlo
