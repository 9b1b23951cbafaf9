// Peak memory of the window program over two generations in a row, as the user runs them:
//   QT_QPA_PLATFORM=offscreen build/bench/tessarin-ui-memory [--size 16384]
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "form1.h"
#include "help.h"
#include "paramsbox.h"
#include "platform/application.h"
#include "platform/spin_edit.h"

using namespace tessarin::ui;

namespace {

// The process's peak resident memory so far, in MiB, as the kernel counts it.
double PeakMiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  application.SetTitle(QStringLiteral("Tessarin"));
  const QString size = argc > 2 && std::strcmp(argv[1], "--size") == 0
                           ? QString::fromLatin1(argv[2])
                           : QStringLiteral("16384");
  TForm1 form;
  Form1 = &form;
  TSettingsBox settings;
  SettingsBox = &settings;
  THelpBox help;
  HelpBox = &help;
  form.show();
  std::printf("start: peak %.0f MiB\n", PeakMiB());
  for (int run = 1; run <= 2; ++run) {
    QTimer::singleShot(0, &settings, [&] {
      settings.findChild<TCSpinEdit*>(QStringLiteral("CSpinEdit1"))->SetText(size);
      settings.findChild<QRadioButton*>(QStringLiteral("RadioButton1"))->setChecked(true);
      settings.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    const auto start = std::chrono::steady_clock::now();
    form.Process1Click(&form);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("generation %d of %s x %s greyscale: %.2f s, peak %.0f MiB\n", run,
                qPrintable(size), qPrintable(size), seconds, PeakMiB());
  }
  HelpBox = nullptr;
  SettingsBox = nullptr;
  Form1 = nullptr;
  return 0;
}
