// Decoding a camera file from disk into a finished picture, whatever its
// form: a CAM file, a raw-data cache file (".rcd": raw camera data followed
// by one picture-kind byte), raw camera data, or a JPEG file. The form is
// told from the content, never from the file's name. Used by
// `vantlo-cli decode`.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"

namespace vantlo {

class tpicturepipeline;

enum class tcamerafilekind { Unknown, Cam, Cache, Raw, Jpeg };

// "CAM file", "raw cache file", "raw camera data", "JPEG file", "unknown".
std::string CameraFileKindText(tcamerafilekind kind);

// CAM: starts with the CAM start marker 07 20 4D 4D. Raw: first byte 00 or
// 01; a cache file when exactly one byte (a picture kind 1..6) follows the
// scans that the raw header declares. JPEG: starts with FF D8; a cache file
// when a picture kind byte follows the end-of-image marker at the very end.
tcamerafilekind DetectCameraFile(std::span<const std::uint8_t> data);

// Decodes `data` through the pipeline (its settings as the caller set them)
// into `picture`, then applies the correction. The picture is prepared with
// the pipeline's JPEG settings first, so saving it compresses at the
// pipeline's quality. Returns the kind found. Throws tpictureerror with the
// step's message for damaged input; "Unsupported Camera Format" when the
// content is none of the known forms.
tcamerafilekind DecodeCameraFile(std::span<const std::uint8_t> data, tpicturepipeline& pipeline,
                                 const tcorrectionchoice& correction, TJPEGImage& picture,
                                 const tpictureprogress& progress = {});

}  // namespace vantlo
