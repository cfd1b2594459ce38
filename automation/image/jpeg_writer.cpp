#include "automation/image/jpeg_writer.h"

#include <algorithm>

#if defined(MAQO_HAVE_JPEG)
#include <cstdio>
#include <cstdlib>
#include <csetjmp>
#include <vector>

#include <jpeglib.h>
#endif

namespace maqo::automation {

#if defined(MAQO_HAVE_JPEG)

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the encoder's boundary instead of ending the process.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf back;
};

void onJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->back, 1); }
void silent(j_common_ptr, int) {}
void silentMessage(j_common_ptr) {}

}  // namespace

bool JpegAvailable() { return true; }

std::optional<std::string> WriteJpeg(const platform::PixelBuffer& picture, int quality) {
  if (picture.empty()) return std::nullopt;
  jpeg_compress_struct info{};
  ErrorJump errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = onJpegError;
  errors.manager.emit_message = silent;
  errors.manager.output_message = silentMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  // Everything the jump could skip the release of lives outside this frame's
  // automatic objects with destructors: the row is a plain vector made before.
  std::vector<unsigned char> row(static_cast<size_t>(picture.width) * 3);
  if (setjmp(errors.back) != 0) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return std::nullopt;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const uint32_t* src = picture.row(static_cast<int>(info.next_scanline));
    for (int x = 0; x < picture.width; ++x) {
      const size_t at = static_cast<size_t>(x) * 3;
      row[at] = static_cast<unsigned char>(src[x] >> 16);
      row[at + 1] = static_cast<unsigned char>(src[x] >> 8);
      row[at + 2] = static_cast<unsigned char>(src[x]);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

#else

bool JpegAvailable() { return false; }
std::optional<std::string> WriteJpeg(const platform::PixelBuffer&, int) { return std::nullopt; }

#endif

}  // namespace maqo::automation
