// GIF and JPEG decoding of pictures from outside.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orlu::DecodedPicture picture;
  if (orlu::DecodeGif(bytes, picture)) {
    for (const auto& f : picture.frames) {
      if (f.pixels.size() != static_cast<size_t>(picture.width) * picture.height) __builtin_trap();
    }
  }
  if (orlu::DecodeJpeg(bytes, picture)) {
    if (picture.frames.size() != 1) __builtin_trap();
  }
  // Both signatures, whatever follows.
  std::string withGif = std::string("GIF89a") + std::string(bytes);
  orlu::DecodeGif(withGif, picture);
  std::string withJpeg = std::string("\xFF\xD8\xFF", 3) + std::string(bytes);
  orlu::DecodeJpeg(withJpeg, picture);
  return 0;
}
