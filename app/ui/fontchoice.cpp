#include "fontchoice.h"

#include <QColorDialog>
#include <QFontDialog>

#include "library/records/recordbytes.h"

namespace vantlo {

std::optional<tfontsetting> ChooseFontWithDialogs(const tfontsetting& current, QWidget* parent) {
  bool ok = false;
  QFont start = DeviceFont(current);
  const QFont font = QFontDialog::getFont(&ok, start, parent);
  if (!ok) return std::nullopt;
  const QColor colour = QColorDialog::getColor(ToQColor(current.colour), parent);
  if (!colour.isValid()) return std::nullopt;
  tfontsetting out;
  out.name = std::string(recordbytes::FitString(font.family().toStdString(), 32));
  out.size = font.pointSize() > 0 ? font.pointSize() : current.size;
  out.colour = FromQColor(colour);
  out.style = static_cast<std::uint8_t>((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) |
                                        (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0));
  return out;
}

}  // namespace vantlo
