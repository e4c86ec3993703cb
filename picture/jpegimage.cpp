// TJPEGImage and the libjpeg calls behind it. libjpeg reports fatal errors
// through error_exit, which must not return. Throwing a C++ exception through
// libjpeg's C frames is undefined, so error_exit (and emit_message, for a
// warning about cut-short or corrupt data) longjmps back into one of the
// small Try... functions below; those hold no C++ objects with destructors
// between setjmp and the libjpeg calls, and the C++ code throws after they
// return false. All setjmp/longjmp use of the JPEG code is in this file (the
// PNG code of picture/pngimage.cpp does the same for libpng).
#include "picture/jpegimage.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "picture/pictureerror.h"

namespace {

struct terrmgr {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool cutshort;  // libjpeg met the end of the data before the end of the image
};

}  // namespace

extern "C" {
static void VantloJpegErrorExit(j_common_ptr cinfo) {
  terrmgr* err = reinterpret_cast<terrmgr*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Notices that leave every pixel as the file means it; every other warning
// says that data are missing or damaged.
static bool HarmlessWarning(int code) {
  return code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_NOT_SEQUENTIAL ||
         code == JWRN_BOGUS_ICC;
}

static void VantloJpegEmitMessage(j_common_ptr cinfo, int level) {
  // Trace messages (level >= 0) are dropped. Nothing is printed: a desktop
  // program has no console to print to. libjpeg goes on after a corrupt-data
  // warning and fills what is missing with grey; that picture is not the
  // file's, so the decode ends here as after a fatal error (every libjpeg
  // call runs under a setjmp of the Try... functions).
  if (level >= 0) return;
  terrmgr* err = reinterpret_cast<terrmgr*>(cinfo->err);
  cinfo->err->num_warnings++;
  if (HarmlessWarning(cinfo->err->msg_code)) return;
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) err->cutshort = true;
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

static void VantloJpegOutputMessage(j_common_ptr) {}
}

namespace vantlo {

namespace {

// libjpeg's working memory besides the coefficient buffer: row buffers of a
// few block rows of every component, colour conversion and tables. Generous,
// so that no real picture comes near it.
constexpr std::uint64_t kWorkingMemoryBase = 32ull << 20;
constexpr std::uint64_t kWorkingMemoryPerColumn = 512;

void InitErrorManager(terrmgr& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = VantloJpegErrorExit;
  err.pub.emit_message = VantloJpegEmitMessage;
  err.pub.output_message = VantloJpegOutputMessage;
  err.message[0] = '\0';
  err.cutshort = false;
}

// ---- setjmp-protected libjpeg calls (no C++ objects inside) ----

bool TryCreateDecompress(jpeg_decompress_struct* cinfo, terrmgr* err) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  return true;
}

bool TryStartDecompress(jpeg_decompress_struct* cinfo, terrmgr* err, const unsigned char* data,
                        unsigned long size, unsigned int denom, bool* buffered) {
  if (setjmp(err->jump)) return false;
  jpeg_mem_src(cinfo, data, size);
  jpeg_read_header(cinfo, TRUE);
  *buffered = jpeg_has_multiple_scans(cinfo);
  cinfo->out_color_space = JCS_EXT_BGR;
  cinfo->scale_num = 1;
  cinfo->scale_denom = denom;
  cinfo->dct_method = JDCT_ISLOW;
  jpeg_calc_output_dimensions(cinfo);
  return true;
}

// A progressive or multi-scan file is read whole here, so damaged data fail
// before the bitmap is made.
bool TryBeginOutput(jpeg_decompress_struct* cinfo, terrmgr* err) {
  if (setjmp(err->jump)) return false;
  jpeg_start_decompress(cinfo);
  return true;
}

bool TryReadImage(jpeg_decompress_struct* cinfo, terrmgr* err, unsigned char** rows,
                  unsigned int height) {
  if (setjmp(err->jump)) return false;
  while (cinfo->output_scanline < height) {
    const JDIMENSION got =
        jpeg_read_scanlines(cinfo, rows + cinfo->output_scanline, height - cinfo->output_scanline);
    if (got == 0) break;
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

bool TryCreateCompress(jpeg_compress_struct* cinfo, terrmgr* err) {
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(cinfo);
  return true;
}

struct tcompressjob {
  unsigned char** rows;
  unsigned int width;
  unsigned int height;
  int quality;
  bool progressive;
  int lumah;
  int lumav;
  bool separatescans;
  jpeg_scan_info* scans;  // three entries when separatescans
  unsigned char** outbuffer;
  unsigned long* outsize;
};

bool TryCompress(jpeg_compress_struct* cinfo, terrmgr* err, const tcompressjob* job) {
  if (setjmp(err->jump)) return false;
  jpeg_mem_dest(cinfo, job->outbuffer, job->outsize);
  cinfo->image_width = job->width;
  cinfo->image_height = job->height;
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, job->quality, TRUE);
  cinfo->dct_method = JDCT_ISLOW;
  cinfo->optimize_coding = FALSE;  // keep the standard Huffman tables
  cinfo->comp_info[0].h_samp_factor = job->lumah;
  cinfo->comp_info[0].v_samp_factor = job->lumav;
  for (int c = 1; c < 3; ++c) {
    cinfo->comp_info[c].h_samp_factor = 1;
    cinfo->comp_info[c].v_samp_factor = 1;
  }
  if (job->separatescans) {
    for (int c = 0; c < 3; ++c) {
      job->scans[c].comps_in_scan = 1;
      job->scans[c].component_index[0] = c;
      job->scans[c].Ss = 0;
      job->scans[c].Se = 63;
      job->scans[c].Ah = 0;
      job->scans[c].Al = 0;
    }
    cinfo->scan_info = job->scans;
    cinfo->num_scans = 3;
  } else if (job->progressive) {
    jpeg_simple_progression(cinfo);
  }
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < job->height) {
    jpeg_write_scanlines(cinfo, job->rows + cinfo->next_scanline,
                         job->height - cinfo->next_scanline);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

// ---- RAII owners of the libjpeg objects ----

std::string DecodeError(const std::string& what) {
  return std::string("Unable to decode JPEG data (") + what + ")";
}

// The end of the data is named as such; libjpeg's refusal to go past its
// memory limit (it would need a temporary file) is a picture too large.
std::string DecodeError(const terrmgr& err) {
  if (err.cutshort) return DecodeError("data cut short");
  if (err.pub.msg_code == JERR_NO_BACKING_STORE) return DecodeError("picture too large");
  return DecodeError(err.message);
}

std::string TooLarge(unsigned int width, unsigned int height) {
  return DecodeError("picture too large: " + std::to_string(width) + " x " +
                     std::to_string(height) + " pixels");
}

std::uint64_t RoundUp(std::uint64_t n, std::uint64_t multiple) {
  return multiple == 0 ? n : (n + multiple - 1) / multiple * multiple;
}

// Bytes of libjpeg's whole-picture coefficient buffer: every component's
// blocks, padded to its sampling factors, 64 coefficients of 2 bytes each.
std::uint64_t CoefficientBytes(const jpeg_decompress_struct& cinfo) {
  std::uint64_t total = 0;
  for (int c = 0; c < cinfo.num_components; ++c) {
    const jpeg_component_info& comp = cinfo.comp_info[c];
    total += RoundUp(comp.width_in_blocks, static_cast<std::uint64_t>(comp.h_samp_factor)) *
             RoundUp(comp.height_in_blocks, static_cast<std::uint64_t>(comp.v_samp_factor)) *
             sizeof(JBLOCK);
  }
  return total;
}

// Refuses a picture beyond the limits and bounds libjpeg's memory by what
// this picture needs: its working memory, plus the coefficient buffer when
// the file needs one.
void BoundDecode(jpeg_decompress_struct& cinfo, bool buffered, const tdecodelimits& limits) {
  const std::uint64_t source = static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height;
  const std::uint64_t output = static_cast<std::uint64_t>(cinfo.output_width) * cinfo.output_height;
  if (output == 0) throw tpictureerror(DecodeError("picture has no pixels"));
  if (source > limits.MaxSourcePixels || output > limits.MaxOutputPixels ||
      (buffered && source > limits.MaxBufferedSourcePixels))
    throw tpictureerror(TooLarge(cinfo.image_width, cinfo.image_height));
  std::uint64_t budget = kWorkingMemoryBase + kWorkingMemoryPerColumn * cinfo.image_width;
  if (buffered) budget += CoefficientBytes(cinfo);
  cinfo.mem->max_memory_to_use =
      static_cast<long>(std::min<std::uint64_t>(budget, static_cast<std::uint64_t>(LONG_MAX)));
}

class tdecompressor {
 public:
  tdecompressor() {
    InitErrorManager(err_);
    cinfo_.err = &err_.pub;
    if (!TryCreateDecompress(&cinfo_, &err_)) throw tpictureerror(DecodeError(err_.message));
  }
  ~tdecompressor() { jpeg_destroy_decompress(&cinfo_); }
  tdecompressor(const tdecompressor&) = delete;
  tdecompressor& operator=(const tdecompressor&) = delete;

  jpeg_decompress_struct* Info() { return &cinfo_; }
  terrmgr* Err() { return &err_; }

 private:
  jpeg_decompress_struct cinfo_{};
  terrmgr err_{};
};

class tcompressor {
 public:
  tcompressor() {
    InitErrorManager(err_);
    cinfo_.err = &err_.pub;
    if (!TryCreateCompress(&cinfo_, &err_))
      throw tpictureerror(std::string("Unable to compress JPEG (") + err_.message + ")");
  }
  ~tcompressor() {
    jpeg_destroy_compress(&cinfo_);
    std::free(buffer_);  // jpeg_mem_dest allocates with malloc and leaves freeing to us
  }
  tcompressor(const tcompressor&) = delete;
  tcompressor& operator=(const tcompressor&) = delete;

  jpeg_compress_struct* Info() { return &cinfo_; }
  terrmgr* Err() { return &err_; }
  unsigned char** Buffer() { return &buffer_; }
  unsigned long* Size() { return &size_; }

 private:
  jpeg_compress_struct cinfo_{};
  terrmgr err_{};
  unsigned char* buffer_ = nullptr;
  unsigned long size_ = 0;
};

unsigned int ScaleDenominator(JpegScale scale) {
  switch (scale) {
    case JpegScale::jsHalf:
      return 2;
    case JpegScale::jsQuarter:
      return 4;
    case JpegScale::jsEighth:
      return 8;
    case JpegScale::jsFullSize:
      break;
  }
  return 1;
}

std::vector<std::uint8_t> CompressWith(const tbitmap& bitmap, int quality, bool progressive,
                                       const detail::tjpeglayout& layout) {
  if (bitmap.Empty()) throw tpictureerror("No picture to compress");
  if (bitmap.Format() != PixelFormat::pf24bit) throw tpictureerror("Not 24 bit bitmap");
  if (quality < 1 || quality > 100) throw tpictureerror("JPEG Quality must be between 1 and 100");
  if (bitmap.Width() > JPEG_MAX_DIMENSION || bitmap.Height() > JPEG_MAX_DIMENSION)
    throw tpictureerror("Picture too large for JPEG");
  std::vector<unsigned char*> rows(static_cast<std::size_t>(bitmap.Height()));
  // libjpeg reads the rows only; the cast is for its non-const row type.
  for (int y = 0; y < bitmap.Height(); ++y)
    rows[static_cast<std::size_t>(y)] = const_cast<unsigned char*>(bitmap.ScanLine(y));
  tcompressor comp;
  jpeg_scan_info scans[3]{};
  tcompressjob job{rows.data(),
                   static_cast<unsigned int>(bitmap.Width()),
                   static_cast<unsigned int>(bitmap.Height()),
                   quality,
                   progressive,
                   layout.lumah,
                   layout.lumav,
                   layout.separatescans,
                   scans,
                   comp.Buffer(),
                   comp.Size()};
  if (!TryCompress(comp.Info(), comp.Err(), &job))
    throw tpictureerror(std::string("Unable to compress JPEG (") + comp.Err()->message + ")");
  return std::vector<std::uint8_t>(*comp.Buffer(), *comp.Buffer() + *comp.Size());
}

}  // namespace

tbitmap DecodeJpeg(std::span<const std::uint8_t> data, JpegScale scale, std::size_t* consumed,
                   const tdecodelimits& limits) {
  if (data.size() < 4) throw tpictureerror(DecodeError("data cut short"));
  if (data[0] != 0xFF || data[1] != 0xD8) throw tpictureerror(DecodeError("not a JPEG"));
  tdecompressor dec;
  jpeg_decompress_struct* cinfo = dec.Info();
  bool buffered = false;
  if (!TryStartDecompress(cinfo, dec.Err(), data.data(), static_cast<unsigned long>(data.size()),
                          ScaleDenominator(scale), &buffered))
    throw tpictureerror(DecodeError(*dec.Err()));
  BoundDecode(*cinfo, buffered, limits);
  if (!TryBeginOutput(cinfo, dec.Err())) throw tpictureerror(DecodeError(*dec.Err()));
  tbitmap bitmap(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height));
  std::vector<unsigned char*> rows(cinfo->output_height);
  for (unsigned int y = 0; y < cinfo->output_height; ++y)
    rows[y] = bitmap.ScanLine(static_cast<int>(y));
  if (!TryReadImage(cinfo, dec.Err(), rows.data(), cinfo->output_height))
    throw tpictureerror(DecodeError(*dec.Err()));
  if (cinfo->output_scanline < cinfo->output_height)
    throw tpictureerror(DecodeError("data cut short"));
  if (consumed != nullptr) *consumed = data.size() - cinfo->src->bytes_in_buffer;
  return bitmap;
}

bool JpegFrameSize(std::span<const std::uint8_t> data, int& width, int& height) {
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  std::size_t at = 2;
  while (at + 1 < data.size()) {
    if (data[at] != 0xFF) return false;
    const std::uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    at += 2;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0xD9 || marker == 0xDA || at + 2 > data.size()) return false;
    const std::size_t length = std::size_t{data[at]} * 256 + data[at + 1];
    if (length < 2 || at + length > data.size()) return false;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 7) return false;
      height = data[at + 3] * 256 + data[at + 4];
      width = data[at + 5] * 256 + data[at + 6];
      return width > 0 && height > 0;
    }
    at += length;
  }
  return false;
}

std::vector<std::uint8_t> CompressJpeg(const tbitmap& bitmap, int quality, bool progressive) {
  return CompressWith(bitmap, quality, progressive, detail::tjpeglayout{});
}

namespace detail {
std::vector<std::uint8_t> CompressJpegLayout(const tbitmap& bitmap, int quality,
                                             const tjpeglayout& layout) {
  if (layout.lumah < 1 || layout.lumah > 4 || layout.lumav < 1 || layout.lumav > 4)
    throw std::invalid_argument("Bad luminance sampling");
  return CompressWith(bitmap, quality, false, layout);
}
}  // namespace detail

// ---- TJPEGImage ----

void TJPEGImage::SetCompressionQuality(int quality) {
  if (quality < 1 || quality > 100)
    throw std::invalid_argument("JPEG Quality must be between 1 and 100");
  quality_ = quality;
}

void TJPEGImage::SetScale(JpegScale scale) {
  if (scale == scale_) return;
  scale_ = scale;
  if (!jpegdata_.empty()) bitmap_ = tbitmap();  // decoded again at the new scale
}

void TJPEGImage::LoadFromStream(std::span<const std::uint8_t> data, std::size_t offset) {
  if (offset >= data.size()) throw tpictureerror(DecodeError("data cut short"));
  const auto jpeg = data.subspan(offset);
  std::size_t consumed = 0;
  tbitmap decoded = DecodeJpeg(jpeg, scale_, &consumed);
  jpegdata_.assign(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(consumed));
  bitmap_ = std::move(decoded);
}

void TJPEGImage::LoadFromFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw tpictureerror("Unable to open file " + path.string());
  std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  if (in.bad()) throw tpictureerror("Unable to read file " + path.string());
  LoadFromStream(data);
}

void TJPEGImage::SaveToStream(std::vector<std::uint8_t>& out) {
  Compress();
  out.insert(out.end(), jpegdata_.begin(), jpegdata_.end());
}

void TJPEGImage::SaveToFile(const std::filesystem::path& path) {
  Compress();
  std::ofstream outfile(path, std::ios::binary | std::ios::trunc);
  if (!outfile) throw tpictureerror("Unable to create file " + path.string());
  outfile.write(reinterpret_cast<const char*>(jpegdata_.data()),
                static_cast<std::streamsize>(jpegdata_.size()));
  outfile.close();
  if (!outfile) throw tpictureerror("Unable to write file " + path.string());
}

void TJPEGImage::Assign(const tbitmap& bitmap) {
  bitmap_ = bitmap;
  jpegdata_.clear();
}

void TJPEGImage::Assign(tbitmap&& bitmap) {
  bitmap_ = std::move(bitmap);
  jpegdata_.clear();
}

tbitmap& TJPEGImage::EditBitmap() {
  DecodeBitmap();
  jpegdata_.clear();
  return bitmap_;
}

void TJPEGImage::Compress() {
  if (!jpegdata_.empty()) return;
  if (bitmap_.Empty()) throw tpictureerror("No picture to compress");
  jpegdata_ = CompressJpeg(bitmap_, quality_, progressive_);
}

void TJPEGImage::Recompress() {
  DecodeBitmap();
  if (bitmap_.Empty()) throw tpictureerror("No picture to compress");
  jpegdata_ = CompressJpeg(bitmap_, quality_, progressive_);
}

const tbitmap& TJPEGImage::Bitmap() const {
  DecodeBitmap();
  return bitmap_;
}

void TJPEGImage::DecodeBitmap() const {
  if (bitmap_.Empty() && !jpegdata_.empty()) bitmap_ = DecodeJpeg(jpegdata_, scale_);
}

void TJPEGImage::Clear() {
  jpegdata_.clear();
  bitmap_ = tbitmap();
}

}  // namespace vantlo
