// The memo: a multi-line edit. Small contents live in the toolkit's text
// editor. A large content set in one piece (SetLines) is first held as a
// plain list of lines and shown by a light read view painted over the
// editor, which draws only the lines in sight; laying a million lines out in
// the editor's document costs seconds, the list costs next to nothing. The
// first sign that the user wants to edit or select (a mouse press, a key, a
// context menu, focus arriving by keyboard) or any change the list cannot
// hold (a whole new text, word wrapping) hands the lines to the editor once,
// and from then on the memo is the editor as for a small content.
//
// The read view draws lines unwrapped, so a memo that wraps its words never
// takes it: its lines go to the editor at once.
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <iterator>

#include "platform/text/string_list.h"
#include "platform/ui/controls.h"
#include "platform/ui/memo_view.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

// From this many lines a content given in one piece goes to the read view.
// Below it the editor's fill takes a few tens of milliseconds at most.
size_t g_viewThreshold = 50000;

// Appends `text` with any line break (CR LF, lone CR) as LF, the editor's
// form.
void AppendNormalised(std::string& out, const std::string& text) {
  ForEachLine(text, [&](size_t begin, size_t end, size_t next) {
    out.append(text, begin, end - begin);
    if (next > end) out.push_back('\n');
  });
}

std::string NormaliseBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  AppendNormalised(out, text);
  return out;
}

bool NoCharTheDocumentRewrites(const QString& q) {
  for (QChar c : q) {
    const char16_t u = c.unicode();
    if (u == 0x00A0 || u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 ||
        u == 0xFFFC) {
      return false;
    }
  }
  return true;
}

// Which double-byte characters come back from the editor as they went in
// (a bit per lead and trail byte), found once by converting each.
const std::vector<bool>& PairsKept() {
  static const std::vector<bool> kept = [] {
    std::vector<bool> table(256 * 256, false);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
        const QString q = ToQ(pair);
        table[lead * 256 + trail] = q.size() == 1 && NoCharTheDocumentRewrites(q) && FromQ(q) == pair;
      }
    }
    return table;
  }();
  return kept;
}

// True when every byte is ASCII or part of a double-byte character the
// editor keeps.
bool KeptAsIs(const std::string& line) {
  const std::vector<bool>* pairs = nullptr;
  for (size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c < 0x80) continue;
    if (i + 1 >= line.size()) return false;
    if (pairs == nullptr) pairs = &PairsKept();
    if (!(*pairs)[c * 256 + static_cast<unsigned char>(line[i + 1])]) return false;
    ++i;
  }
  return true;
}

// A line as the editor gives it back: text it cannot hold exactly comes
// back changed (bytes that are no GBK), and a few characters the document
// treats as breaks or rewrites on the way out. Returns false for those
// (the caller then leaves the whole content to the editor).
bool AsEditorKeepsIt(const std::string& line, std::string& out) {
  if (KeptAsIs(line)) {
    out = line;
    return true;
  }
  const QString q = ToQ(line);
  if (!NoCharTheDocumentRewrites(q)) return false;
  out = FromQ(q);
  return true;
}

// Appends a piece of text as the editor would store it followed by one
// break: each break inside it starts a new line, so "a\rb" gives two lines
// and "a\r" gives "a" and an empty line.
bool AppendAsLines(const std::string& piece, std::vector<std::string>& lines) {
  size_t start = 0;
  for (size_t i = 0; i <= piece.size(); ++i) {
    if (i < piece.size() && piece[i] != '\r' && piece[i] != '\n') continue;
    std::string line;
    if (!AsEditorKeepsIt(piece.substr(start, i - start), line)) return false;
    lines.push_back(std::move(line));
    if (i < piece.size() && piece[i] == '\r' && i + 1 < piece.size() && piece[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return true;
}

bool HasBreak(const std::string& s) {
  return s.find_first_of("\r\n") != std::string::npos;
}

// The lines `text` gives followed by one break: one more than its breaks.
size_t LinesOf(const std::string& text) {
  size_t lines = 1;
  ForEachLine(text, [&](size_t, size_t end, size_t next) {
    if (next > end) ++lines;
  });
  return lines;
}

// The toolkit's wrapping at word boundaries looks across the whole of a run
// without a blank for a place to break each row it lays out, so a line of a
// million letters takes it minutes. A memo that wraps and holds a run longer
// than this wraps anywhere instead (in one pass); text of ordinary words
// keeps them whole.
constexpr qsizetype kLongestRunWrappedAtWords = 16384;

bool HasLongRun(const QString& text) {
  qsizetype run = 0;
  for (QChar c : text) {
    const char16_t u = c.unicode();
    run = u == '\n' || u == ' ' || u == '\t' ? 0 : run + 1;
    if (run > kLongestRunWrappedAtWords) return true;
  }
  return false;
}

// `text` becomes the editor's content (`whole`) or is added to it.
void WrapAnywhereFor(MemoImpl* impl, const QString& text, bool whole) {
  if (!impl->wrap) return;
  const bool anywhere = HasLongRun(text);
  if (!anywhere && !whole) return;
  impl->edit->setWordWrapMode(anywhere ? QTextOption::WrapAnywhere
                                       : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

MemoImpl* Mi(const Memo* m) { return static_cast<MemoImpl*>(m->Impl()); }

std::unique_ptr<ControlImpl> NewMemo() {
  auto impl = std::make_unique<MemoImpl>();
  impl->edit = new QPlainTextEdit;
  impl->widget = impl->edit;
  impl->input = impl->edit->viewport();
  return impl;
}

}  // namespace

// Replaces the editor's whole text. The document takes it directly: the
// edit's own setPlainText walks every block a second time to reset its
// character format, which a plain-text memo never changes (a tenth of the
// time on a million lines). As there, the undo history goes, the caret
// returns to the start and the view to the top.
void SetEditorText(MemoImpl* impl, const QString& text) {
  QTextDocument* doc = impl->edit->document();
  WrapAnywhereFor(impl, text, true);
  doc->setPlainText(text);
  impl->edit->setTextCursor(QTextCursor(doc));
}

std::string EditorText(const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 1;
  std::string text;
  text.reserve(total);
  for (const auto& l : lines) {
    AppendNormalised(text, l);
    text += '\n';
  }
  return text;
}

namespace {

// The lines become the editor's whole content, converted once.
void FillEditor(MemoImpl* impl, const std::vector<std::string>& lines) {
  LeaveView(impl, false);
  SetEditorText(impl, ToQ(EditorText(lines)));
}

}  // namespace

void SetMemoViewThreshold(size_t lines) { g_viewThreshold = std::max<size_t>(1, lines); }
size_t MemoViewThreshold() { return g_viewThreshold; }
bool MemoHoldsLinesInView(const Memo& memo) { return Mi(&memo)->viewing; }

Memo::Memo(Container& parent) : Control(&parent, NewMemo()) {
  MemoImpl* impl = Mi(this);
  QPlainTextEdit* m = impl->edit;
  m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetBounds(0, 0, 185, 89);
  WatchEditor(impl);
  QObject::connect(m, &QPlainTextEdit::textChanged, m, [this] {
    if (!Mi(this)->silent) Fire(OnChange);
  });
}

Memo::~Memo() {
  // Nothing of the read view may reach this memo once its members go.
  MemoImpl* impl = Mi(this);
  DropView(impl);
  impl->viewing = false;
}

// The document's plain text has LF breaks only, which split as CR LF does.
std::vector<std::string> Memo::Lines() const {
  const MemoImpl* impl = Mi(this);
  if (impl->viewing) return impl->lines;
  return SplitLines(FromQ(impl->edit->toPlainText()));
}

int Memo::LineCount() const {
  const MemoImpl* impl = Mi(this);
  if (impl->viewing) return static_cast<int>(impl->lines.size());
  // Counted over the text, without making the lines.
  size_t count = 0;
  ForEachLine(FromQ(impl->edit->toPlainText()), [&](size_t, size_t, size_t) { ++count; });
  return static_cast<int>(count);
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  MemoImpl* impl = Mi(this);
  // A content for the read view is taken over as a copy.
  if (lines.size() >= g_viewThreshold && !impl->wrap) {
    TakeLines(lines);
    return;
  }
  FillEditor(impl, lines);
}

void Memo::Add(const std::string& line) {
  MemoImpl* impl = Mi(this);
  if (impl->viewing) {
    // The held text always ends in a break, so the line starts on its own.
    std::vector<std::string> more;
    if (AppendAsLines(line, more)) {
      for (auto& l : more) impl->lines.push_back(std::move(l));
      ViewLinesAdded(impl);
      Fire(OnChange);
      return;
    }
    LeaveView(impl, true);
  }
  QTextDocument* doc = impl->edit->document();
  const bool empty = doc->isEmpty();
  // A large text added to an empty memo is its whole content, shown as one
  // set in one piece: in the read view (a page of a hundred thousand lines
  // takes the editor seconds and hundreds of MB).
  if (empty && !impl->wrap && LinesOf(line) >= g_viewThreshold) {
    std::vector<std::string> held;
    if (AppendAsLines(line, held)) {
      EnterView(impl, std::move(held));
      Fire(OnChange);
      return;
    }
  }
  QString piece;
  if (!empty && !doc->lastBlock().text().isEmpty()) piece += QLatin1Char('\n');
  piece += ToQ(NormaliseBreaks(line));
  piece += QLatin1Char('\n');
  WrapAnywhereFor(impl, piece, empty);
  QTextCursor cursor(doc);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(piece);
}

void Memo::Clear() {
  MemoImpl* impl = Mi(this);
  if (impl->viewing) {
    LeaveView(impl, false);
    Fire(OnChange);
    return;
  }
  WrapAnywhereFor(impl, QString(), true);
  impl->edit->clear();
}

std::string Memo::Text() const {
  const MemoImpl* impl = Mi(this);
  if (impl->viewing) return JoinLines(impl->lines);
  const std::string lf = FromQ(impl->edit->toPlainText());
  std::string out;
  out.reserve(lf.size() + lf.size() / 16);
  for (char c : lf) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

void Memo::SetText(const std::string& text) {
  MemoImpl* impl = Mi(this);
  LeaveView(impl, false);
  SetEditorText(impl, ToQ(NormaliseBreaks(text)));
}

void Memo::SetScrollBars(ScrollBars bars) {
  MemoImpl* impl = Mi(this);
  QPlainTextEdit* m = impl->edit;
  const bool v = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
  const bool h = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
  impl->vertical = v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  impl->horizontal = h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (!impl->viewing) {
    m->setVerticalScrollBarPolicy(impl->vertical);
    m->setHorizontalScrollBarPolicy(impl->horizontal);
  }
  if (h) {
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    impl->wrap = false;
  }
  ViewFollowBars(impl);
}

// --- Whole lists handed over without copies ---

namespace {

// Puts `lines` into the form the read view holds them in, in place unless a
// line has breaks of its own. False, with `lines` untouched, when a line is
// one the editor would not give back as a line of its own.
bool IntoHeldForm(std::vector<std::string>& lines) {
  bool breaks = false;
  bool changes = false;
  std::string changed;
  for (const auto& l : lines) {
    if (HasBreak(l)) {
      breaks = true;
    } else if (!KeptAsIs(l)) {
      if (!AsEditorKeepsIt(l, changed)) return false;
      changes = true;
    }
  }
  if (breaks) {
    std::vector<std::string> held;
    held.reserve(lines.size());
    for (const auto& l : lines) {
      if (!AppendAsLines(l, held)) return false;
    }
    lines = std::move(held);
    return true;
  }
  if (!changes) return true;
  for (auto& l : lines) {
    if (KeptAsIs(l)) continue;
    AsEditorKeepsIt(l, changed);
    l = std::move(changed);
  }
  return true;
}

}  // namespace

void Memo::TakeLines(std::vector<std::string> lines) {
  MemoImpl* impl = Mi(this);
  if (lines.size() >= g_viewThreshold && !impl->wrap && IntoHeldForm(lines)) {
    EnterView(impl, std::move(lines));
    Fire(OnChange);
    return;
  }
  FillEditor(impl, lines);
}

void Memo::AddLines(std::vector<std::string> lines) {
  if (lines.empty()) return;
  MemoImpl* impl = Mi(this);
  if (impl->viewing && IntoHeldForm(lines)) {
    // Room for exactly the new lines: the list may be most of the memory.
    impl->lines.reserve(impl->lines.size() + lines.size());
    std::move(lines.begin(), lines.end(), std::back_inserter(impl->lines));
    lines = {};
    ViewLinesAdded(impl);
    Fire(OnChange);
    return;
  }
  std::vector<std::string> all = Lines();
  if (all.empty()) {
    all = std::move(lines);
  } else {
    all.reserve(all.size() + lines.size());
    std::move(lines.begin(), lines.end(), std::back_inserter(all));
  }
  lines = {};
  TakeLines(std::move(all));
}

size_t Memo::TextLength() const {
  const MemoImpl* impl = Mi(this);
  if (!impl->viewing) {
    // Text() gives each LF as CR LF.
    const std::string lf = FromQ(impl->edit->toPlainText());
    return lf.size() + static_cast<size_t>(std::count(lf.begin(), lf.end(), '\n'));
  }
  size_t length = 0;
  for (const auto& l : impl->lines) length += l.size() + 2;
  return length;
}

}  // namespace orlu
