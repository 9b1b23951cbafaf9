#pragma once

#include <QApplication>
#include <exception>

namespace tessarin::ui {

// The application object. Every exception that leaves an event handler ends up here: it is
// shown to the user in a message box headed by the application's title, and the event loop
// goes on. This is the one place where the program catches.
class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Presents an exception's message to the user.
  void ShowException(const std::exception& error);

  // The title that heads the application's error reports.
  QString Title() const { return Title_; }
  void SetTitle(const QString& title);

 signals:
  // Emitted for every reported error, before the message box shows.
  void ExceptionReported(const QString& message);

 private:
  QString Title_;
};

}  // namespace tessarin::ui
