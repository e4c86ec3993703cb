// Tpagesetup ("Page Setup"): edits copies of the print layout: rows and columns (CONFIGD5),
// margin, borders, titles and their font (DISKMAN). "OK" gives the edited records back;
// "Cancel" changes nothing.
#pragma once

#include <QDialog>

#include "app/ui/fontchoice.h"
#include "library/records.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace vantlo {

class tgridchoice;
class tacprinter;

class Tpagesetup : public QDialog {
  Q_OBJECT
 public:
  Tpagesetup(const tconfigrecord& config, const tdiskmanrecord& diskman, QWidget* parent = nullptr);

  tconfigrecord Config() const;
  tdiskmanrecord DiskMan() const;
  // Writes only the settings the dialog edits into the records.
  void ApplyTo(tconfigrecord& config, tdiskmanrecord& diskman) const;

  // "Page Setup...": runs the dialog on copies of the records; on OK the printer takes the new
  // layout first. With a page pending that is refused: the box "Cannot change this while
  // printing" is shown and records and printer stay as they were (false). Otherwise the
  // records are copied back (true).
  static bool Run(tsettingsrecords& records, tacprinter& printer, QWidget* parent,
                  const tfontchooser& chooser = ChooseFontWithDialogs);

  void UpdateTotal();
  void FontClick();

  QSpinBox* RowsEdit = nullptr;
  QSpinBox* ColumnsEdit = nullptr;
  QLabel* TotalLabel = nullptr;
  QSlider* MarginSlider = nullptr;
  QCheckBox* BordersBox = nullptr;
  QCheckBox* TitlesBox = nullptr;
  QPushButton* FontButton = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  tfontchooser chooseFont = ChooseFontWithDialogs;

 private:
  tgridchoice* grid_ = nullptr;
  tconfigrecord config_;
  tdiskmanrecord diskman_;
};

}  // namespace vantlo
