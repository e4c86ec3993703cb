#include "pagesetup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "app/core/printcommand.h"
#include "app/ui/gridchoice.h"

namespace vantlo {

namespace {

constexpr double kSliderScale = 100.0;  // slider position = margin x 100, 0..10
constexpr int kMaxGrid = 6;

}  // namespace

Tpagesetup::Tpagesetup(const tconfigrecord& config, const tdiskmanrecord& diskman, QWidget* parent)
    : QDialog(parent), config_(config), diskman_(diskman) {
  setObjectName("pagesetup");
  setWindowTitle("Page Setup");
  auto* lay = new QVBoxLayout(this);
  // The record reads a stored margin outside 0..0.1 as its nearest end.
  auto* layout =
      new tgridchoice({"Print pictures using", "rows and ", "columns"}, kMaxGrid,
                      config.PrintRows(), config.PrintColumns(),
                      static_cast<int>(std::nearbyint(diskman.PrintMargin() * kSliderScale)));
  RowsEdit = layout->FirstEdit;
  ColumnsEdit = layout->SecondEdit;
  TotalLabel = layout->TotalLabel;
  MarginSlider = layout->MarginSlider;
  grid_ = layout;
  lay->addWidget(layout);

  auto* titles = new QGroupBox(" Titles and Borders : ");
  auto* tl = new QVBoxLayout(titles);
  BordersBox = new QCheckBox("Print Borders");
  BordersBox->setChecked(diskman.PrintBorders());
  TitlesBox = new QCheckBox("Print Titles");
  TitlesBox->setChecked(diskman.PrintTitles());
  FontButton = new QPushButton("Font...");
  FontButton->setAutoDefault(false);
  tl->addWidget(BordersBox);
  tl->addWidget(TitlesBox);
  tl->addWidget(FontButton);
  lay->addWidget(titles);

  lay->addLayout(OkCancelRow(*this, OkButton, CancelButton));

  connect(FontButton, &QPushButton::clicked, this, &Tpagesetup::FontClick);
}

void Tpagesetup::UpdateTotal() { grid_->UpdateTotal(); }

void Tpagesetup::FontClick() {
  tfontsetting current;
  current.name = diskman_.PrintFontName();
  current.size = diskman_.PrintFontSize();
  current.colour = diskman_.PrintFontColour();
  current.style = diskman_.PrintFontStyle();
  const auto chosen = chooseFont ? chooseFont(current, this) : std::nullopt;
  if (!chosen) return;
  diskman_.SetPrintFontName(chosen->name);
  diskman_.SetPrintFontSize(chosen->size);
  diskman_.SetPrintFontColour(chosen->colour);
  diskman_.SetPrintFontStyle(chosen->style);
}

void Tpagesetup::ApplyTo(tconfigrecord& config, tdiskmanrecord& r) const {
  config.SetPrintRows(RowsEdit->value());
  config.SetPrintColumns(ColumnsEdit->value());
  r.SetPrintFontName(diskman_.PrintFontName());
  r.SetPrintFontSize(diskman_.PrintFontSize());
  r.SetPrintFontColour(diskman_.PrintFontColour());
  r.SetPrintFontStyle(diskman_.PrintFontStyle());
  r.SetPrintMargin(MarginSlider->value() / kSliderScale);
  r.SetPrintBorders(BordersBox->isChecked());
  r.SetPrintTitles(TitlesBox->isChecked());
}

tconfigrecord Tpagesetup::Config() const {
  tconfigrecord c = config_;
  tdiskmanrecord d = diskman_;
  ApplyTo(c, d);
  return c;
}

tdiskmanrecord Tpagesetup::DiskMan() const {
  tconfigrecord c = config_;
  tdiskmanrecord d = diskman_;
  ApplyTo(c, d);
  return d;
}

bool Tpagesetup::Run(tsettingsrecords& records, tacprinter& printer, QWidget* parent,
                     const tfontchooser& chooser) {
  Tpagesetup dlg(records.config, records.diskman, parent);
  dlg.chooseFont = chooser;
  if (dlg.exec() != QDialog::Accepted) return false;
  // Only what the dialog edits goes back; the records' other settings stay as they are now.
  tconfigrecord config = records.config;
  tdiskmanrecord diskman = records.diskman;
  dlg.ApplyTo(config, diskman);
  try {
    tprintcommand::ApplyPageSetup(printer, config, diskman);
  } catch (const std::exception& e) {
    QMessageBox::critical(parent, "Vantlo", QString::fromStdString(e.what()));
    return false;
  }
  records.config = config;
  records.diskman = diskman;
  return true;
}

}  // namespace vantlo
