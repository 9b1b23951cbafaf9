// The main window and the generate command, driven as a user would on the offscreen platform;
// modal dialogs are answered from timers.
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "file_size_limit.h"
#include "form1.h"
#include "help.h"
#include "paramsbox.h"
#include "platform/application.h"
#include "platform/image.h"
#include "platform/progress_bar.h"
#include "platform/scroll_box.h"
#include "platform/shape.h"
#include "platform/spin_edit.h"
#include "platform/status_bar.h"
#include "tessarin/renderer.h"

using namespace tessarin;
using namespace tessarin::ui;

namespace {

// Runs `answer` on the next modal window that opens, or the next that is not `skip`.
void WhenModal(std::function<void(QWidget*)> answer, QWidget* skip = nullptr) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, skip] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != skip) {
      timer->stop();
      timer->deleteLater();
      answer(modal);
    }
  });
  timer->start(5);
}

// Sends a menu command as the event loop would deliver it, so that an exception reaches the
// application's error report.
void Trigger(QAction* action) {
  QTimer::singleShot(0, action, &QAction::trigger);
  QTest::qWait(1);
}

bool AllBlack(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(0, 0, 0)) return false;
    }
  }
  return true;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TForm1> Window;
  std::unique_ptr<TSettingsBox> Settings;
  std::unique_ptr<THelpBox> Help;
  QStringList Reports;
  QTemporaryDir Dir;

  TApplication* App() { return static_cast<TApplication*>(qApp); }

  // Answers the settings dialog with these entries and OK, and waits for the command.
  // `then` runs once the dialog has closed, before the command goes on.
  void Generate(const QString& size, const QString& period, const char* formatButton,
                bool ok = true, const std::function<void()>& then = {}) {
    WhenModal([=](QWidget* modal) {
      QCOMPARE(modal, static_cast<QWidget*>(SettingsBox));
      SettingsBox->findChild<TCSpinEdit*>("CSpinEdit1")->SetText(size);
      SettingsBox->findChild<QComboBox*>("ComboBox4")->setCurrentText(period);
      SettingsBox->findChild<QRadioButton*>(formatButton)->setChecked(true);
      QTest::mouseClick(SettingsBox->findChild<QPushButton*>(ok ? "Button1" : "Button2"),
                        Qt::LeftButton);
      if (then) then();
    });
    Trigger(Window->Process1);
    QTRY_VERIFY(!SettingsBox->isVisible() && !QApplication::activeModalWidget());
  }

  void CloseErrorReport() {
    WhenModal([](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      QCOMPARE(box->windowTitle(), QStringLiteral("Tessarin"));
      box->accept();
    });
  }

  // The view shows exactly the working bitmap, with matching ranges and fill areas.
  void CheckViewFollowsWorkBitmap() {
    const auto& work = Window->WorkBitmap();
    QVERIFY(work);
    QCOMPARE(Window->Image1->Picture(), work);
    QCOMPARE(Window->ScrollBox1->HorzRange(), work->Width());
    QCOMPARE(Window->ScrollBox1->VertRange(), work->Height());
    const int w = Window->ScrollBox1->ClientWidth();
    const int h = Window->ScrollBox1->ClientHeight();
    QCOMPARE(Window->Shape1->height(), std::max(0, h - work->Height()));
    QCOMPARE(Window->Shape2->width(), std::max(0, w - work->Width()));
    QCOMPARE(Window->Image1->geometry().size(), QSize(work->Width(), work->Height()));
  }

 private slots:
  void init() {
    Window = std::make_unique<TForm1>();
    Form1 = Window.get();
    Settings = std::make_unique<TSettingsBox>();
    SettingsBox = Settings.get();
    Help = std::make_unique<THelpBox>();
    HelpBox = Help.get();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Reports.clear();
    connect(App(), &TApplication::ExceptionReported, this,
            [this](const QString& message) { Reports << message; });
  }

  void cleanup() {
    disconnect(App(), nullptr, this, nullptr);
    HelpBox = nullptr;
    SettingsBox = nullptr;
    Form1 = nullptr;
    Help.reset();
    Settings.reset();
    Window.reset();
  }

  void StartUpState() {
    QCOMPARE(Window->windowTitle(), QStringLiteral("Tessarin v0.5"));
    QCOMPARE(Window->ScrollBox1->size(), QSize(621, 448));
    QCOMPARE(Window->StatusBar1->height(), 19);
    QCOMPARE(Window->File1->title(), QStringLiteral("&File"));
    const QList<QAction*> file = Window->File1->actions();
    QCOMPARE(file.size(), 3);
    QCOMPARE(file[0]->text(), QStringLiteral("&Save As..."));
    QVERIFY(file[1]->isSeparator());
    QCOMPARE(file[2]->text(), QStringLiteral("&Exit"));
    QCOMPARE(Window->MainMenu1->actions().at(1)->text(), QStringLiteral("&Create zoneplate"));
    QCOMPARE(Window->MainMenu1->actions().at(2)->text(), QStringLiteral("&Help"));
    QVERIFY(!Window->MenuSaveC->isEnabled());
    QVERIFY(!Window->WorkBitmap());
    for (const QSize size : {QSize(621, 486), QSize(300, 200), QSize(1000, 900)}) {
      Window->resize(size);
      QTest::qWait(20);
      QVERIFY2(AllBlack(Window->ScrollBox1->viewport()), "the view is entirely black");
      QCOMPARE(Window->StatusBar1->Panel(0).Text, QString());
      QCOMPARE(Window->ProgressBar1->Position(), 0);
      QCOMPARE(Window->ProgressBar1->parentWidget(), Window->StatusBar1);
      QCOMPARE(Window->ProgressBar1->geometry().left(), 120);
      QCOMPARE(Window->ProgressBar1->geometry().right(), Window->StatusBar1->width() - 1);
    }
  }

  void GenerationAt512() {
    QList<int> positions;
    QStringList statusTexts;
    connect(Window->ProgressBar1, &TProgressBar::PositionSet, this, [&](int position) {
      positions << position;
      statusTexts << Window->StatusBar1->Panel(0).Text;
    });
    Generate("512", "4", "RadioButton1");
    QList<int> expected;
    for (int y = 0; y < 512; y += 8) expected << y * 100 / 512;
    expected << 0;
    QCOMPARE(positions, expected);
    QCOMPARE(statusTexts.count(QStringLiteral("Generating zoneplate...")), 64);
    QCOMPARE(Window->StatusBar1->Panel(0).Text, QString());
    QVERIFY(Window->MenuSaveC->isEnabled());
    CheckViewFollowsWorkBitmap();
    QCOMPARE(Window->WorkBitmap()->PixelFormat(), pf8bit);
    QCOMPARE(Window->WorkBitmap()->Palette().size(), 256u);
    // The picture is narrower than the view and taller: a right strip, no bottom strip, and a
    // vertical scroll bar that reaches every row.
    QTRY_VERIFY(Window->ScrollBox1->verticalScrollBar()->isVisible());
    QVERIFY(Window->Shape2->width() > 0);
    QCOMPARE(Window->Shape1->height(), 0);
    QCOMPARE(Window->ScrollBox1->verticalScrollBar()->maximum(),
             512 - Window->ScrollBox1->ClientHeight());
    // What the view shows is the renderer's picture.
    TIndexedBitmap expectedPicture;
    expectedPicture.SetWidth(512);
    expectedPicture.SetHeight(512);
    RenderZonePlate({512, 4, zfGreyscale}, expectedPicture, {});
    const QImage shown = Window->Image1->grab(QRect(0, 0, 300, 300)).toImage();
    for (const QPoint p : {QPoint(256, 256), QPoint(0, 0), QPoint(100, 200), QPoint(299, 7)}) {
      const int level = expectedPicture.ScanLine(p.y())[p.x()];
      QCOMPARE(shown.pixel(p.x() % 300, p.y() % 300) & 0xFFFFFF,
               qRgb(level, level, level) & 0xFFFFFF);
    }
  }

  void SizeZeroAndCancel() {
    QList<int> positions;
    connect(Window->ProgressBar1, &TProgressBar::PositionSet, this,
            [&](int position) { positions << position; });
    Generate("512", "4", "RadioButton2", /*ok=*/false);
    QVERIFY(positions.isEmpty());
    QVERIFY(!Window->WorkBitmap());
    QVERIFY(!Window->MenuSaveC->isEnabled());

    // Enter leaves the size field as typed: a size of 0 renders nothing and ends normally.
    WhenModal([](QWidget*) {
      auto* size = SettingsBox->findChild<TCSpinEdit*>("CSpinEdit1");
      size->SetText(QStringLiteral("0"));
      size->Editor()->setFocus();
      QTest::keyClick(size->Editor(), Qt::Key_Return);
    });
    Trigger(Window->Process1);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(positions, QList<int>{0});  // the end sequence only
    QVERIFY(Window->MenuSaveC->isEnabled());
    QCOMPARE(Window->ScrollBox1->HorzRange(), 0);
    CheckViewFollowsWorkBitmap();
    QVERIFY(AllBlack(Window->ScrollBox1->viewport()));
  }

  void CyclePeriodZeroIsReportedAndLeavesTheViewsPicture() {
    for (const bool afterAPicture : {false, true}) {
      if (afterAPicture) Generate("64", "4", "RadioButton6");
      Reports.clear();
      const auto shown = Window->Image1->Picture();
      const bool saveEnabled = Window->MenuSaveC->isEnabled();
      Generate("512", "0", "RadioButton5", true, [this] { CloseErrorReport(); });
      QTRY_COMPARE(Reports.size(), 1);
      QVERIFY2(Reports.last().contains(QStringLiteral("division by zero")),
               qPrintable(Reports.last()));
      QTRY_VERIFY(!QApplication::activeModalWidget());
      QCOMPARE(Window->StatusBar1->Panel(0).Text, QString());
      QCOMPARE(Window->ProgressBar1->Position(), 0);
      QCOMPARE(Window->WorkBitmap(), shown);
      QCOMPARE(Window->Image1->Picture(), shown);
      QCOMPARE(Window->MenuSaveC->isEnabled(), saveEnabled);
      if (afterAPicture) CheckViewFollowsWorkBitmap();
    }
  }

  void TwoGenerationsInARow() {
    Generate("512", "4", "RadioButton1");
    const auto first = Window->WorkBitmap();
    bool checked = false;
    connect(Window->ProgressBar1, &TProgressBar::PositionSet, this, [&](int position) {
      if (position != 50) return;
      QCOMPARE(Window->Image1->Picture(), first);  // still the first picture on view
      QCOMPARE(Window->StatusBar1->Panel(0).Text, QStringLiteral("Generating zoneplate..."));
      checked = true;
    });
    Generate("1024", "2.2", "RadioButton6");
    QVERIFY(checked);
    QCOMPARE(Window->WorkBitmap()->Width(), 1024);
    QCOMPARE(Window->WorkBitmap()->PixelFormat(), pf1bit);
    QCOMPARE(Window->WorkBitmap()->Palette(), MakePalette(pf1bit));
    CheckViewFollowsWorkBitmap();
    QCOMPARE(Window->Shape2->width(), 0);
    // Resizing the window past the picture brings the strips back; shrinking removes them.
    Window->resize(1200, 1150);
    QTRY_VERIFY(Window->Shape2->width() > 0 && Window->Shape1->height() > 0);
    CheckViewFollowsWorkBitmap();
    Window->resize(600, 400);
    QTRY_COMPARE(Window->Shape2->width(), 0);
    CheckViewFollowsWorkBitmap();
  }

  void SaveAsWritesThePictureOnView() {
    Generate("100", "3", "RadioButton6");
    const QString base = Dir.filePath(QStringLiteral("plate"));
    // A cancelled dialog writes nothing.
    WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    Trigger(Window->MenuSaveC);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(!QFile::exists(base + ".bmp"));
    // A name typed without an extension gets "bmp".
    WhenModal([&](QWidget* modal) {
      auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(name);
      name->setText(base);
      QTest::keyClick(name, Qt::Key_Return);
    });
    Trigger(Window->MenuSaveC);
    QTRY_VERIFY(QFile::exists(base + ".bmp"));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    const QImage saved(base + ".bmp");
    const TIndexedBitmap& picture = *Window->WorkBitmap();
    QCOMPARE(saved.size(), QSize(100, 100));
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        const int bit = (picture.ScanLine(y)[x / 8] >> (7 - x % 8)) & 1;
        QCOMPARE(saved.pixel(x, y), bit ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
      }
    }
    QVERIFY(Reports.isEmpty());
  }

  void AFailedSaveIsReportedAndChangesNothing() {
    Generate("600", "4", "RadioButton1");
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("keep.bmp"));
    {
      QFile old(file);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("the previous picture");
    }
    const auto work = Window->WorkBitmap();
    std::optional<TFileSizeLimit> fullDisk(4096);
    WhenModal([&](QWidget* dialog) {
      // Replacing the existing file asks first; then comes the error report.
      WhenModal(
          [dialog](QWidget* question) {
            auto* box = qobject_cast<QMessageBox*>(question);
            QVERIFY(box);
            WhenModal([](QWidget* report) { static_cast<QDialog*>(report)->accept(); }, question);
            box->button(QMessageBox::Yes)->click();
          },
          dialog);
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      name->setText(file);
      QTest::keyClick(name, Qt::Key_Return);
    });
    Trigger(Window->MenuSaveC);
    QTRY_COMPARE(Reports.size(), 1);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    fullDisk.reset();
    QVERIFY2(Reports[0].contains(file), qPrintable(Reports[0]));
    QFile old(file);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the previous picture"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
    QCOMPARE(Window->WorkBitmap(), work);
    QVERIFY(Window->MenuSaveC->isEnabled());
    CheckViewFollowsWorkBitmap();
  }

  void HelpIsModalAndExitCloses() {
    bool helpWasModal = false;
    WhenModal([&](QWidget* modal) {
      helpWasModal = modal == HelpBox;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    Trigger(Window->Help1);
    QTRY_VERIFY(helpWasModal);
    QTRY_VERIFY(!HelpBox->isVisible());
    Trigger(Window->Exit1);
    QTRY_VERIFY(!Window->isVisible());
  }
};

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  app.SetTitle(QStringLiteral("Tessarin"));
  app.setQuitOnLastWindowClosed(false);
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
