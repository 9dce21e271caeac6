// A drawing surface handed to the handlers of owner-drawn parts (list
// headers, page tabs), and a picture in memory to draw on.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/types.h"

class QPainter;

namespace orlu {

class Control;

class Canvas {
 public:
  // Over a painter of the window layer; the painter's state is restored
  // when the canvas goes.
  explicit Canvas(QPainter& painter);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void SetBrushColor(Color color);
  void FillRect(const Rect& rect);  // with the brush colour

  // The font of `control` and its font colour (the style's text colour
  // when it has none of its own).
  void SetFontOf(const Control& control);
  void SetFontColor(Color color);
  // Text is drawn without a background.
  // The text with its top-left corner at (x, y).
  void TextOut(int x, int y, const std::string& text);
  // The text from the top-left corner of `rect`, one line, cut with an
  // ellipsis when it is wider than the rectangle.
  void DrawTextEllipsis(const Rect& rect, const std::string& text);

 private:
  QPainter& painter_;
  Color brush_ = colors::White;
};

// A picture in memory, filled with one colour, to draw on and read back.
class CanvasImage {
 public:
  CanvasImage(int width, int height, Color fill);
  ~CanvasImage();
  Canvas& GetCanvas();
  // The colour at (x, y) (drawing so far included); 0 outside.
  Color Pixel(int x, int y);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlu
