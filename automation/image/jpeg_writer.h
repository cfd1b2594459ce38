// JPEG files of pixel buffers, through libjpeg-turbo where the build has it.
#pragma once
#include <optional>
#include <string>

#include "platform/pixel_buffer.h"

namespace maqo::automation {

// False in a build without a JPEG encoder.
bool JpegAvailable();

// A baseline JPEG of the picture with quality 1 (smallest) to 100 (best);
// nothing when the encoder failed or the build has none.
std::optional<std::string> WriteJpeg(const platform::PixelBuffer& picture, int quality);

}  // namespace maqo::automation
