// The memo's read view: a plain list of lines painted over the memo's
// editor, drawing only the lines in sight. It draws lines unwrapped, so a
// memo that wraps its words never takes it.
#include "platform/ui/memo_view.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <climits>


namespace orlu {

// The read view. It covers the whole editor (frame and scroll bars) with the
// same frame, scroll bars, font and colours, and draws each line as the
// editor's document lays it out.
class MemoView : public QAbstractScrollArea {
 public:
  explicit MemoView(MemoImpl* impl) : QAbstractScrollArea(impl->edit), impl_(impl) {
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(impl->edit->frameStyle());
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(impl->edit->viewport()->cursor());
    viewport()->setAcceptDrops(true);
    FollowBars();
    setGeometry(impl->edit->rect());
  }

  void FollowBars() {
    setVerticalScrollBarPolicy(impl_->vertical);
    setHorizontalScrollBarPolicy(impl_->horizontal);
  }

  // A new content: back to the top left.
  void Reset() {
    widest_ = 0;
    Adjust();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
  }

  void Adjust() {
    const qreal margin = Margin();
    const qreal lh = LineHeight();
    // The editor's document has one more block after the final break.
    const int n = static_cast<int>(std::min<size_t>(impl_->lines.size() + 1, INT_MAX));
    const int fit = std::max(1, static_cast<int>((viewport()->height() - margin) / lh));
    verticalScrollBar()->setRange(0, std::max(0, n - fit));
    verticalScrollBar()->setPageStep(fit);
    verticalScrollBar()->setSingleStep(1);
    if (widest_ == 0) MeasureVisible();
    const int docWidth = static_cast<int>(widest_ + 2 * margin);
    horizontalScrollBar()->setRange(0, std::max(0, docWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(20);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(viewport());
    const qreal margin = Margin();
    const qreal lh = LineHeight();
    const size_t first = static_cast<size_t>(verticalScrollBar()->value());
    const qreal x = margin - horizontalScrollBar()->value();
    p.setPen(palette().color(QPalette::Text));
    const qreal before = widest_;
    qreal y = margin;
    for (size_t i = first; i < impl_->lines.size() && y < viewport()->height(); ++i) {
      QTextLayout layout(ToQ(impl_->lines[i]), font(), viewport());
      QTextOption option;
      option.setWrapMode(QTextOption::NoWrap);
      layout.setTextOption(option);
      layout.beginLayout();
      QTextLine line = layout.createLine();
      if (line.isValid()) line.setLineWidth(INT_MAX / 256);
      layout.endLayout();
      layout.draw(&p, QPointF(x, y));
      if (!line.isValid()) {
        y += lh;
        continue;
      }
      widest_ = std::max(widest_, line.naturalTextWidth());
      y += line.height();
    }
    // Lines wider than any seen so far widen the horizontal range, as the
    // editor's does while it lays lines out.
    if (widest_ > before) Adjust();
  }

  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    Adjust();
  }

  void changeEvent(QEvent* event) override {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
      widest_ = 0;
      Adjust();
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    event->accept();
    Open(Qt::MouseFocusReason);
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    event->accept();
    Open(Qt::MouseFocusReason);
  }

  // Text dragged over the memo may be dropped into it: the editor takes the
  // drag from its next move on.
  void dragEnterEvent(QDragEnterEvent* event) override {
    event->ignore();
    Open(Qt::OtherFocusReason, false);
  }

  void contextMenuEvent(QContextMenuEvent* event) override {
    const QPoint global = event->globalPos();
    QPointer<QWidget> target = impl_->edit->viewport();
    Open(Qt::PopupFocusReason);
    if (!target) return;
    QContextMenuEvent again(event->reason(), target->mapFromGlobal(global), global,
                            event->modifiers());
    QCoreApplication::sendEvent(target, &again);
  }

 private:
  // Hands the lines to the editor at the place in sight, caret at the start.
  void Open(Qt::FocusReason reason, bool focus = true) {
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    QPlainTextEdit* edit = impl_->edit;
    LeaveView(impl_, true);  // deletes this view later
    edit->verticalScrollBar()->setValue(top);
    edit->horizontalScrollBar()->setValue(left);
    if (focus) edit->setFocus(reason);
  }

  qreal Margin() const { return impl_->edit->document()->documentMargin(); }

  qreal LineHeight() const {
    QTextLayout layout(QStringLiteral("x"), font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return std::max<qreal>(1, line.height());
  }

  void MeasureVisible() {
    const QFontMetricsF fm(font());
    const size_t first = static_cast<size_t>(std::max(0, verticalScrollBar()->value()));
    const int count = static_cast<int>(viewport()->height() / LineHeight()) + 1;
    for (size_t i = first; i < impl_->lines.size() && i < first + count; ++i) {
      widest_ = std::max(widest_, fm.horizontalAdvance(ToQ(impl_->lines[i])));
    }
  }

  MemoImpl* impl_;
  qreal widest_ = 0;
};

namespace {

// Follows the editor's size, and opens the editor on a key or on focus
// arriving by keyboard while the read view shows.
class EditWatcher : public QObject {
 public:
  EditWatcher(MemoImpl* impl) : QObject(impl->edit), impl_(impl) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != impl_->edit || !impl_->viewing) return false;
    switch (event->type()) {
      case QEvent::Resize:
        if (impl_->view) impl_->view->setGeometry(impl_->edit->rect());
        break;
      case QEvent::KeyPress:
      case QEvent::InputMethod:
        LeaveView(impl_, true);
        break;
      case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason) {
          LeaveView(impl_, true);
        }
        break;
      }
      default:
        break;
    }
    return false;
  }

 private:
  MemoImpl* impl_;
};

}  // namespace

// The editor shown again. With `keepLines` it takes the held lines (without
// a change event: the content stays what it was); otherwise the caller
// gives it its new content.
void LeaveView(MemoImpl* impl, bool keepLines) {
  if (!impl->viewing) return;
  impl->viewing = false;
  std::vector<std::string> lines = std::move(impl->lines);
  impl->lines.clear();
  if (impl->view) {
    impl->view->hide();
    impl->view->deleteLater();
    impl->view = nullptr;
  }
  impl->edit->setVerticalScrollBarPolicy(impl->vertical);
  impl->edit->setHorizontalScrollBarPolicy(impl->horizontal);
  if (!keepLines) return;
  const std::string text = EditorText(lines);
  lines = {};
  impl->silent = true;
  SetEditorText(impl, ToQ(text));
  impl->silent = false;
}

// Puts `lines` (already in the editor's form) into the read view.
void EnterView(MemoImpl* impl, std::vector<std::string> lines) {
  if (!impl->viewing) {
    // The editor lets its old content go unseen.
    impl->silent = true;
    SetEditorText(impl, QString());
    impl->silent = false;
  }
  impl->lines = std::move(lines);
  impl->viewing = true;
  impl->edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  impl->edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (!impl->view) {
    impl->view = new MemoView(impl);
    impl->view->show();
    impl->view->raise();
  }
  impl->view->Reset();
}

void ViewLinesAdded(MemoImpl* impl) {
  if (impl->view) {
    impl->view->Adjust();
    impl->view->viewport()->update();
  }
}

void ViewFollowBars(MemoImpl* impl) {
  if (impl->view) impl->view->FollowBars();
}

void WatchEditor(MemoImpl* impl) {
  auto* watcher = new EditWatcher(impl);
  impl->watcher = watcher;
  impl->edit->installEventFilter(watcher);
}

void DropView(MemoImpl* impl) {
  delete impl->watcher.data();
  delete impl->view.data();
}

}  // namespace orlu
