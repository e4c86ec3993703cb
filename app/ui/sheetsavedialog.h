// "Save Contact Sheet As": the save dialog the sheet-finished notification shows when
// "Contact Sheets" (AutoSave when sheet full) is off.
#pragma once

#include "app/core/sheetsaver.h"

class QWidget;

namespace vantlo {

// A name asker for tsheetsaver::SaveFinishedSheet that shows the dialog (filters JPEG and CAM,
// JPEG chosen) over `parent`.
tsheetsaver::taskname SheetSaveDialog(QWidget* parent);

}  // namespace vantlo
