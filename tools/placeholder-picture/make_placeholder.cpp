// Draws the ranking detail page's placeholder thumbnail: a 202 x 147 JPEG,
// a grey magnifying glass over the words PICTURE COMING SOON and the
// program's web address, on a light background. Writes the picture as a
// byte array so the program carries it inside, and optionally as a file to
// look at.
//
//   g++ -std=c++20 -O2 tools/placeholder-picture/make_placeholder.cpp -ljpeg -o /tmp/make_placeholder
//   /tmp/make_placeholder src/sitequery/alexa_placeholder_jpeg.cpp [/tmp/placeholder.jpg]
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 202;
constexpr int kHeight = 147;

// A 5 x 7 font for the letters used: seven rows a glyph, the low five bits
// of each row from left (bit 4) to right (bit 0).
struct Glyph {
  char c;
  unsigned char rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
};

struct Rgb {
  unsigned char r, g, b;
};

using Picture = std::vector<Rgb>;

void Put(Picture& p, int x, int y, Rgb c) {
  if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) p[y * kWidth + x] = c;
}

int TextWidth(const std::string& text, int scale) {
  return static_cast<int>(text.size()) * 6 * scale - scale;
}

void DrawText(Picture& p, const std::string& text, int y, int scale, Rgb color) {
  int x = (kWidth - TextWidth(text, scale)) / 2;
  for (char c : text) {
    for (const Glyph& g : kFont) {
      if (g.c != c) continue;
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (!(g.rows[row] & (0x10 >> col))) continue;
          for (int dy = 0; dy < scale; ++dy) {
            for (int dx = 0; dx < scale; ++dx) Put(p, x + col * scale + dx, y + row * scale + dy, color);
          }
        }
      }
    }
    x += 6 * scale;
  }
}

Picture Draw() {
  const Rgb background{244, 246, 248};
  const Rgb glass{150, 154, 160};
  const Rgb lens{226, 232, 238};
  const Rgb text{110, 114, 120};
  Picture p(kWidth * kHeight, background);
  // A thin frame.
  for (int x = 0; x < kWidth; ++x) Put(p, x, 0, glass), Put(p, x, kHeight - 1, glass);
  for (int y = 0; y < kHeight; ++y) Put(p, 0, y, glass), Put(p, kWidth - 1, y, glass);
  // The glass: a ring with a pale lens, and a thick handle to the lower right.
  const double cx = 92, cy = 40, outer = 24, inner = 18;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d <= inner) Put(p, x, y, lens);
      else if (d <= outer) Put(p, x, y, glass);
    }
  }
  for (double t = 0; t <= 22; t += 0.25) {
    const double hx = cx + (outer - 2 + t) * 0.7071, hy = cy + (outer - 2 + t) * 0.7071;
    for (int dy = -4; dy <= 4; ++dy) {
      for (int dx = -4; dx <= 4; ++dx) {
        if (dx * dx + dy * dy <= 16) Put(p, static_cast<int>(hx) + dx, static_cast<int>(hy) + dy, glass);
      }
    }
  }
  DrawText(p, "PICTURE", 86, 2, text);
  DrawText(p, "COMING SOON", 105, 2, text);
  DrawText(p, "WWW.ORLU.EXAMPLE", 131, 1, text);
  return p;
}

std::string EncodeJpeg(const Picture& p) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = kWidth;
  c.image_height = kHeight;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(reinterpret_cast<const unsigned char*>(&p[c.next_scanline * kWidth]));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

bool WriteArray(const std::string& bytes, const char* path) {
  std::ofstream out(path, std::ios::binary);
  out << "// The ranking detail page's placeholder thumbnail (202 x 147 JPEG).\n"
         "// Written by tools/placeholder-picture/make_placeholder.cpp; do not edit by hand.\n"
         "#include \"sitequery/alexa_placeholder_jpeg.h\"\n\n"
         "namespace orlu {\n\n"
         "const unsigned char kAlexaPlaceholderJpeg[] = {";
  for (size_t i = 0; i < bytes.size(); ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X,", static_cast<unsigned char>(bytes[i]));
    out << (i % 16 == 0 ? "\n    " : " ") << hex;
  }
  out << "\n};\n\nconst unsigned long kAlexaPlaceholderJpegSize = sizeof kAlexaPlaceholderJpeg;\n\n"
         "}  // namespace orlu\n";
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_placeholder ARRAY.cpp [PICTURE.jpg]\n");
    return 2;
  }
  const std::string jpeg = EncodeJpeg(Draw());
  if (!WriteArray(jpeg, argv[1])) return 1;
  if (argc > 2) {
    std::ofstream(argv[2], std::ios::binary) << jpeg;
  }
  return 0;
}
