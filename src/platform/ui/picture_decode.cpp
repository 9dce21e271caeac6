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

// The loop count of an application extension "NETSCAPE2.0" (or its twin
// "ANIMEXTS1.0") among `blocks`; -1 when there is none.
int FindLoopCount(const ExtensionBlock* blocks, int count) {
  for (int i = 0; blocks != nullptr && i + 1 < count; ++i) {
    const ExtensionBlock& b = blocks[i];
    if (b.Function != APPLICATION_EXT_FUNC_CODE || b.ByteCount != 11 || b.Bytes == nullptr) {
      continue;
    }
    if (std::memcmp(b.Bytes, "NETSCAPE2.0", 11) != 0 &&
        std::memcmp(b.Bytes, "ANIMEXTS1.0", 11) != 0) {
      continue;
    }
    const ExtensionBlock& sub = blocks[i + 1];
    if (sub.Function == CONTINUE_EXT_FUNC_CODE && sub.ByteCount >= 3 && sub.Bytes != nullptr &&
        sub.Bytes[0] == 1) {
      return sub.Bytes[1] | (sub.Bytes[2] << 8);
    }
  }
  return -1;
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

}  // namespace

bool DecodeGif(std::string_view bytes, DecodedPicture& out) {
  out = DecodedPicture{};
  if (!LooksLikeGif(bytes)) return false;
  GifSource source{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadGifBytes, &error));
  if (!gif) return false;
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
    return false;
  }
  if (DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount <= 0) return false;

  const size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<std::uint32_t> canvas(area, 0);
  std::vector<std::uint32_t> saved;
  long long budget = kMaxPicturePixels;

  for (int i = 0; i < gif->ImageCount; ++i) {
    if (budget < static_cast<long long>(area)) break;
    budget -= static_cast<long long>(area);
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.DelayTime = 0;
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif.get(), i, &gcb);

    if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;

    const GifImageDesc& desc = image.ImageDesc;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (map != nullptr && map->Colors != nullptr && image.RasterBits != nullptr &&
        desc.Width > 0 && desc.Height > 0) {
      ForEachPixelOnCanvas(desc, width, height, [&](size_t at, size_t from) {
        const int index = image.RasterBits[from];
        if (index == gcb.TransparentColor || index >= map->ColorCount) return;
        const GifColorType& c = map->Colors[index];
        canvas[at] = 0xFF000000u | (static_cast<std::uint32_t>(c.Red) << 16) |
                     (static_cast<std::uint32_t>(c.Green) << 8) | c.Blue;
      });
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
  }
  if (out.frames.empty()) return false;
  out.width = width;
  out.height = height;
  int loop = -1;
  for (int i = 0; i < gif->ImageCount && loop < 0; ++i) {
    loop = FindLoopCount(gif->SavedImages[i].ExtensionBlocks,
                         gif->SavedImages[i].ExtensionBlockCount);
  }
  if (loop < 0) loop = FindLoopCount(gif->ExtensionBlocks, gif->ExtensionBlockCount);
  out.loopCount = loop;
  return true;
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

// Everything that must survive a jump back lives here, made before the jump
// point.
struct JpegState {
  jpeg_decompress_struct cinfo;
  JpegError error;
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
  jpeg_mem_src(&s.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&s.cinfo, TRUE) != JPEG_HEADER_OK) return false;
  const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
  s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (s.cinfo.image_width == 0 || s.cinfo.image_height == 0 ||
      s.cinfo.image_width > static_cast<unsigned>(kMaxPictureSide) ||
      s.cinfo.image_height > static_cast<unsigned>(kMaxPictureSide)) {
    return false;
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
