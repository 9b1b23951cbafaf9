#pragma once

#include <QWidget>

namespace tessarin::ui {

// A filled rectangle: the black fill areas of the view.
class TShape : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor BrushColor READ BrushColor WRITE SetBrushColor)

 public:
  explicit TShape(QWidget* parent = nullptr);

  QColor BrushColor() const { return BrushColor_; }
  void SetBrushColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor BrushColor_ = Qt::black;
};

}  // namespace tessarin::ui
