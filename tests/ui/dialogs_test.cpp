// The settings and help dialogs, driven through their controls on the offscreen platform.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "help.h"
#include "paramsbox.h"
#include "platform/spin_edit.h"

using namespace tessarin;
using namespace tessarin::ui;

namespace {

// Runs `action` once the dialog is showing modally, and returns ShowModal's result.
int ShowModalAnd(TDialogForm& dialog, const std::function<void()>& action) {
  QTimer::singleShot(0, &dialog, [&] {
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    action();
    if (dialog.isVisible()) QTimer::singleShot(0, &dialog, [&] { dialog.done(-1); });
  });
  return dialog.ShowModal();
}

// A push button needs room for its text and its margins; anything else its size hint.
bool TextFits(QWidget* widget) {
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    return button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width();
  }
  return widget->width() >= widget->sizeHint().width();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  T* Child(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no control %s", name);
    return child;
  }

 private slots:
  void SettingsFirstOpening() {
    TSettingsBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("Zoneplate settings"));
    QCOMPARE(box.size(), QSize(369, 409));
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(Child<TCSpinEdit>(box, "CSpinEdit1")->Text(), QStringLiteral("512"));
    QCOMPARE(Child<QComboBox>(box, "ComboBox4")->currentText(), QStringLiteral("4"));
    QVERIFY(Child<QRadioButton>(box, "RadioButton1")->isChecked());
    QVERIFY(Child<QRadioButton>(box, "RadioButton3")->isChecked());
    QVERIFY(!Child<QRadioButton>(box, "RadioButton4")->isEnabled());
    struct Disabled {
      const char* Name;
      QString Text;
    };
    for (const Disabled& d : {Disabled{"CSpinEdit3", "1000"}, Disabled{"CSpinEdit4", "30"}}) {
      QVERIFY(!Child<TCSpinEdit>(box, d.Name)->isEnabled());
      QCOMPARE(Child<TCSpinEdit>(box, d.Name)->Text(), d.Text);
    }
    for (const Disabled& d :
         {Disabled{"ComboBox1", ""}, Disabled{"ComboBox2", "600"}, Disabled{"ComboBox3", "0"}}) {
      QVERIFY(!Child<QComboBox>(box, d.Name)->isEnabled());
      QCOMPARE(Child<QComboBox>(box, d.Name)->currentText(), d.Text);
    }
    QCOMPARE(Child<QComboBox>(box, "ComboBox1")->count(), 4);
    QVERIFY(Child<QLabel>(box, "Label3")->isEnabled());

    const TZonePlateSettings settings = box.ReadSettings();
    QCOMPARE(settings.Size, 512);
    QCOMPARE(settings.CyclePeriod, 4.0f);
    QCOMPARE(settings.OutputFormat, zfGreyscale);
  }

  void SettingsPositionsAndTexts() {
    TSettingsBox box;
    struct Place {
      const char* Name;
      int Left, Top;
      QString Text;
    };
    const Place places[] = {
        {"RadioGroup1", 8, 264, "Output format"},
        {"RadioButton1", 24, 288, "Greyscale (8-bit)"},
        {"RadioButton2", 24, 312, "Random half-tone (1-bit)"},
        {"GroupBox1", 8, 8, "Zoneplate geometry"},
        {"Label1", 40, 48, "Size (pixels, square):"},
        {"Label2", 40, 80, "Cycle period at edge (pixels): "},
        {"Label3", 40, 152, "Wavelength:"},
        {"Label4", 40, 176, "Focal length:"},
        {"Label5", 192, 176, "millimetres"},
        {"Label6", 40, 208, "Target output resolution:"},
        {"Label7", 240, 208, "dpi"},
        {"CSpinEdit1", 144, 40, ""},
        {"RadioButton3", 16, 24, "By pixel properties:"},
        {"RadioButton4", 16, 128, "By focussing properties:"},
        {"ComboBox4", 184, 72, ""},
        {"Button1", 200, 376, "OK"},
        {"Button2", 288, 376, "Cancel"},
        {"RadioButton5", 24, 344, "Two-tone, anti-aliassed (1-bit)"},
        {"RadioButton6", 24, 368, "Two tone, pure (1-bit)"},
        {"GroupBox2", 200, 264, "Phasing"},
        {"Label8", 8, 24, "Phase shift:"},
        {"Label9", 104, 48, "pi radians"},
    };
    for (const Place& p : places) {
      QWidget* widget = Child<QWidget>(box, p.Name);
      QCOMPARE(widget->pos(), QPoint(p.Left, p.Top));
      if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), p.Text);
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), p.Text);
      if (auto* group = qobject_cast<QGroupBox*>(widget)) QCOMPARE(group->title(), p.Text);
      // Every text has the room it needs.
      if (!p.Text.isEmpty()) QVERIFY2(TextFits(widget), p.Name);
    }
    QVERIFY(Child<QPushButton>(box, "Button1")->isDefault());
    QCOMPARE(Child<QPushButton>(box, "Button2")->size(), QSize(75, 25));
  }

  // Tab visits the enabled controls in the stated tab order; of a group of radio buttons only
  // the checked one is a tab stop, so the format group is visited where its checked button
  // stands: before the geometry box, or after OK and Cancel.
  void TabOrder_data() {
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QStringList>("visited");
    QTest::newRow("greyscale") << "RadioButton1"
                               << QStringList{"RadioButton1", "CSpinEdit1", "RadioButton3",
                                              "ComboBox4",    "Button1",    "Button2",
                                              "RadioButton1"};
    QTest::newRow("pure") << "RadioButton6"
                          << QStringList{"RadioButton6", "CSpinEdit1", "RadioButton3", "ComboBox4",
                                         "Button1",      "Button2",    "RadioButton6"};
  }
  void TabOrder() {
    QFETCH(QString, checked);
    QFETCH(QStringList, visited);
    TSettingsBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    auto* start = Child<QRadioButton>(box, qPrintable(checked));
    start->setChecked(true);
    start->setFocus(Qt::TabFocusReason);
    QStringList seen;
    for (int i = 0; i < visited.size(); ++i) {
      QWidget* focus = QApplication::focusWidget();
      seen << (focus->objectName() == QLatin1String("Editor") ? focus->parentWidget()->objectName()
                                                              : focus->objectName());
      QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(seen, visited);
  }

  void FormatButtonsAreOneGroup() {
    TSettingsBox box;
    auto* grey = Child<QRadioButton>(box, "RadioButton1");
    auto* halftone = Child<QRadioButton>(box, "RadioButton2");
    auto* antiAliased = Child<QRadioButton>(box, "RadioButton5");
    auto* pure = Child<QRadioButton>(box, "RadioButton6");
    auto* byPixels = Child<QRadioButton>(box, "RadioButton3");
    struct Step {
      QRadioButton* Click;
      TOutputFormat Format;
    };
    for (const Step& step : {Step{halftone, zfRandomHalfTone}, Step{pure, zfTwoTonePure},
                             Step{antiAliased, zfTwoToneAntiAliased}, Step{grey, zfGreyscale}}) {
      QTest::mouseClick(step.Click, Qt::LeftButton);
      int checked = 0;
      for (auto* button : {grey, halftone, antiAliased, pure}) checked += button->isChecked();
      QCOMPARE(checked, 1);
      QVERIFY(step.Click->isChecked());
      QVERIFY(byPixels->isChecked());
      QCOMPARE(box.ReadSettings().OutputFormat, step.Format);
    }
  }

  void CancelKeepsTheEntries() {
    TSettingsBox box;
    auto* size = Child<TCSpinEdit>(box, "CSpinEdit1");
    int result = ShowModalAnd(box, [&] {
      size->SetText(QStringLiteral("1024"));
      QTest::mouseClick(Child<QRadioButton>(box, "RadioButton6"), Qt::LeftButton);
      QTest::mouseClick(Child<QPushButton>(box, "Button2"), Qt::LeftButton);
    });
    QCOMPARE(result, int(mrCancel));
    result = ShowModalAnd(box, [&] {
      QCOMPARE(size->Text(), QStringLiteral("1024"));
      QVERIFY(Child<QRadioButton>(box, "RadioButton6")->isChecked());
      QTest::keyClick(&box, Qt::Key_Escape);
    });
    QCOMPARE(result, int(mrCancel));
    QCOMPARE(box.ReadSettings().Size, 1024);
    QCOMPARE(box.ReadSettings().OutputFormat, zfTwoTonePure);
  }

  void EnterAndEscape() {
    TSettingsBox box;
    QCOMPARE(
        ShowModalAnd(box, [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }),
        int(mrOk));
    // Enter in the period field is OK too; the typed text is read as it stands.
    QCOMPARE(ShowModalAnd(box,
                          [&] {
                            auto* period = Child<QComboBox>(box, "ComboBox4");
                            period->setFocus();
                            period->lineEdit()->selectAll();
                            QTest::keyClicks(period->lineEdit(), "2.5");
                            QTest::keyClick(period->lineEdit(), Qt::Key_Enter);
                          }),
             int(mrOk));
    QCOMPARE(box.ReadSettings().CyclePeriod, 2.5f);
    QCOMPARE(
        ShowModalAnd(box, [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }),
        int(mrCancel));
  }

  void Stepping_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    QTest::newRow("16380 up") << "16380" << true << "16384";
    QTest::newRow("16384 up") << "16384" << true << "16384";
    QTest::newRow("40 down") << "40" << false << "32";
    QTest::newRow("100 up") << "100" << true << "116";
    QTest::newRow("not a number, up") << "abc" << true << "48";
    QTest::newRow("+48 down") << "+48" << false << "32";
    QTest::newRow("out of range, up") << "50000" << true << "16384";
  }
  void Stepping() {
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    TSettingsBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    auto* size = Child<TCSpinEdit>(box, "CSpinEdit1");
    // By key, then by arrow button: both step the same way.
    size->SetText(start);
    size->Editor()->setFocus();
    QTest::keyClick(size->Editor(), up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(size->Text(), expected);
    size->SetText(start);
    Child<QLineEdit>(box, "Editor")->clearFocus();
    QTest::mouseClick(up ? size->UpButton() : size->DownButton(), Qt::LeftButton);
    QCOMPARE(size->Text(), expected);
    QVERIFY(size->Editor()->hasFocus());
  }

  void LeavingTheSizeField_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("5") << "5"
                       << "32";
    QTest::newRow("20000") << "20000"
                           << "16384";
    QTest::newRow("600") << "600"
                         << "600";
    QTest::newRow("+600") << "+600"
                          << "+600";
    QTest::newRow("-") << "-"
                       << "32";
    QTest::newRow("empty") << ""
                           << "32";
  }
  void LeavingTheSizeField() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TSettingsBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    auto* size = Child<TCSpinEdit>(box, "CSpinEdit1");
    size->Editor()->setFocus();
    size->Editor()->selectAll();
    QTest::keyClick(size->Editor(), Qt::Key_Delete);
    QTest::keyClicks(size->Editor(), typed);
    QCOMPARE(size->Text(), typed);
    QTest::keyClick(size->Editor(), Qt::Key_Tab);
    QVERIFY(!size->Editor()->hasFocus());
    QCOMPARE(size->Text(), expected);
  }

  void TypingFilter() {
    TSettingsBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    auto* size = Child<TCSpinEdit>(box, "CSpinEdit1");
    size->Editor()->setFocus();
    size->Editor()->selectAll();
    QTest::keyClicks(size->Editor(), "1a2 b-+.x");
    QCOMPARE(size->Text(), QStringLiteral("12-+."));
    QTest::keyClick(size->Editor(), Qt::Key_Backspace);
    QCOMPARE(size->Text(), QStringLiteral("12-+"));
  }

  void HelpTextsAndEnter() {
    THelpBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("Zoneplate Help"));
    QCOMPARE(box.size(), QSize(455, 393));
    struct Line {
      const char* Name;
      int Left, Top;
      QString Text;
    };
    const QString currency = QString(QChar(0x00A4)) + QStringLiteral("  ");
    const Line lines[] = {
        {"Label12", 16, 24, "Zoneplates are mainly used for:"},
        {"Label14", 24, 48,
         currency + "Focussing of electromagnetic radiation; usually microwaves or light"},
        {"Label1", 40, 72,
         "- a two-tone output corresponding to opaque/clear or metal/insulator is used "},
        {"Label2", 40, 88,
         "- the geometrical scaling depends on the wavelength and required point of focus"},
        {"Label3", 40, 104, "- the radii of ring n is proportional to sqrt(n)"},
        {"Label4", 40, 120, "- all rings have equal area"},
        {"Label13", 24, 160,
         currency + "Resolution tests and 2D frequency-response in image-processing algorithms"},
        {"Label15", 40, 184, "- a continuous-tone (or greyscale) rendition would normally be used"},
        {"Label16", 40, 200, "- the plotted function is cos(x*x+y*y), appropriately scaled"},
        {"Label6", 16, 240, "See"},
        {"Label5", 24, 264, "https://en.wikipedia.org/wiki/Zone_plate"},
        {"Label7", 16, 288, "for more information and updates"},
    };
    for (const Line& line : lines) {
      auto* label = Child<QLabel>(box, line.Name);
      QCOMPARE(label->text(), line.Text);
      QCOMPARE(label->pos(), QPoint(line.Left, line.Top));
      QVERIFY2(TextFits(label), line.Name);
      QVERIFY(label->geometry().right() < Child<QGroupBox>(box, "GroupBox1")->width());
    }
    QCOMPARE(Child<QGroupBox>(box, "GroupBox1")->title(), QStringLiteral("About zoneplates"));
    QCOMPARE(Child<QPushButton>(box, "Button1")->pos(), QPoint(192, 352));
    // OK holds the focus; Escape does nothing, Enter closes, any number of times.
    for (int i = 0; i < 2; ++i) {
      const int result = ShowModalAnd(box, [&] {
        QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(box, "Button1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(box.isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      });
      QCOMPARE(result, int(mrOk));
    }
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
