#include "application.h"

#include <QMessageBox>

namespace tessarin::ui {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TApplication::SetTitle(const QString& title) {
  Title_ = title;
  setApplicationName(title);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
  }
  return false;
}

void TApplication::ShowException(const std::exception& error) {
  const QString message = QString::fromLocal8Bit(error.what());
  emit ExceptionReported(message);
  QMessageBox::critical(activeWindow(), Title_, message);
}

}  // namespace tessarin::ui
