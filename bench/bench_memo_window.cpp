// A memo given 1,000,000 lines in one call (SetLines), in ASCII and in GBK,
// against the toolkit's own text document taking the same text in one piece
// in the same run: the floor of any memo built on that document. Then the
// lines read back (Lines) against splitting the same text alone.
//
// The same for a memo that does not wrap its words, which holds so large a
// content in its read view: the fill and the read, the first paint, and the
// one-time hand-over to the editor when the user clicks into it (against the
// document fill, which it is).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QString>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"
#include "platform/ui/ui.h"
#include "platform/ui/ui_internal.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;
constexpr int kLines = 1000000;

std::vector<std::string> MakeLines(const std::string& prefix) {
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back(prefix + std::to_string(i) + ".com");
  return lines;
}

// The same text as one string for the document, joined with LF.
QString Joined(const std::vector<std::string>& lines, bool ascii) {
  std::string text;
  for (const auto& l : lines) {
    text += l;
    text += '\n';
  }
  if (ascii) return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromStdString(orlu::AnsiToUtf8(text));
}

struct Figures {
  double memo = 1e9;
  double document = 1e9;
  double read = 1e9;   // Lines() of the filled memo
  double split = 1e9;  // the same text split by the string-list rules alone
  double paint = 1e9;  // read view: the first picture of the filled memo
  double open = 1e9;   // read view: the hand-over to the editor on a click
};

Figures Measure(orlu::Memo& memo, const std::vector<std::string>& lines, bool ascii) {
  Figures f;
  for (int round = 0; round < 2; ++round) {
    memo.Clear();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    const auto start = Clock::now();
    memo.SetLines(lines);
    f.memo = std::min(f.memo, SecondsSince(start));
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
  }
  for (int round = 0; round < 2; ++round) {
    const auto start = Clock::now();
    const std::vector<std::string> back = memo.Lines();
    f.read = std::min(f.read, SecondsSince(start));
    if (back != lines) {
      std::fprintf(stderr, "bench_memo_window: the lines read back differ\n");
      std::exit(1);
    }
  }
  const std::string text = orlu::JoinLines(lines);
  for (int round = 0; round < 2; ++round) {
    const auto start = Clock::now();
    const std::vector<std::string> back = orlu::SplitLines(text);
    f.split = std::min(f.split, SecondsSince(start));
    if (back.size() != lines.size()) std::exit(1);
  }
  if (orlu::MemoHoldsLinesInView(memo)) {
    QWidget* edit = memo.Impl()->widget;
    for (int round = 0; round < 2; ++round) {
      memo.SetLines(lines);
      const auto start = Clock::now();
      edit->grab();
      f.paint = std::min(f.paint, SecondsSince(start));
    }
    for (int round = 0; round < 2; ++round) {
      memo.SetLines(lines);
      orlu::ProcessEventsFor(std::chrono::milliseconds(0));
      QAbstractScrollArea* view = edit->findChild<QAbstractScrollArea*>();
      if (view == nullptr) std::exit(1);
      const QPoint at(10, 10);
      QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      const auto start = Clock::now();
      QCoreApplication::sendEvent(view->viewport(), &press);
      f.open = std::min(f.open, SecondsSince(start));
      if (orlu::MemoHoldsLinesInView(memo) || memo.LineCount() != static_cast<int>(lines.size())) {
        std::fprintf(stderr, "bench_memo_window: the click did not open the editor\n");
        std::exit(1);
      }
      orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    }
  }
  memo.Clear();
  for (int round = 0; round < 2; ++round) {
    QTextDocument doc;
    const auto start = Clock::now();
    doc.setPlainText(Joined(lines, ascii));
    f.document = std::min(f.document, SecondsSince(start));
  }
  return f;
}

void Print(const char* set, const char* read, const Figures& f) {
  std::printf(
      "bench %s: %.3f s; document fill of the same text: %.3f s; ratio %.2f; target <= 1.3\n",
      set, f.memo, f.document, f.document > 0 ? f.memo / f.document : 0.0);
  std::printf("bench %s: %.3f s; split of the same text: %.3f s; ratio %.2f\n", read, f.read,
              f.split, f.split > 0 ? f.read / f.split : 0.0);
}

void PrintView(const std::string& set, const std::string& read, const Figures& f) {
  std::printf(
      "bench %s: %.3f s; document fill of the same text: %.3f s; ratio %.3f; target <= 0.1\n",
      set.c_str(), f.memo, f.document, f.document > 0 ? f.memo / f.document : 0.0);
  std::printf("bench %s: %.3f s; split of the same text: %.3f s; ratio %.2f\n", read.c_str(),
              f.read, f.split, f.split > 0 ? f.read / f.split : 0.0);
  std::printf("bench %s_first_paint: %.4f s; target < 0.05 s\n", set.c_str(), f.paint);
  std::printf(
      "bench %s_open_editor: %.3f s; document fill of the same text: %.3f s; ratio %.2f; "
      "target <= 1.3\n",
      set.c_str(), f.open, f.document, f.document > 0 ? f.open / f.document : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::Form form;
  form.SetBounds(0, 0, 400, 300);
  orlu::Memo memo(form);
  memo.SetAlign(orlu::Align::Client);
  memo.SetScrollBars(orlu::ScrollBars::Vertical);
  form.Show();
  orlu::ProcessEventsFor(std::chrono::milliseconds(50));

  Print("memo_set_lines_1m_ascii_window", "memo_read_lines_1m_ascii_window",
        Measure(memo, MakeLines("domain"), true));
  Print("memo_set_lines_1m_gbk_window", "memo_read_lines_1m_gbk_window",
        Measure(memo, MakeLines(orlu::Gbk("域名")), false));

  // A memo that does not wrap: the read view.
  orlu::Memo flat(form);
  flat.SetBounds(0, 0, 400, 300);
  flat.SetScrollBars(orlu::ScrollBars::Both);
  memo.Hide();
  orlu::ProcessEventsFor(std::chrono::milliseconds(50));
  PrintView("memo_view_set_lines_1m_ascii_window", "memo_view_read_lines_1m_ascii_window",
            Measure(flat, MakeLines("domain"), true));
  PrintView("memo_view_set_lines_1m_gbk_window", "memo_view_read_lines_1m_gbk_window",
            Measure(flat, MakeLines(orlu::Gbk("域名")), false));

  // At the line count from which a memo takes the read view: what the editor
  // would cost there, the largest fill a memo still makes in the editor.
  const size_t threshold = orlu::MemoViewThreshold();
  std::vector<std::string> atThreshold = MakeLines("domain");
  atThreshold.resize(threshold);
  flat.Clear();
  orlu::SetMemoViewThreshold(SIZE_MAX);
  double editor = 1e9;
  for (int round = 0; round < 3; ++round) {
    flat.Clear();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    const auto start = Clock::now();
    flat.SetLines(atThreshold);
    editor = std::min(editor, SecondsSince(start));
  }
  orlu::SetMemoViewThreshold(threshold);
  double view = 1e9;
  for (int round = 0; round < 3; ++round) {
    flat.Clear();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    const auto start = Clock::now();
    flat.SetLines(atThreshold);
    view = std::min(view, SecondsSince(start));
  }
  std::printf("bench memo_set_lines_%zu_editor_window: %.4f s; read view: %.4f s; ratio %.1f\n",
              threshold, editor, view, view > 0 ? editor / view : 0.0);
  return 0;
}
