// Tessarin: the zone plate plotter's entry point.
#include <QIcon>
#include <memory>

#include "form1.h"
#include "help.h"
#include "paramsbox.h"
#include "platform/application.h"

using namespace tessarin::ui;

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TSettingsBox> settingsBox;
  std::unique_ptr<THelpBox> helpBox;
  try {
    application.SetTitle(QStringLiteral("Tessarin"));
    application.setApplicationVersion(QStringLiteral(TESSARIN_VERSION));
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/tessarin.png")));
    form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    settingsBox = std::make_unique<TSettingsBox>();
    SettingsBox = settingsBox.get();
    helpBox = std::make_unique<THelpBox>();
    HelpBox = helpBox.get();
    Form1->show();
    application.exec();
  } catch (const std::exception& error) {
    application.ShowException(error);
  }
  HelpBox = nullptr;
  SettingsBox = nullptr;
  Form1 = nullptr;
  return 0;
}
