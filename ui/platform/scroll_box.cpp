#include "scroll_box.h"

#include <QEvent>
#include <QScrollBar>
#include <algorithm>

namespace tessarin::ui {

TScrollBox::TScrollBox(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  // The view paints no background: its children cover it.
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
    bar->setTracking(true);
    bar->setSingleStep(8);
  }
}

int TScrollBox::ClientWidth() const {
  return viewport()->width();
}
int TScrollBox::ClientHeight() const {
  return viewport()->height();
}

void TScrollBox::SetHorzRange(int range) {
  HorzRange_ = std::max(0, range);
  UpdateScrollBars();
  AlignChildren();
}

void TScrollBox::SetVertRange(int range) {
  VertRange_ = std::max(0, range);
  UpdateScrollBars();
  AlignChildren();
}

void TScrollBox::UpdateScrollBars() {
  horizontalScrollBar()->setRange(0, std::max(0, HorzRange_ - ClientWidth()));
  horizontalScrollBar()->setPageStep(ClientWidth());
  verticalScrollBar()->setRange(0, std::max(0, VertRange_ - ClientHeight()));
  verticalScrollBar()->setPageStep(ClientHeight());
}

void TScrollBox::Repaint() {
  viewport()->repaint();
}

void TScrollBox::AlignChildren() {
  if (Aligning_) return;
  Aligning_ = true;
  QRect area(-horizontalScrollBar()->value(), -verticalScrollBar()->value(),
             std::max(HorzRange_, ClientWidth()), std::max(VertRange_, ClientHeight()));
  const QList<QWidget*> children = viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (const char* align : {"alBottom", "alRight", "alClient"}) {
    for (QWidget* child : children) {
      if (child->property("Align").toString() != QLatin1String(align)) continue;
      const QString kind = QLatin1String(align);
      if (kind == QLatin1String("alBottom")) {
        const int height = std::clamp(child->height(), 0, std::max(0, area.height()));
        child->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
        area.setBottom(area.bottom() - height);
      } else if (kind == QLatin1String("alRight")) {
        const int width = std::clamp(child->width(), 0, std::max(0, area.width()));
        child->setGeometry(area.right() + 1 - width, area.top(), width, area.height());
        area.setRight(area.right() - width);
      } else {
        child->setGeometry(area);
      }
    }
  }
  Aligning_ = false;
}

void TScrollBox::AdoptChildren() {
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->property("Align").isValid()) continue;
    child->setParent(viewport());
    child->installEventFilter(this);
    child->show();
  }
  AlignChildren();
}

bool TScrollBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched->parent() == viewport()) AlignChildren();
  return QAbstractScrollArea::eventFilter(watched, event);
}

void TScrollBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  ClientResized();
}

bool TScrollBox::viewportEvent(QEvent* event) {
  // The client area also changes when a scroll bar appears or goes.
  if (event->type() == QEvent::Resize) ClientResized();
  return QAbstractScrollArea::viewportEvent(event);
}

void TScrollBox::ClientResized() {
  const QSize client = viewport()->size();
  if (client == LastClient_) return;
  LastClient_ = client;
  UpdateScrollBars();
  AlignChildren();
  emit Resized();
}

void TScrollBox::scrollContentsBy(int, int) {
  AlignChildren();
}

void TScrollBox::paintEvent(QPaintEvent*) {}

}  // namespace tessarin::ui
