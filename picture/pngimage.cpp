// PNG coding over libpng. libpng reports errors through a callback that must
// not return; as with libjpeg (picture/jpegimage.cpp), it longjmps back into
// one of the small Try... functions below, which hold no C++ objects with
// destructors between setjmp and the libpng calls; the C++ code throws after
// they return false. Memory that libpng writes into is reserved beforehand,
// so its callbacks never allocate or throw.
#include "picture/pngimage.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "picture/pictureerror.h"

namespace {

struct tpngerror {
  char message[200];
};

struct treadsource {
  const unsigned char* data;
  std::size_t size;
  std::size_t at;
};

struct twritesink {
  std::vector<std::uint8_t>* out;  // capacity reserved: appending never reallocates
};

}  // namespace

extern "C" {
static void VantloPngError(png_structp png, png_const_charp message) {
  tpngerror* err = static_cast<tpngerror*>(png_get_error_ptr(png));
  std::strncpy(err->message, message ? message : "error", sizeof err->message - 1);
  err->message[sizeof err->message - 1] = '\0';
  png_longjmp(png, 1);
}

static void VantloPngWarning(png_structp, png_const_charp) {}

static void VantloPngRead(png_structp png, png_bytep out, png_size_t count) {
  treadsource* src = static_cast<treadsource*>(png_get_io_ptr(png));
  if (count > src->size - src->at) png_error(png, "data cut short");
  std::memcpy(out, src->data + src->at, count);
  src->at += count;
}

static void VantloPngWrite(png_structp png, png_bytep data, png_size_t count) {
  twritesink* sink = static_cast<twritesink*>(png_get_io_ptr(png));
  std::vector<std::uint8_t>& out = *sink->out;
  if (count > out.capacity() - out.size()) png_error(png, "output buffer too small");
  out.insert(out.end(), data, data + count);  // within capacity: cannot throw
}

static void VantloPngFlush(png_structp) {}
}

namespace vantlo {

namespace {

// ---- setjmp-protected libpng calls (no C++ objects inside) ----

bool TryReadHeader(png_structp png, png_infop info, int maxside, png_uint_32* width,
                   png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, static_cast<png_uint_32>(maxside), static_cast<png_uint_32>(maxside));
  // A damaged text chunk is an error too, not a chunk quietly dropped.
  png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
  png_read_info(png, info);
  // Whatever the file holds, deliver 8-bit blue, green, red.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(*width) * 3)
    png_error(png, "unexpected pixel layout");
  return true;
}

bool TryReadRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

struct twritejob {
  png_bytepp rows;
  png_uint_32 width;
  png_uint_32 height;
  png_textp text;
  int textcount;
};

bool TryWrite(png_structp png, png_infop info, const twritejob* job) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, job->width, job->height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // The Sub filter alone and a middle compression level: entries are read
  // far more often than written, and undoing Sub is the cheapest filter to
  // read back, while the files stay small.
  png_set_filter(png, 0, PNG_FILTER_SUB);
  png_set_compression_level(png, 3);
  if (job->textcount > 0) png_set_text(png, info, job->text, job->textcount);
  png_write_info(png, info);
  png_write_image(png, job->rows);
  png_write_end(png, info);
  return true;
}

std::string PngError(const char* what) {
  return std::string("Unable to read PNG data (") + what + ")";
}

class tpngreader {
 public:
  tpngreader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err_, VantloPngError, VantloPngWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) throw tpictureerror(PngError("out of memory"));
  }
  ~tpngreader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  tpngreader(const tpngreader&) = delete;
  tpngreader& operator=(const tpngreader&) = delete;
  png_structp Png() { return png_; }
  png_infop Info() { return info_; }
  const char* Message() const { return err_.message; }

 private:
  tpngerror err_{};
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

class tpngwriter {
 public:
  tpngwriter() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err_, VantloPngError, VantloPngWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) throw tpictureerror("Unable to write PNG data (out of memory)");
  }
  ~tpngwriter() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
  tpngwriter(const tpngwriter&) = delete;
  tpngwriter& operator=(const tpngwriter&) = delete;
  png_structp Png() { return png_; }
  png_infop Info() { return info_; }
  const char* Message() const { return err_.message; }

 private:
  tpngerror err_{};
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

}  // namespace

std::vector<std::uint8_t> EncodePng(const tbitmap& bitmap, const std::vector<tpngtext>& text) {
  if (bitmap.Empty() || bitmap.Format() != PixelFormat::pf24bit)
    throw tpictureerror("Unable to write PNG data (no 24 bit picture)");
  const std::size_t width = static_cast<std::size_t>(bitmap.Width());
  const std::size_t height = static_cast<std::size_t>(bitmap.Height());
  // Opaque RGBA rows from the blue, green, red ones.
  std::vector<std::uint8_t> rgba(width * height * 4);
  std::vector<png_bytep> rows(height);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* in = bitmap.ScanLine(static_cast<int>(y));
    std::uint8_t* out = rgba.data() + y * width * 4;
    rows[y] = out;
    for (std::size_t x = 0; x < width; ++x, in += 3, out += 4) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = 0xFF;
    }
  }
  std::vector<png_text> chunks(text.size());
  std::size_t textbytes = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i].Key.empty() || text[i].Key.size() > 79 ||
        text[i].Value.find('\0') != std::string::npos)
      throw tpictureerror("Unable to write PNG data (bad text key " + text[i].Key + ")");
    chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
    chunks[i].key = const_cast<char*>(text[i].Key.c_str());  // libpng only reads them
    chunks[i].text = const_cast<char*>(text[i].Value.c_str());
    chunks[i].text_length = text[i].Value.size();
    textbytes += text[i].Key.size() + text[i].Value.size() + 13;
  }
  // Room for the worst case of deflate (stored blocks) plus every chunk's
  // framing, so that libpng's write callback never needs more.
  std::vector<std::uint8_t> out;
  const std::size_t raw = (width * 4 + 1) * height;
  out.reserve(raw + raw / 100 + textbytes + 4096);
  twritesink sink{&out};
  tpngwriter writer;
  png_set_write_fn(writer.Png(), &sink, VantloPngWrite, VantloPngFlush);
  const twritejob job{rows.data(), static_cast<png_uint_32>(width),
                      static_cast<png_uint_32>(height), chunks.data(),
                      static_cast<int>(chunks.size())};
  if (!TryWrite(writer.Png(), writer.Info(), &job))
    throw tpictureerror(std::string("Unable to write PNG data (") + writer.Message() + ")");
  return out;
}

tbitmap DecodePng(std::span<const std::uint8_t> data, std::vector<tpngtext>& text, int maxside) {
  text.clear();
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
    throw tpictureerror(PngError("not a PNG"));
  tpngreader reader;
  treadsource source{data.data(), data.size(), 0};
  png_set_read_fn(reader.Png(), &source, VantloPngRead);
  png_uint_32 width = 0, height = 0;
  if (!TryReadHeader(reader.Png(), reader.Info(), maxside, &width, &height))
    throw tpictureerror(PngError(reader.Message()));
  tbitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = bitmap.ScanLine(static_cast<int>(y));
  if (!TryReadRows(reader.Png(), reader.Info(), rows.data()))
    throw tpictureerror(PngError(reader.Message()));
  png_textp chunks = nullptr;
  const int count = png_get_text(reader.Png(), reader.Info(), &chunks, nullptr);
  for (int i = 0; i < count; ++i)
    text.push_back({chunks[i].key ? chunks[i].key : "", chunks[i].text ? chunks[i].text : ""});
  return bitmap;
}

}  // namespace vantlo
