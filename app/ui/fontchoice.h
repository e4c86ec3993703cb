// "Font..." of the contact sheet and page setup dialogs: the system font dialog for name, size
// and style, then the colour dialog for the colour (the Windows font dialog had both on one
// page). The name is cut to 32 characters, as the records keep it.
#pragma once

#include <functional>
#include <optional>

#include "output/drawhelpers.h"

class QWidget;

namespace vantlo {

// Returns the chosen font, nothing when either dialog was cancelled.
using tfontchooser = std::function<std::optional<tfontsetting>(const tfontsetting&, QWidget*)>;
std::optional<tfontsetting> ChooseFontWithDialogs(const tfontsetting& current, QWidget* parent);

}  // namespace vantlo
