// Small pictures made in the tests: GIFs with giflib's encoder, JPEGs with
// libjpeg's.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace orlu::test {

struct GifFrameSpec {
  int left = 0, top = 0, width = 0, height = 0;
  int delayCs = 0;  // hundredths of a second
  int disposal = DISPOSAL_UNSPECIFIED;
  int transparent = NO_TRANSPARENT_COLOR;
  std::vector<unsigned char> indices;  // width * height palette indices
};

// A GIF encoder that appends what it writes to `out`; null on failure.
inline GifFileType* OpenGifWriter(std::string& out, int& error) {
  return EGifOpen(
      &out,
      [](GifFileType* g, const GifByteType* bytes, int n) {
        static_cast<std::string*>(g->UserData)->append(reinterpret_cast<const char*>(bytes),
                                                       static_cast<size_t>(n));
        return n;
      },
      &error);
}

// loop: -1 writes no loop extension.
inline std::string MakeGif(int width, int height, std::vector<GifColorType> palette,
                           const std::vector<GifFrameSpec>& frames, int loop) {
  std::string out;
  int error = 0;
  GifFileType* gif = OpenGifWriter(out, error);
  if (gif == nullptr) return {};
  size_t colours = 2;
  while (colours < palette.size()) colours *= 2;
  palette.resize(colours, GifColorType{0, 0, 0});
  EGifSetGifVersion(gif, true);
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours), palette.data());
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
  GifFreeMapObject(map);
  if (ok && loop >= 0) {
    unsigned char sub[3] = {1, static_cast<unsigned char>(loop & 0xFF),
                            static_cast<unsigned char>(loop >> 8)};
    ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, sub) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
  }
  for (size_t i = 0; ok && i < frames.size(); ++i) {
    const GifFrameSpec& f = frames[i];
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = f.disposal;
    gcb.UserInputFlag = false;
    gcb.DelayTime = f.delayCs;
    gcb.TransparentColor = f.transparent;
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
         EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < f.height; ++y) {
      ok = EGifPutLine(gif, const_cast<GifPixelType*>(f.indices.data()) +
                                static_cast<size_t>(y) * static_cast<size_t>(f.width),
                       f.width) == GIF_OK;
    }
  }
  int closeError = 0;
  if (EGifCloseFile(gif, &closeError) != GIF_OK) ok = false;
  return ok ? out : std::string();
}

// A frame covering the whole picture in one palette colour.
inline GifFrameSpec SolidFrame(int width, int height, unsigned char index, int delayCs) {
  GifFrameSpec f;
  f.width = width;
  f.height = height;
  f.delayCs = delayCs;
  f.indices.assign(static_cast<size_t>(width * height), index);
  return f;
}

// A JPEG of one colour.
inline std::string MakeJpeg(int width, int height, unsigned char r, unsigned char g,
                            unsigned char b) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[static_cast<size_t>(x) * 3] = r;
    row[static_cast<size_t>(x) * 3 + 1] = g;
    row[static_cast<size_t>(x) * 3 + 2] = b;
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return out;
}

}  // namespace orlu::test
