// The simple controls: buttons, edits, memos, labels, check and radio
// buttons, up-downs, and the plain containers (panel, group box, scroll box).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace orlu {

class Button : public Control {
 public:
  explicit Button(Container& parent, const std::string& caption = "");
};

// A one-line edit box. Caption() and Text() are the same.
class Edit : public Control {
 public:
  explicit Edit(Container& parent, const std::string& text = "");
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }
  // Off: a flat edit without a frame.
  void SetBorder(bool border);
  // A box that holds a file name: shows the name (the file system's bytes)
  // whole, and gives the name back as bytes, not GBK text.
  std::string FileName() const;
  void SetFileName(const std::string& fileName);
  // The text changed (by the user or by code).
  std::function<void()> OnChange;

  std::string Caption() const override;
  void SetCaption(const std::string& text) override;
};

// A multi-line edit box. Its lines follow the string-list rules: an empty
// memo has no lines; text splits at CR LF, LF or a lone CR; a final line
// break adds no line. SetLines writes every line followed by a break.
class Memo : public Control {
 public:
  explicit Memo(Container& parent);
  ~Memo() override;

  // A snapshot of the lines (GBK).
  std::vector<std::string> Lines() const;
  int LineCount() const;
  // Replaces the whole content in one call.
  void SetLines(const std::vector<std::string>& lines);
  // The same, taking the lines over rather than copying them.
  void TakeLines(std::vector<std::string> lines);
  // Appends one line (after a break when the text does not end in one).
  void Add(const std::string& line);
  // Appends lines in one call, as SetLines with the old and the new lines
  // would, without copying what the memo holds.
  void AddLines(std::vector<std::string> lines);
  void Clear();
  // The raw text with CR LF line breaks, and its setter (any break style).
  std::string Text() const;
  void SetText(const std::string& text);
  // The length of Text(), without making it where the lines are held.
  size_t TextLength() const;

  void SetScrollBars(ScrollBars bars);  // a horizontal bar turns wrapping off
  std::function<void()> OnChange;

  std::string Caption() const override { return Text(); }
  void SetCaption(const std::string& text) override { SetText(text); }
};

// A static text. A link-style label is a label with the hand cursor and a
// blue font colour.
class Label : public Control {
 public:
  explicit Label(Container& parent, const std::string& caption = "");
  // On by default: the label sizes itself to its caption.
  void SetAutoSize(bool autoSize);
  // Transparent by default; a colour set with SetColor fills the label.
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(Container& parent, const std::string& caption = "");
  bool Checked() const;
  // Does not run OnClick.
  void SetChecked(bool checked);
  // From code: toggles (when enabled or not) and runs OnClick.
  void Click() override;
};

// Radio buttons with the same parent exclude each other.
class RadioButton : public Control {
 public:
  explicit RadioButton(Container& parent, const std::string& caption = "");
  bool Checked() const;
  void SetChecked(bool checked);
  // From code: checks it and runs OnClick.
  void Click() override;
};

// Up and down arrows that step a whole number shown in an edit beside them.
// Associate places the arrows at the edit's right edge and writes Position
// into the edit; an arrow press reads the edit's number (Position when it is
// none), steps it within Min..Max and writes it back.
class UpDown : public Control {
 public:
  explicit UpDown(Container& parent);
  void Associate(Edit* edit);
  void SetRange(int min, int max);
  int Min() const;
  int Max() const;
  int Position() const;
  void SetPosition(int position);  // clipped to the range; updates the edit
  void StepUp();
  void StepDown();
  // The position changed by an arrow.
  std::function<void()> OnChange;
};

enum class Bevel { None, Raised, Lowered };

// A plain container; with a caption it shows the caption centred.
class Panel : public Container {
 public:
  explicit Panel(Container& parent);
  void SetBevel(Bevel outer);
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
};

// A framed container with a title.
class GroupBox : public Container {
 public:
  explicit GroupBox(Container& parent, const std::string& caption = "");
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
};

// A container whose content is larger than its view. Children sit on the
// content area; SetContentHeight sets the vertical scroll range (0: as high
// as the view).
class ScrollBox : public Container {
 public:
  explicit ScrollBox(Container& parent);
  void SetContentHeight(int height);
  // Painting is always buffered; kept for the boxes that ask for it.
  void SetDoubleBuffered(bool) {}

  // The vertical scroll bar: position 0 .. ScrollRange(), its step (8).
  int ScrollPosition() const;
  void SetScrollPosition(int position);  // clipped to 0 .. ScrollRange()
  int ScrollRange() const;
  int ScrollIncrement() const;

  // One wheel notch over the box, down (towards the end) or up. Setting
  // handled keeps the box from scrolling by itself.
  std::function<void(bool& handled)> OnMouseWheelDown;
  std::function<void(bool& handled)> OnMouseWheelUp;
};

}  // namespace orlu
