#include "image.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace tessarin::ui {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(std::shared_ptr<const TIndexedBitmap> picture) {
  Picture_ = std::move(picture);
  ColorTable_.clear();
  if (Picture_) {
    for (const TPaletteEntry& e : Picture_->Palette()) {
      ColorTable_.push_back(qRgb(e.Red, e.Green, e.Blue));
    }
  }
  update();
}

void TImage::paintEvent(QPaintEvent* event) {
  if (!Picture_ || Picture_->Width() == 0 || Picture_->Height() == 0) return;
  const QRect exposed = event->rect() & QRect(0, 0, Picture_->Width(), Picture_->Height());
  if (exposed.isEmpty()) return;
  // The exposed rectangle of the rows, from a 32-bit aligned start as QImage wants; giving it
  // the colour table copies just this rectangle, never the picture.
  const TIndexedBitmap& picture = *Picture_;
  const bool eightBit = picture.PixelFormat() == pf8bit;
  const int left = eightBit ? exposed.left() & ~3 : exposed.left() & ~31;
  const QImage rows(picture.ScanLine(exposed.top()) + (eightBit ? left : left / 8),
                    exposed.right() + 1 - left, exposed.height(),
                    static_cast<qsizetype>(picture.BytesPerRow()),
                    eightBit ? QImage::Format_Indexed8 : QImage::Format_Mono);
  QImage view = rows;
  view.setColorTable(ColorTable_);
  QPainter(this).drawImage(QPoint(left, exposed.top()), view);
}

}  // namespace tessarin::ui
