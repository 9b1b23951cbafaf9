#pragma once

#include <QProgressBar>

namespace tessarin::ui {

// A progress bar that shows each new position the moment it is set, also while the event
// loop is not running.
class TProgressBar : public QProgressBar {
  Q_OBJECT

 public:
  explicit TProgressBar(QWidget* parent = nullptr) : QProgressBar(parent) { setTextVisible(false); }

  int Position() const { return value(); }
  void SetPosition(int position) {
    setValue(position);
    repaint();
    emit PositionSet(position);
  }

 signals:
  void PositionSet(int position);
};

}  // namespace tessarin::ui
