// tessarin-preview: shows one dialog on its own, for checking its layout on screen.
//   tessarin-preview settings|help
#include <QApplication>
#include <QTextStream>

#include "help.h"
#include "paramsbox.h"
#include "platform/dialog_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  std::unique_ptr<tessarin::ui::TDialogForm> dialog;
  if (which == QLatin1String("settings")) {
    dialog = std::make_unique<tessarin::ui::TSettingsBox>();
  } else if (which == QLatin1String("help")) {
    dialog = std::make_unique<tessarin::ui::THelpBox>();
  } else {
    QTextStream(stderr) << "usage: tessarin-preview settings|help\n";
    return 2;
  }
  const int result = dialog->ShowModal();
  QTextStream(stdout) << "modal result " << result << "\n";
  return 0;
}
