#include "app/ui/develop.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace vantlo {

Tdevelop::Tdevelop(tconfigrecord& config, QWidget* parent) : QDialog(parent), config_(config) {
  setObjectName("develop");
  setWindowTitle("MiniLab Default Actions");
  auto* lay = new QVBoxLayout(this);
  const auto box = [lay](const char* name, const char* text, bool on) {
    auto* b = new QCheckBox(text);
    b->setObjectName(name);
    b->setChecked(on);
    lay->addWidget(b);
    return b;
  };
  FetchThumbnails = box("FetchThumbnails", "Fetch Thumbnails", config.MiniLabFetchThumbnails());
  SaveJpegs = box("SaveJpegs", "Save Pictures as JPEGs", config.MiniLabSaveJpeg());
  SaveCam = box("SaveCam", "Save Pictures as CAM", config.MiniLabSaveCam());
  PrintPictures = box("PrintPictures", "Print Pictures", config.MiniLabPrint());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);
}

void Tdevelop::accept() {
  config_.SetMiniLabFetchThumbnails(FetchThumbnails->isChecked());
  config_.SetMiniLabSaveJpeg(SaveJpegs->isChecked());
  config_.SetMiniLabSaveCam(SaveCam->isChecked());
  config_.SetMiniLabPrint(PrintPictures->isChecked());
  QDialog::accept();
}

}  // namespace vantlo
