// Filling a memo from a file the user picks.
#pragma once

#include <utility>

#include "platform/text/string_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"

namespace orlu {

// The memo's lines replaced by those of the file chosen in `dialog`, and the
// file's name put in `fileBox` (when there is one) once they are in. The file
// is read whole first, so a file that cannot be read raises its error and one
// too large to hold is refused with a message of its own (StringList's
// LoadFromFile), either way leaving the memo and the box as they were.
inline void ImportLines(OpenDialog& dialog, Memo& memo, Edit* fileBox = nullptr) {
  if (!dialog.Execute()) return;
  StringList lines;
  lines.LoadFromFile(dialog.FileName());
  memo.TakeLines(std::move(lines.Lines()));
  if (fileBox != nullptr) fileBox->SetFileName(dialog.FileName());
}

}  // namespace orlu
