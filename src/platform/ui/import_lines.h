// Filling a memo from a file the user picks.
#pragma once

#include "platform/text/string_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogs.h"

namespace orlu {

// The memo's lines replaced by those of the file chosen in `dialog`. The file
// is read whole first, so a file that cannot be read raises its error and
// leaves the memo as it was.
inline void ImportLines(OpenDialog& dialog, Memo& memo) {
  if (!dialog.Execute()) return;
  StringList lines;
  lines.LoadFromFile(dialog.FileName());
  memo.SetLines(lines.Lines());
}

}  // namespace orlu
