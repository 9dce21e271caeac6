// Small pictures made in the tests: GIFs with giflib's encoder, JPEGs with
// Qt's.
#pragma once

#include <string>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gif_lib.h>

namespace orlu::test {

struct GifFrameSpec {
  int left = 0, top = 0, width = 0, height = 0;
  int delayCs = 0;  // hundredths of a second
  int disposal = DISPOSAL_UNSPECIFIED;
  int transparent = NO_TRANSPARENT_COLOR;
  bool interlaced = false;
  std::vector<unsigned char> indices;  // width * height palette indices, rows in file order
};

// loop: -1 writes no loop extension.
inline std::string MakeGif(int width, int height, std::vector<GifColorType> palette,
                           const std::vector<GifFrameSpec>& frames, int loop) {
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(
      &out,
      [](GifFileType* g, const GifByteType* bytes, int n) {
        static_cast<std::string*>(g->UserData)->append(reinterpret_cast<const char*>(bytes),
                                                       static_cast<size_t>(n));
        return n;
      },
      &error);
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
    GraphicsControlBlock gcb{.DisposalMode = f.disposal, .UserInputFlag = false,
                             .DelayTime = f.delayCs, .TransparentColor = f.transparent};
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
         EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr) == GIF_OK;
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
  return {.width = width, .height = height, .delayCs = delayCs,
          .indices = std::vector<unsigned char>(static_cast<size_t>(width * height), index)};
}

// A JPEG of one colour, by Qt's writer (progressive: libjpeg's simple progression).
inline std::string MakeJpeg(int width, int height, QColor colour, bool progressive = false) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(95);
  writer.setProgressiveScanWrite(progressive);
  writer.write(image);
  return bytes.toStdString();
}

// A grey 8 x 8 JPEG whose frame header claims width x height: the scan data
// ends after the first blocks, as in a file cut short.
inline std::string ClaimingJpeg(int width, int height, bool progressive) {
  std::string j = MakeJpeg(8, 8, Qt::gray, progressive);
  const std::string claim{static_cast<char>(height >> 8), static_cast<char>(height),
                          static_cast<char>(width >> 8), static_cast<char>(width)};
  return j.replace(j.find(progressive ? "\xFF\xC2" : "\xFF\xC0") + 5, 4, claim);
}

// An animation of `count` frames, each covering a side x side screen in one
// colour: one frame encoded, its bytes repeated.
inline std::string ManyFrameGif(int side, int count) {
  const std::string one = MakeGif(side, side, {{0, 0, 0}, {255, 255, 255}},
                                  {SolidFrame(side, side, 1, 10)}, -1);
  const size_t head = 13 + 3 * 2;  // signature, screen, two-colour table
  const std::string frame = one.substr(head, one.size() - head - 1);
  std::string out = one.substr(0, head);
  for (int i = 0; i < count; ++i) out += frame;
  return out + ";";
}

}  // namespace orlu::test
