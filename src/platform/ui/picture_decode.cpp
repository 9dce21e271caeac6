// GIF through giflib, JPEG through libjpeg.
#include "platform/ui/picture_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <gif_lib.h>
#include <jpeglib.h>

namespace orlu {

bool LooksLikeGif(std::string_view bytes) {
  return bytes.size() >= 6 && (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a");
}

bool LooksLikeJpeg(std::string_view bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 &&
         static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// ---------------------------------------------------------------------------
// GIF

namespace {

struct GifSource {
  const unsigned char* data;
  size_t size;
  size_t pos;
};

int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int length) {
  auto* src = static_cast<GifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const size_t n = std::min(static_cast<size_t>(length), src->size - src->pos);
  std::memcpy(buffer, src->data + src->pos, n);
  src->pos += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The loop count of a "NETSCAPE2.0" (or "ANIMEXTS1.0") application
// extension: `id` is its first sub-block, `data` the second (each with its
// length byte first). -1 when it is none.
int LoopCountOf(const GifByteType* id, const GifByteType* data) {
  if (id == nullptr || data == nullptr || id[0] != 11) return -1;
  if (std::memcmp(id + 1, "NETSCAPE2.0", 11) != 0 && std::memcmp(id + 1, "ANIMEXTS1.0", 11) != 0) {
    return -1;
  }
  if (data[0] < 3 || data[1] != 1) return -1;
  return data[2] | (data[3] << 8);
}

// Reads the extension after its record type: the graphics control block
// into `gcb`, a loop count into `loop` (the first one found counts).
bool ReadGifExtension(GifFileType* gif, GraphicsControlBlock& gcb, int& loop) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
    DGifExtensionToGCB(block[0], block + 1, &gcb);  // a malformed one is ignored
  }
  // The first sub-block is only valid until the next is read.
  GifByteType id[12] = {};
  const bool application = code == APPLICATION_EXT_FUNC_CODE && block != nullptr;
  if (application) std::memcpy(id, block, std::min<size_t>(block[0] + 1u, sizeof id));
  bool first = true;
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    if (application && first && block != nullptr && loop < 0) loop = LoopCountOf(id, block);
    first = false;
  }
  return true;
}

// Skips the image data of a frame with no pixels.
bool SkipGifCode(GifFileType* gif) {
  int codeSize = 0;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) return false;
  while (block != nullptr) {
    if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
  }
  return true;
}

// Calls visit(canvas index, raster index) for each pixel of the frame
// rectangle `desc` that lies on a canvas of width x height.
template <typename Visit>
void ForEachPixelOnCanvas(const GifImageDesc& desc, int width, int height, Visit visit) {
  for (int y = 0; y < desc.Height; ++y) {
    const long long cy = static_cast<long long>(desc.Top) + y;
    if (cy < 0 || cy >= height) continue;
    for (int x = 0; x < desc.Width; ++x) {
      const long long cx = static_cast<long long>(desc.Left) + x;
      if (cx < 0 || cx >= width) continue;
      visit(static_cast<size_t>(cy) * width + static_cast<size_t>(cx),
            static_cast<size_t>(y) * desc.Width + x);
    }
  }
}

// Frames are read one at a time, each checked against what is left of the
// pixel budget before its pixels are read, so a picture over the budget is
// refused without its pixels ever being held.
bool ReadGif(std::string_view bytes, DecodedPicture& out) {
  GifSource source{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadGifBytes, &error));
  if (!gif) return false;
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0 || !WithinPictureBudget(width, height)) return false;
  const long long area = static_cast<long long>(width) * height;
  long long budget = kMaxPicturePixels;

  std::vector<std::uint32_t> canvas;
  std::vector<std::uint32_t> saved;
  std::vector<GifPixelType> raster;
  GraphicsControlBlock gcb{};
  const auto resetGcb = [&gcb] {
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.UserInputFlag = false;
    gcb.DelayTime = 0;
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  };
  resetGcb();
  int loop = -1;

  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) != GIF_OK) return false;
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      if (!ReadGifExtension(gif.get(), gcb, loop)) return false;
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) return false;
    if (DGifGetImageDesc(gif.get()) != GIF_OK) return false;
    // Each frame is shown as a whole screen.
    if (budget < area) return false;
    budget -= area;
    const GifImageDesc& desc = gif->Image;
    const long long frameArea = static_cast<long long>(desc.Width) * desc.Height;
    if (desc.Width < 0 || desc.Height < 0 || frameArea > kMaxPicturePixels) return false;

    if (canvas.empty()) canvas.assign(static_cast<size_t>(area), 0);
    if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;

    if (frameArea == 0) {
      if (!SkipGifCode(gif.get())) return false;
    } else {
      raster.assign(static_cast<size_t>(frameArea), 0);
      if (desc.Interlace) {
        static constexpr int kOffset[] = {0, 4, 2, 1};
        static constexpr int kJump[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
          for (int y = kOffset[pass]; y < desc.Height; y += kJump[pass]) {
            GifPixelType* line = raster.data() + static_cast<size_t>(y) * desc.Width;
            if (DGifGetLine(gif.get(), line, desc.Width) != GIF_OK) return false;
          }
        }
      } else if (DGifGetLine(gif.get(), raster.data(), static_cast<int>(frameArea)) != GIF_OK) {
        return false;
      }
      const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
      if (map != nullptr && map->Colors != nullptr) {
        ForEachPixelOnCanvas(desc, width, height, [&](size_t at, size_t from) {
          const int index = raster[from];
          if (index == gcb.TransparentColor || index >= map->ColorCount) return;
          const GifColorType& c = map->Colors[index];
          canvas[at] = 0xFF000000u | (static_cast<std::uint32_t>(c.Red) << 16) |
                       (static_cast<std::uint32_t>(c.Green) << 8) | c.Blue;
        });
      }
    }

    PictureFrame frame;
    frame.pixels = canvas;
    frame.delayMs = gcb.DelayTime * 10;
    if (frame.delayMs < 20) frame.delayMs = kDefaultFrameDelayMs;
    out.frames.push_back(std::move(frame));

    // Prepare the canvas for the next frame.
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      ForEachPixelOnCanvas(desc, width, height, [&](size_t at, size_t) { canvas[at] = 0; });
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS && saved.size() == canvas.size()) {
      canvas = saved;
    }
    resetGcb();  // a control block applies to the one frame after it
  }
  if (out.frames.empty()) return false;
  out.width = width;
  out.height = height;
  out.loopCount = loop;
  return true;
}

}  // namespace

bool DecodeGif(std::string_view bytes, DecodedPicture& out) {
  out = DecodedPicture{};
  if (!LooksLikeGif(bytes)) return false;
  if (ReadGif(bytes, out)) return true;
  out = DecodedPicture{};
  return false;
}

// ---------------------------------------------------------------------------
// JPEG

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

// A progressive picture is read over again for every scan; no encoder writes
// anywhere near this many, a hostile file may write thousands.
constexpr int kMaxJpegScans = 100;

void JpegProgress(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
    JpegFail(cinfo);
  }
}

// Everything that must survive a jump back lives here, made before the jump
// point.
struct JpegState {
  jpeg_decompress_struct cinfo;
  JpegError error;
  jpeg_progress_mgr progress;
  std::vector<unsigned char> row;
  bool created = false;
};

bool RunJpeg(JpegState& s, std::string_view bytes, DecodedPicture& out) {
  s.cinfo.err = jpeg_std_error(&s.error.mgr);
  s.error.mgr.error_exit = JpegFail;
  s.error.mgr.output_message = JpegQuiet;
  if (setjmp(s.error.jump) != 0) return false;
  jpeg_create_decompress(&s.cinfo);
  s.created = true;
  s.progress.progress_monitor = JpegProgress;
  s.cinfo.progress = &s.progress;
  jpeg_mem_src(&s.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&s.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
  s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (s.cinfo.image_width == 0 || s.cinfo.image_height == 0 ||
      !WithinPictureBudget(s.cinfo.image_width, s.cinfo.image_height)) {
    return false;  // before the decoder takes memory for the picture
  }
  jpeg_start_decompress(&s.cinfo);
  const int width = static_cast<int>(s.cinfo.output_width);
  const int height = static_cast<int>(s.cinfo.output_height);
  const int channels = s.cinfo.output_components;
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return false;
  out.width = width;
  out.height = height;
  out.frames.assign(1, PictureFrame{});
  PictureFrame& frame = out.frames[0];
  frame.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
  s.row.assign(static_cast<size_t>(width) * static_cast<size_t>(channels), 0);
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    const int y = static_cast<int>(s.cinfo.output_scanline);
    JSAMPROW rows[1] = {s.row.data()};
    if (jpeg_read_scanlines(&s.cinfo, rows, 1) != 1) return false;
    std::uint32_t* dst = frame.pixels.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = s.row.data() + static_cast<size_t>(x) * channels;
      unsigned r = p[0], g = p[1], b = p[2];
      if (channels == 4) {
        // Adobe's inverted CMYK.
        const unsigned k = p[3];
        r = p[0] * k / 255;
        g = p[1] * k / 255;
        b = p[2] * k / 255;
      }
      dst[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(&s.cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(std::string_view bytes, DecodedPicture& out) {
  out = DecodedPicture{};
  if (!LooksLikeJpeg(bytes)) return false;
  auto state = std::make_unique<JpegState>();
  const bool ok = RunJpeg(*state, bytes, out);
  if (state->created) jpeg_destroy_decompress(&state->cinfo);
  if (!ok) out = DecodedPicture{};
  out.loopCount = -1;
  return ok;
}

}  // namespace orlu
