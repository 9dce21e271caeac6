// Draws the main window's banner: a 383 x 50 GIF89a picture of three frames,
// one second each, looping forever, written with giflib. Also writes the
// picture as a byte array so the program carries it inside. Not part of the
// build; run it again only to change the banner:
//
//   g++ -std=c++20 -O2 tools/banner/make_banner.cpp -lgif -o /tmp/make_banner
//   /tmp/make_banner tools/banner/banner.gif src/app/banner_gif.cpp
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 383;
constexpr int kHeight = 50;

// A 5 x 7 font for the capitals, digits and a few signs: seven rows a glyph,
// the low five bits of each row from left (bit 4) to right (bit 0).
struct Glyph {
  char c;
  unsigned char rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
};

const Glyph* FindGlyph(char c) {
  for (const auto& g : kFont) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

// Palette: 0-7 a blue ramp, 8-15 a green ramp, 16-23 an orange ramp,
// 24 white, 25 dark text, 26 yellow, rest black.
std::vector<GifColorType> Palette() {
  std::vector<GifColorType> colors(32, GifColorType{0, 0, 0});
  for (int i = 0; i < 8; ++i) {
    auto v = [i](int from, int to) { return static_cast<GifByteType>(from + (to - from) * i / 7); };
    colors[i] = {v(20, 90), v(60, 150), v(140, 230)};
    colors[8 + i] = {v(20, 110), v(100, 200), v(50, 120)};
    colors[16 + i] = {v(170, 250), v(70, 170), v(10, 70)};
  }
  colors[24] = {255, 255, 255};
  colors[25] = {30, 30, 40};
  colors[26] = {255, 230, 90};
  return colors;
}

using Frame = std::vector<GifByteType>;

void DrawText(Frame& f, const std::string& text, int x, int y, int scale, GifByteType color) {
  for (char c : text) {
    const Glyph* g = FindGlyph(c);
    if (g) {
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (!(g->rows[row] & (0x10 >> col))) continue;
          for (int dy = 0; dy < scale; ++dy) {
            for (int dx = 0; dx < scale; ++dx) {
              int px = x + col * scale + dx, py = y + row * scale + dy;
              if (px >= 0 && px < kWidth && py >= 0 && py < kHeight) f[py * kWidth + px] = color;
            }
          }
        }
      }
    }
    x += 6 * scale;
  }
}

int TextWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * 6 * scale - scale;
}

// A frame: a horizontal ramp of one colour family, a light border, a big line
// of text with a shadow and a small line under it.
Frame MakeFrame(int ramp, const std::string& big, const std::string& small, int badge) {
  Frame f(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      int shade = 7 - (x * 8 / kWidth);
      f[y * kWidth + x] = static_cast<GifByteType>(ramp * 8 + shade);
    }
  }
  for (int x = 0; x < kWidth; ++x) f[x] = f[(kHeight - 1) * kWidth + x] = 24;
  for (int y = 0; y < kHeight; ++y) f[y * kWidth] = f[y * kWidth + kWidth - 1] = 24;
  // Three dots; the lit one tells which frame is showing.
  for (int i = 0; i < 3; ++i) {
    for (int y = 40; y < 45; ++y) {
      for (int x = 356 + i * 8; x < 361 + i * 8; ++x) f[y * kWidth + x] = i == badge ? 26 : 24;
    }
  }
  int bigX = (kWidth - TextWidth(big, 2)) / 2;
  DrawText(f, big, bigX + 1, 7, 2, 25);
  DrawText(f, big, bigX, 6, 2, 24);
  DrawText(f, small, (kWidth - TextWidth(small, 1)) / 2, 31, 1, 26);
  return f;
}

bool Fail(GifFileType* gif, const char* what) {
  int err = 0;
  std::fprintf(stderr, "make_banner: %s failed (%d)\n", what, gif ? gif->Error : 0);
  if (gif) EGifCloseFile(gif, &err);
  return false;
}

bool WriteGif(const char* path, const std::vector<Frame>& frames) {
  int err = 0;
  GifFileType* gif = EGifOpenFileName(path, false, &err);
  if (!gif) return Fail(nullptr, "open");
  EGifSetGifVersion(gif, true);
  auto colors = Palette();
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
  if (EGifPutScreenDesc(gif, kWidth, kHeight, 5, 0, map) == GIF_ERROR) return Fail(gif, "screen");
  GifFreeMapObject(map);

  // Loop forever: the application extension with a loop count of 0.
  static const GifByteType app[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType loop[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif, sizeof app, app) == GIF_ERROR ||
      EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif) == GIF_ERROR) {
    return Fail(gif, "loop extension");
  }

  for (const auto& frame : frames) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.DelayTime = 100;  // hundredths of a second
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    std::size_t n = EGifGCBToExtension(&gcb, ext);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext) == GIF_ERROR) {
      return Fail(gif, "frame delay");
    }
    if (EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_ERROR) {
      return Fail(gif, "frame");
    }
    for (int y = 0; y < kHeight; ++y) {
      if (EGifPutLine(gif, const_cast<GifByteType*>(&frame[y * kWidth]), kWidth) == GIF_ERROR) {
        return Fail(gif, "line");
      }
    }
  }
  if (EGifCloseFile(gif, &err) == GIF_ERROR) {
    std::fprintf(stderr, "make_banner: close failed (%d)\n", err);
    return false;
  }
  return true;
}

bool WriteArray(const char* gifPath, const char* cppPath) {
  std::ifstream in(gifPath, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::string data = bytes.str();
  std::ofstream out(cppPath, std::ios::binary);
  out << "// The main window's banner (383 x 50, three frames of one second, looping).\n"
         "// Written by tools/banner/make_banner.cpp from the same drawing as\n"
         "// tools/banner/banner.gif; do not edit by hand.\n"
         "#include \"app/banner_gif.h\"\n\n"
         "namespace orlu {\n\n"
         "const unsigned char kBannerGif[] = {";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i % 16 == 0) out << "\n   ";
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X,", static_cast<unsigned char>(data[i]));
    out << hex;
  }
  out << "\n};\n\nconst std::size_t kBannerGifSize = sizeof(kBannerGif);\n\n"
         "}  // namespace orlu\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_banner <out.gif> <out.cpp>\n");
    return 2;
  }
  std::vector<Frame> frames{
      MakeFrame(0, "ORLU WEBMASTER TOOLS", "DOMAINS - RANKS - SITES", 0),
      MakeFrame(1, "WHOIS IN BULK", "EVERY SUFFIX - ONE LIST", 1),
      MakeFrame(2, "FILTER AND CHECK", "PINYIN - WORDS - TYPO", 2),
  };
  if (!WriteGif(argv[1], frames)) return 1;
  return WriteArray(argv[1], argv[2]) ? 0 : 1;
}
