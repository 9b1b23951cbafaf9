#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tessarin::ui {

// The file dialog of "Save As": a default extension for names typed without one, one filter,
// confirmation before an existing file is replaced, and a refusal of names whose folder does
// not exist.
class TSaveDialog : public QObject {
  Q_OBJECT

 public:
  explicit TSaveDialog(QWidget* owner);

  QString DefaultExt = QStringLiteral("bmp");
  QString Filter = QStringLiteral("Bitmap (*.bmp)");

  // Runs the dialog modally; true when the user confirmed a file name.
  bool Execute();
  // The full path that was confirmed.
  QString FileName() const { return FileName_; }

 private:
  QWidget* Owner_;
  QString FileName_;
};

}  // namespace tessarin::ui
