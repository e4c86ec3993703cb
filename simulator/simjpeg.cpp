#include "simulator/simjpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

// clang-format off
// jpeglib.h uses size_t and FILE without declaring them.
#include <jpeglib.h>
// clang-format on

namespace vantlo::camsim {

namespace {

struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
};

void OnError(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  info->err->format_message(info, trap->message);
  std::longjmp(trap->jump, 1);
}

void Silence(j_common_ptr, int) {}

// Owns a compress object; destroyed on every path.
struct Compressor {
  jpeg_compress_struct c{};
  ErrorTrap trap;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  ~Compressor() {
    jpeg_destroy_compress(&c);
    free(out);
  }
};

struct Decompressor {
  jpeg_decompress_struct d{};
  ErrorTrap trap;
  ~Decompressor() { jpeg_destroy_decompress(&d); }
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height,
                                int quality) {
  if (width <= 0 || height <= 0 || rgb.size() < static_cast<size_t>(width) * height * 3)
    throw std::runtime_error("EncodeJpeg: bad image size");
  Compressor k;
  k.c.err = jpeg_std_error(&k.trap.mgr);
  k.trap.mgr.error_exit = OnError;
  k.trap.mgr.emit_message = Silence;
  if (setjmp(k.trap.jump)) throw std::runtime_error(std::string("JPEG: ") + k.trap.message);
  jpeg_create_compress(&k.c);
  jpeg_mem_dest(&k.c, &k.out, &k.outSize);
  k.c.image_width = static_cast<JDIMENSION>(width);
  k.c.image_height = static_cast<JDIMENSION>(height);
  k.c.input_components = 3;
  k.c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&k.c);
  jpeg_set_quality(&k.c, quality, TRUE);
  jpeg_start_compress(&k.c, TRUE);
  while (k.c.next_scanline < k.c.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(k.c.next_scanline) * width * 3);
    jpeg_write_scanlines(&k.c, &row, 1);
  }
  jpeg_finish_compress(&k.c);
  return std::vector<uint8_t>(k.out, k.out + k.outSize);
}

std::vector<uint8_t> DecodeJpeg(const std::vector<uint8_t>& jpeg, int scaleDenom, int& width,
                                int& height) {
  if (jpeg.size() < 4) throw std::runtime_error("JPEG: file too short");
  Decompressor k;
  std::vector<uint8_t> rgb;  // declared before setjmp so a longjmp cannot skip its destructor
  k.d.err = jpeg_std_error(&k.trap.mgr);
  k.trap.mgr.error_exit = OnError;
  k.trap.mgr.emit_message = Silence;
  if (setjmp(k.trap.jump)) throw std::runtime_error(std::string("JPEG: ") + k.trap.message);
  jpeg_create_decompress(&k.d);
  jpeg_mem_src(&k.d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&k.d, TRUE);
  k.d.out_color_space = JCS_RGB;
  k.d.scale_num = 1;
  k.d.scale_denom = static_cast<unsigned>(scaleDenom);
  jpeg_start_decompress(&k.d);
  width = static_cast<int>(k.d.output_width);
  height = static_cast<int>(k.d.output_height);
  rgb.resize(static_cast<size_t>(width) * height * 3);
  while (k.d.output_scanline < k.d.output_height) {
    JSAMPROW row = rgb.data() + static_cast<size_t>(k.d.output_scanline) * width * 3;
    jpeg_read_scanlines(&k.d, &row, 1);
  }
  jpeg_finish_decompress(&k.d);
  return rgb;
}

}  // namespace vantlo::camsim
