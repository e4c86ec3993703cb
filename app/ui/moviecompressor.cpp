#include "app/ui/moviecompressor.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace vantlo {

tmoviecompressor::tmoviecompressor(QWidget* parent) : QDialog(parent), codecs_(AvailableCodecs()) {
  setObjectName("MovieCompressor");
  setWindowTitle("Video Compression");
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new QLabel("Compressor:"));
  Codecs = new QListWidget;
  Codecs->setObjectName("Codecs");
  for (tmoviecodec c : codecs_) Codecs->addItem(CodecName(c));
  if (codecs_.size() > 1) Codecs->setCurrentRow(1);
  lay->addWidget(Codecs);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Codecs, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  lay->addWidget(buttons);
}

std::optional<tmoviecodec> tmoviecompressor::Chosen() const {
  const int row = Codecs->currentRow();
  if (row < 0 || row >= static_cast<int>(codecs_.size())) return std::nullopt;
  return codecs_[static_cast<std::size_t>(row)];
}

}  // namespace vantlo
