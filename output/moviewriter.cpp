#include "output/moviewriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>

#include "library/unixfile.h"
#include "output/outputerror.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace vantlo {

namespace {

std::string AvError(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

[[noreturn]] void Fail(const std::string& what, int error) {
  throw toutputerror("Error writing the movie: " + what + " (" + AvError(error) + ")");
}

void Check(int result, const char* what) {
  if (result < 0) Fail(what, result);
}

// FFmpeg's libraries talk on stderr about every encoder they open; only their errors matter.
void QuietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

// The software encoders only: a hardware one needs its device, which a desktop may not have.
const AVCodec* FindEncoder(tmoviecodec codec) {
  switch (codec) {
    case tmoviecodec::fullFrames:
      return nullptr;  // packed rows are written as they are, no encoder
    case tmoviecodec::motionJpeg:
      return avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    case tmoviecodec::h264:
      for (const char* name : {"libx264", "libopenh264"})
        if (const AVCodec* c = avcodec_find_encoder_by_name(name)) return c;
      return nullptr;
  }
  return nullptr;
}

// The file descriptor as FFmpeg's output: writes and seeks (AVSEEK_SIZE: the file's size).
int WritePacket(void* opaque, std::uint8_t* data, int size) {
  const int fd = *static_cast<int*>(opaque);
  if (!WriteAll(fd, data, static_cast<std::size_t>(size))) return AVERROR(errno ? errno : EIO);
  return size;
}

std::int64_t SeekFile(void* opaque, std::int64_t offset, int whence) {
  const int fd = *static_cast<int*>(opaque);
  if (whence & AVSEEK_SIZE) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return AVERROR(errno);
    return st.st_size;
  }
  const off_t at = ::lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
  return at < 0 ? AVERROR(errno) : at;
}

// Rows of a device-independent bitmap are padded to four bytes.
std::size_t DibRowBytes(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

constexpr int kIoBuffer = 1 << 16;
// Motion JPEG at a fixed quantiser: 3 keeps frames close to the pictures at a moderate size.
constexpr int kMjpegQuantiser = 3;

}  // namespace

struct tmoviewriter::tstate {
  int fd = -1;
  tmoviecodec codec = tmoviecodec::fullFrames;
  int width = 0;
  int height = 0;
  int fps = 1;
  AVFormatContext* format = nullptr;
  AVIOContext* io = nullptr;
  AVCodecContext* encoder = nullptr;
  AVStream* stream = nullptr;
  SwsContext* convert = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;

  ~tstate() {
    sws_freeContext(convert);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
    if (format) {
      format->pb = nullptr;  // ours, freed below
      avformat_free_context(format);
    }
    if (io) {
      av_freep(&io->buffer);
      avio_context_free(&io);
    }
  }
};

bool tmoviewriter::EncoderAvailable(tmoviecodec codec) {
  return codec == tmoviecodec::fullFrames || FindEncoder(codec) != nullptr;
}

tmoviewriter::tmoviewriter(int fd, tmoviecodec codec, int fps, int width, int height)
    : s_(std::make_unique<tstate>()) {
  QuietLibraries();
  if (width < 1 || height < 1 || fps < 1 || fps > 1000)
    throw toutputerror("Error writing the movie: no frame size or rate");
  tstate& s = *s_;
  s.fd = fd;
  s.codec = codec;
  s.width = width;
  s.height = height;
  s.fps = fps;
  const bool mp4 = codec == tmoviecodec::h264;
  Check(avformat_alloc_output_context2(&s.format, nullptr, mp4 ? "mp4" : "avi", nullptr),
        "container");

  const AVRational rate{fps, 1};
  const AVRational tick{1, fps};
  s.stream = avformat_new_stream(s.format, nullptr);
  if (!s.stream) Fail("stream", AVERROR(ENOMEM));
  s.stream->time_base = tick;
  s.stream->avg_frame_rate = rate;
  s.stream->r_frame_rate = rate;
  av_dict_set(&s.stream->metadata, "title", kMovieStreamName, 0);
  av_dict_set(&s.stream->metadata, "handler_name", kMovieStreamName, 0);

  if (codec == tmoviecodec::fullFrames) {
    // Uncompressed 24-bit frames: rows of blue, green, red padded to four bytes as in a
    // device-independent bitmap, top row first (FFmpeg marks the stream header top-down).
    AVCodecParameters* par = s.stream->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = AV_CODEC_ID_RAWVIDEO;
    par->codec_tag = 0;
    par->format = AV_PIX_FMT_BGR24;
    par->width = width;
    par->height = height;
    par->bits_per_coded_sample = 24;
  } else {
    const AVCodec* found = FindEncoder(codec);
    if (!found)
      throw toutputerror(std::string("This computer has no encoder for ") + CodecName(codec));
    s.encoder = avcodec_alloc_context3(found);
    if (!s.encoder) Fail("encoder", AVERROR(ENOMEM));
    // 4:2:0 colour needs even sizes for H.264; the frames are scaled by one pixel where odd.
    s.encoder->width = mp4 ? (width + 1) & ~1 : width;
    s.encoder->height = mp4 ? (height + 1) & ~1 : height;
    s.encoder->time_base = tick;
    s.encoder->framerate = rate;
    s.encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    if (codec == tmoviecodec::motionJpeg) {
      s.encoder->color_range = AVCOL_RANGE_JPEG;
      s.encoder->flags |= AV_CODEC_FLAG_QSCALE;
      s.encoder->global_quality = FF_QP2LAMBDA * kMjpegQuantiser;
    } else {
      s.encoder->color_range = AVCOL_RANGE_MPEG;
      av_opt_set(s.encoder->priv_data, "preset", "fast", 0);
      av_opt_set(s.encoder->priv_data, "crf", "18", 0);
    }
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
      s.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(s.encoder, found, nullptr), "encoder");
    Check(avcodec_parameters_from_context(s.stream->codecpar, s.encoder), "stream");

    s.frame = av_frame_alloc();
    if (!s.frame) Fail("frame", AVERROR(ENOMEM));
    s.frame->format = s.encoder->pix_fmt;
    s.frame->width = s.encoder->width;
    s.frame->height = s.encoder->height;
    s.frame->color_range = s.encoder->color_range;
    Check(av_frame_get_buffer(s.frame, 0), "frame");
    // BT.601 colours; Motion JPEG takes the full 0..255 range, H.264 the video range. The
    // converter is told the full range by the JPEG pixel format (the same planes as the
    // encoder's), the one way every swscale version honours it.
    const bool full = codec == tmoviecodec::motionJpeg;
    s.convert = sws_getContext(width, height, AV_PIX_FMT_BGR24, s.encoder->width, s.encoder->height,
                               full ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P, SWS_BICUBIC,
                               nullptr, nullptr, nullptr);
    if (!s.convert) Fail("colour conversion", AVERROR(EINVAL));
  }

  s.packet = av_packet_alloc();
  if (!s.packet) Fail("packet", AVERROR(ENOMEM));
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBuffer));
  if (!buffer) Fail("buffer", AVERROR(ENOMEM));
  s.io = avio_alloc_context(buffer, kIoBuffer, 1, &s.fd, nullptr, WritePacket, SeekFile);
  if (!s.io) {
    av_free(buffer);
    Fail("buffer", AVERROR(ENOMEM));
  }
  s.io->seekable = AVIO_SEEKABLE_NORMAL;
  s.format->pb = s.io;
  s.format->flags |= AVFMT_FLAG_CUSTOM_IO;
  Check(avformat_write_header(s.format, nullptr), "header");
}

tmoviewriter::~tmoviewriter() = default;

void tmoviewriter::Send(bool flush) {
  tstate& s = *s_;
  Check(avcodec_send_frame(s.encoder, flush ? nullptr : s.frame), "frame");
  for (;;) {
    const int got = avcodec_receive_packet(s.encoder, s.packet);
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
    Check(got, "frame");
    av_packet_rescale_ts(s.packet, s.encoder->time_base, s.stream->time_base);
    s.packet->stream_index = s.stream->index;
    Check(av_interleaved_write_frame(s.format, s.packet), "frame");
  }
}

void tmoviewriter::WriteFrame(const tbitmap& frame) {
  tstate& s = *s_;
  if (finished_) throw toutputerror("Error writing the movie: it is closed");
  if (frame.Width() != s.width || frame.Height() != s.height ||
      frame.Format() != PixelFormat::pf24bit)
    throw toutputerror("Error writing the movie: a frame of another size");
  if (s.codec == tmoviecodec::fullFrames) {
    const std::size_t rowBytes = DibRowBytes(s.width);
    Check(av_new_packet(s.packet, static_cast<int>(rowBytes * s.height)), "frame");
    for (int y = 0; y < s.height; ++y) {
      std::uint8_t* row = s.packet->data + rowBytes * y;
      std::memcpy(row, frame.ScanLine(y), frame.RowBytes());
      std::memset(row + frame.RowBytes(), 0, rowBytes - frame.RowBytes());
    }
    s.packet->pts = s.packet->dts = frames_;
    s.packet->duration = 1;
    s.packet->flags |= AV_PKT_FLAG_KEY;
    s.packet->stream_index = s.stream->index;
    av_packet_rescale_ts(s.packet, AVRational{1, s.fps}, s.stream->time_base);
    Check(av_interleaved_write_frame(s.format, s.packet), "frame");
  } else {
    Check(av_frame_make_writable(s.frame), "frame");
    const std::uint8_t* rows[1] = {frame.ScanLine(0)};
    const int stride[1] = {static_cast<int>(frame.RowBytes())};
    sws_scale(s.convert, rows, stride, 0, s.height, s.frame->data, s.frame->linesize);
    s.frame->pts = frames_;
    if (s.codec == tmoviecodec::motionJpeg) s.frame->quality = s.encoder->global_quality;
    Send(false);
  }
  ++frames_;
}

void tmoviewriter::Finish() {
  tstate& s = *s_;
  if (finished_) return;
  finished_ = true;
  if (s.encoder) Send(true);
  Check(av_write_trailer(s.format), "trailer");
  avio_flush(s.io);
  if (s.io->error < 0) Fail("file", s.io->error);
}

}  // namespace vantlo
