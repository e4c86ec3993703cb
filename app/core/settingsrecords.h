// The bridge between the stored settings records and the small settings structs the naming,
// saving and caption code works on, so that code stays testable without whole records.
#pragma once

#include "app/core/captions.h"
#include "app/core/naming.h"
#include "app/core/picturesaver.h"
#include "library/records.h"

namespace vantlo {

// Output folder, date or prefix naming, date style (EXTRA), daily folder, and the webcam-mode
// and AutoCapture prefixes.
tnamingsettings NamingSettingsFrom(const tsettingsrecords& records);
// Puts back what the naming routine may change: the output folder.
void StoreNamingSettings(const tnamingsettings& naming, tsettingsrecords& records);

// "Pictures in JPEG/CAM format", "Thumbnails", "Overwriting file".
tsaveoptions SaveOptionsFrom(const tconfigrecord& config);
// Puts back what saving may change: the "Overwriting file" confirmation ("Yes to All").
void StoreSaveOptions(const tsaveoptions& options, tconfigrecord& config);

// One caption setting; texts are cut to their fields and damaged values read as defaults.
tcaptionsetting CaptionSettingFrom(const tcaptionrecord& record);
tcaptionsetting CaptionSettingFrom(const tcapdatarecord& capdata, tcaptionkind kind);

}  // namespace vantlo
