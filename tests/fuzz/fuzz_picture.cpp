// GIF and JPEG decoding of pictures from outside.
#include "fuzz_input.h"
#include "platform/ui/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(fuzz::Text(data, size));
  orlu::DecodedPicture picture;
  if (orlu::DecodeGif(bytes, picture)) {
    for (const auto& f : picture.frames)
      FUZZ_CHECK(f.pixels.size() == static_cast<size_t>(picture.width) * picture.height);
  }
  if (orlu::DecodeJpeg(bytes, picture)) FUZZ_CHECK(picture.frames.size() == 1);
  // Both signatures, whatever follows.
  orlu::DecodeGif("GIF89a" + bytes, picture);
  orlu::DecodeJpeg(std::string("\xFF\xD8\xFF", 3) + bytes, picture);
  return 0;
}
