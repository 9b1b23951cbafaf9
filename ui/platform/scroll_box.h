#pragma once

#include <QAbstractScrollArea>

namespace tessarin::ui {

// A scrollable view whose children are laid out by their alignment, like docked panels: each
// child carries an "Align" property ("alBottom", "alRight" or "alClient"). Bottom children
// take strips of their own height along the bottom, across the whole width; right children
// strips of their own width along the right edge, over the height left; client children the
// rest. The layout area is max(range, client size) in each direction, offset by the scroll
// position.
class TScrollBox : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TScrollBox(QWidget* parent = nullptr);

  int HorzRange() const { return HorzRange_; }
  int VertRange() const { return VertRange_; }
  void SetHorzRange(int range);
  void SetVertRange(int range);

  // The visible client area, less any scroll bar that shows.
  int ClientWidth() const;
  int ClientHeight() const;

  // Redraws the view and its children at once, without waiting for the event loop.
  void Repaint();

  // Moves the children that a form placed in the box, those with an "Align" property, into
  // the view. Call once the form is set up.
  void AdoptChildren();

  // Lays the children out again; runs by itself when the view, a child or a range changes.
  void AlignChildren();

 signals:
  void Resized();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateScrollBars();
  void ClientResized();

  int HorzRange_ = 0;
  int VertRange_ = 0;
  bool Aligning_ = false;
  QSize LastClient_;
};

}  // namespace tessarin::ui
