#pragma once

#include <QList>
#include <QStatusBar>

namespace tessarin::ui {

enum TPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
  int Width = 50;
  QString Text;
  TPanelStyle Style = psText;
};

// A status bar of panels side by side, each of its stored width but the last, which runs on
// to the right end. Text panels show their text; for an owner-drawn panel the bar asks
// DrawPanel each time it draws it, with the panel's rectangle in its own coordinates.
class TStatusBar : public QStatusBar {
  Q_OBJECT
  // The stored widths of the panels, as "120,50".
  Q_PROPERTY(QString PanelWidths READ PanelWidths WRITE SetPanelWidths)

 public:
  explicit TStatusBar(QWidget* parent = nullptr);

  QString PanelWidths() const;
  void SetPanelWidths(const QString& widths);

  int PanelCount() const { return static_cast<int>(Panels_.size()); }
  const TStatusPanel& Panel(int index) const { return Panels_.at(index); }
  void SetPanelText(int index, const QString& text);
  void SetPanelStyle(int index, TPanelStyle style);
  QRect PanelRect(int index) const;

  // Redraws the bar at once, without waiting for the event loop.
  void Repaint() { repaint(); }

 signals:
  void DrawPanel(TStatusBar* statusBar, int panel, const QRect& rect);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QList<TStatusPanel> Panels_;
};

}  // namespace tessarin::ui
