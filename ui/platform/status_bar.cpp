#include "status_bar.h"

#include <QPainter>
#include <QStyleOption>

namespace tessarin::ui {

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
}

QString TStatusBar::PanelWidths() const {
  QStringList widths;
  for (const TStatusPanel& panel : Panels_) widths << QString::number(panel.Width);
  return widths.join(u',');
}

void TStatusBar::SetPanelWidths(const QString& widths) {
  Panels_.clear();
  for (const QString& width : widths.split(u',', Qt::SkipEmptyParts)) {
    Panels_.push_back({width.trimmed().toInt(), {}, psText});
  }
  update();
}

void TStatusBar::SetPanelText(int index, const QString& text) {
  Panels_[index].Text = text;
  update();
}

void TStatusBar::SetPanelStyle(int index, TPanelStyle style) {
  Panels_[index].Style = style;
  update();
}

QRect TStatusBar::PanelRect(int index) const {
  int left = 0;
  for (int i = 0; i < index; ++i) left += Panels_[i].Width;
  const int right = index == PanelCount() - 1 ? width() : left + Panels_[index].Width;
  return QRect(left, 0, std::max(0, right - left), height());
}

void TStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOption option;
  option.initFrom(this);
  for (int i = 0; i < PanelCount(); ++i) {
    const QRect rect = PanelRect(i);
    if (Panels_[i].Style == psOwnerDraw) {
      emit DrawPanel(this, i, rect);
      continue;
    }
    option.rect = rect.adjusted(0, 1, -2, -1);
    style()->drawPrimitive(QStyle::PE_FrameStatusBarItem, &option, &painter, this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(option.rect.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     Panels_[i].Text);
  }
}

}  // namespace tessarin::ui
