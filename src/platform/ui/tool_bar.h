// Tool bar with buttons that show their caption under an image, image lists,
// and the status bar.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace orlu {

struct ImageListData;

// Images of one size for tool buttons.
class ImageList {
 public:
  ImageList(int width = 30, int height = 30);
  ~ImageList();
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  int Width() const;
  int Height() const;
  int Count() const;
  // Adds a simple drawn glyph: a rounded square of `color` with `text`
  // (GBK, a character or two) in white.
  int AddGlyph(const std::string& text, Color color);

  ImageListData* Data() const { return data_; }

 private:
  ImageListData* data_;
};

class ToolBar;

class ToolButton : public Control {
 public:
  ToolButton(ToolBar& bar, const std::string& caption = "", int imageIndex = -1);
  void SetImageIndex(int index);
  int ImageIndex() const { return imageIndex_; }
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;

 private:
  int imageIndex_ = -1;
};

// Docked to the top by default. Its children (buttons and any other control)
// sit in one row, left to right, in the order they were made; buttons take
// the bar's button size.
class ToolBar : public Container {
 public:
  explicit ToolBar(Container& parent);
  void SetImages(ImageList* images);
  ImageList* Images() const { return images_; }
  void SetButtonSize(int width, int height);
  int ButtonWidth() const { return buttonWidth_; }
  int ButtonHeight() const { return buttonHeight_; }

 private:
  friend class ToolButton;
  ImageList* images_ = nullptr;
  int buttonWidth_ = 55;
  int buttonHeight_ = 50;
};

// Docked to the bottom by default; one or more text panels.
class StatusBar : public Control {
 public:
  explicit StatusBar(Container& parent);
  void SetPanelCount(int count);
  int PanelCount() const;
  void SetPanelText(int panel, const std::string& text);
  std::string PanelText(int panel) const;
  // Panel 0.
  std::string Caption() const override { return PanelText(0); }
  void SetCaption(const std::string& text) override { SetPanelText(0, text); }
};

}  // namespace orlu
