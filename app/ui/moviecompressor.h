// The compressor choice of "Save MiniMovie" ("Video Compression"): the codecs this machine
// can write, in a list; OK gives the one chosen, Cancel none.
#pragma once

#include <QDialog>
#include <optional>

#include "output/moviecodecs.h"

class QListWidget;

namespace vantlo {

class tmoviecompressor : public QDialog {
  Q_OBJECT
 public:
  explicit tmoviecompressor(QWidget* parent = nullptr);
  // The codec selected in the list; "Motion JPEG" (small files every player opens) until
  // another is chosen.
  std::optional<tmoviecodec> Chosen() const;

  QListWidget* Codecs = nullptr;

 private:
  std::vector<tmoviecodec> codecs_;
};

}  // namespace vantlo
