#pragma once

#include <QWidget>
#include <memory>

#include "tessarin/indexed_bitmap.h"

namespace tessarin::ui {

// Shows an indexed picture at full scale from its top-left corner. It paints only the exposed
// area, straight from the picture's rows, so a very large picture scrolls without delay.
// The picture is held read-only: whoever else holds it cannot change what is shown.
class TImage : public QWidget {
  Q_OBJECT

 public:
  explicit TImage(QWidget* parent = nullptr);

  const std::shared_ptr<const TIndexedBitmap>& Picture() const { return Picture_; }
  void SetPicture(std::shared_ptr<const TIndexedBitmap> picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<const TIndexedBitmap> Picture_;
  QList<QRgb> ColorTable_;
};

}  // namespace tessarin::ui
