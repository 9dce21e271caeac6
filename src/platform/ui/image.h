// A picture box: still pictures (JPEG through libjpeg, or anything Qt reads)
// and animated GIFs decoded with giflib, each frame shown for its own delay,
// repeated as the file's loop count says (0: forever; a file without a loop
// count plays once).
#pragma once

#include <string>

#include "platform/ui/control.h"
#include "platform/ui/picture_decode.h"

namespace orlu {

// Decodes what an Image shows (GIF, JPEG, or another kind the toolkit reads,
// PNG among them), within the pixel budget of picture_decode.h. Any thread,
// so pictures from outside are decoded off the window thread. False when the
// data is no picture or over the budget.
bool DecodePicture(const std::string& bytes, DecodedPicture& out);

class Image : public Control {
 public:
  explicit Image(Container& parent);
  ~Image() override;

  // Load from bytes. False when the data is not a picture; the box then
  // keeps its old picture.
  bool LoadGif(const std::string& bytes);
  bool LoadJpeg(const std::string& bytes);
  bool LoadData(const std::string& bytes);  // by its signature
  // Shows a picture decoded by DecodePicture; `picture` is emptied.
  void LoadDecoded(DecodedPicture&& picture);
  void Clear();

  int PictureWidth() const;
  int PictureHeight() const;
  int FrameCount() const;                // 1 for a still picture, 0 when empty
  int CurrentFrame() const;
  bool Animating() const;
};

}  // namespace orlu
