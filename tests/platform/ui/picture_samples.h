// Small pictures made in the tests: GIFs with giflib's encoder, JPEGs with
// Qt's.
#pragma once

#include <string>
#include <vector>

#include <QBuffer>
#include <QImage>
#include <gif_lib.h>

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
    GraphicsControlBlock gcb{.DisposalMode = f.disposal, .UserInputFlag = false,
                             .DelayTime = f.delayCs, .TransparentColor = f.transparent};
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
  return {.width = width, .height = height, .delayCs = delayCs,
          .indices = std::vector<unsigned char>(static_cast<size_t>(width * height), index)};
}

// A JPEG of one colour.
inline std::string MakeJpeg(int width, int height, int r, int g, int b) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(r, g, b));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 95);
  return bytes.toStdString();
}

// A grey JPEG whose header claims width x height, cut short after `size`
// bytes of header and scan data (one Huffman code for each table, so the data
// decodes as flat blocks however far it goes). Progressive: a first DC scan.
inline std::string ClaimingJpeg(int width, int height, bool progressive, size_t size = 288) {
  const auto hi = [](int v) { return static_cast<char>((v >> 8) & 0xFF); };
  const auto lo = [](int v) { return static_cast<char>(v & 0xFF); };
  std::string j("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
  j.append(64, '\x01');
  j += std::string("\xFF", 1) + (progressive ? '\xC2' : '\xC0') + std::string("\x00\x0B\x08", 3) +
       hi(height) + lo(height) + hi(width) + lo(width) + std::string("\x01\x01\x11\x00", 4);
  for (char table : {'\x00', '\x10'}) {
    j += std::string("\xFF\xC4\x00\x14", 4) + table + '\x01';
    j.append(16, '\x00');  // 15 more code counts, then the one symbol (0)
  }
  j += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00", 8);  // scan: Ss, Se, Ah/Al
  j += std::string(1, progressive ? '\x00' : '\x3F') + '\x00';
  if (j.size() < size) j.append(size - j.size(), '\x00');
  return j;
}

// An animation of `count` frames, each covering a side x side screen in one
// colour: one frame encoded, its bytes repeated.
inline std::string ManyFrameGif(int side, int count) {
  const std::string one = MakeGif(side, side, {{0, 0, 0}, {255, 255, 255}},
                                  {SolidFrame(side, side, 1, 10)}, -1);
  const size_t head = 13 + 3 * 2;  // signature, screen, two-colour table
  if (one.size() < head + 1) return {};
  const std::string frame = one.substr(head, one.size() - head - 1);
  std::string out = one.substr(0, head);
  for (int i = 0; i < count; ++i) out += frame;
  return out + ";";
}

}  // namespace orlu::test
