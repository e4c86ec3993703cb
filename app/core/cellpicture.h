// Opening a picture file for a contact sheet cell or a printed page, as the window opens it
// for display but no larger than it is drawn: a JPEG file is decoded at the smallest DCT scale
// that covers the cell; CAM and raw cache files go through the picture document (decoding,
// stored orientation, caption, correction mode).
#pragma once

#include <string>

#include "app/core/picturedocument.h"
#include "output/cellgeometry.h"

namespace vantlo {

// Throws tpictureopenerror with the user's message for missing or damaged files, and for
// files that are not ".JPG", ".CAM" or ".RCD".
TJPEGImage OpenPictureForCell(const std::string& path, const tcellrect& cell, tpicturedocument& doc,
                              const tpictureopenoptions& options);

// The title a printed picture carries: from the properties file of a JPEG or CAM file, empty for
// anything else (and when the properties cannot be read).
std::string PrintTitleOf(const std::string& path);

}  // namespace vantlo
