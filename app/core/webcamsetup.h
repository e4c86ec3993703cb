// What webcam mode needs of the stored settings besides its own block, read the same way by the
// window's Vantlo page and by vantlo-cli webcam.
#pragma once

#include <optional>
#include <string>

#include "app/core/webcamworkflow.h"

namespace vantlo {

struct tsettingsrecords;

// The setup from the records: picture and JPEG settings, the webcam caption, the CAM switch, the
// daily folder, the quiet period, "Play Sound", the output size, the connection type and the
// USB drive's folder from the drive table `drivesFile`. `scanUsb` is left empty.
twebcamsetup WebcamSetupFrom(const tsettingsrecords& records, const std::string& drivesFile);

// The drive scan for a USB camera: the most recently mounted volume (or folder the user named)
// holding DCIM becomes the USB drive in `records` and in the drive table. nullopt when none is
// found or no drive letter is free.
std::optional<tusbcamera> ScanUsbCamera(tsettingsrecords& records, const std::string& drivesFile);

}  // namespace vantlo
