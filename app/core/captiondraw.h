// Drawing a caption onto a picture with QtGui's QPainter on a QImage (no widgets). A
// QGuiApplication must exist (the window program has one; a headless tool starts one on the
// "offscreen" platform), because fonts come from the GUI library.
#pragma once

#include <string_view>

#include "app/core/captionlayout.h"
#include "app/core/captions.h"
#include "picture/bitmap.h"

namespace vantlo {

// Draws `caption` (UTF-8, or Latin-1 when not valid UTF-8) onto the 24-bit `image` in place, with
// the style's font, colour, background and position. Returns where it went.
tcaptionlayout DrawCaption(tbitmap& image, std::string_view caption, const tcaptionstyle& style);

// Writes the caption of picture n as the setting asks (asking `prompt` for "Prompt each time";
// null prompt: no caption). Returns false when nothing was written. Throws tcaptionerror for a
// template with an unmatched "<".
bool WriteCaption(tbitmap& image, long picnum, const tcaptionsetting& setting,
                  const tfieldtexts& texts, tcaptionprompt* prompt);

// The caption dialog's preview: `sample` is filled with silver and the sample text of the
// setting ("Sample Caption" for "Prompt each time", the template expanded with picture 1
// otherwise, nothing for "No Caption") is drawn at (10, 10) with two blanks on each side.
void DrawCaptionSample(tbitmap& sample, const tcaptionsetting& setting, const tfieldtexts& texts);

}  // namespace vantlo
