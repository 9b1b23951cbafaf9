#include "shape.h"

#include <QPaintEvent>
#include <QPainter>

namespace tessarin::ui {

TShape::TShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TShape::SetBrushColor(const QColor& color) {
  BrushColor_ = color;
  update();
}

void TShape::paintEvent(QPaintEvent* event) {
  QPainter(this).fillRect(event->rect(), BrushColor_);
}

}  // namespace tessarin::ui
