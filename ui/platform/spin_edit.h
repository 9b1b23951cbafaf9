#pragma once

#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

namespace tessarin::ui {

// An integer field with small up and down arrow buttons at its right end. Its content is its
// text, kept as typed; its Value is that text read as an integer. Steps of Increment go from
// the current value and are clamped to MinValue .. MaxValue; a text that is not an integer
// becomes MinValue whenever a value is needed; leaving the field clamps a value out of range
// and leaves one in range exactly as typed. Typing lets through digits, signs and the decimal
// separator.
class TCSpinEdit : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
  Q_PROPERTY(int Value READ Value WRITE SetValue)
  Q_PROPERTY(QString Text READ Text WRITE SetText)

 public:
  static constexpr int RepeatDelay = 400;     // ms before an arrow held down repeats
  static constexpr int RepeatInterval = 100;  // ms between repeats

  explicit TCSpinEdit(QWidget* parent = nullptr);

  int MinValue() const { return MinValue_; }
  int MaxValue() const { return MaxValue_; }
  int Increment() const { return Increment_; }
  void SetMinValue(int value) { MinValue_ = value; }
  void SetMaxValue(int value) { MaxValue_ = value; }
  void SetIncrement(int value) { Increment_ = value; }

  // Reads the text as an integer; a text that is not one is first replaced by MinValue.
  int Value();
  // Writes the value, clamped to the range, as plain decimal text.
  void SetValue(int value);
  QString Text() const;
  void SetText(const QString& text);

  void StepUp() { SetValue(Value() + Increment_); }
  void StepDown() { SetValue(Value() - Increment_); }

  QLineEdit* Editor() const { return Editor_; }
  QToolButton* UpButton() const { return Up_; }
  QToolButton* DownButton() const { return Down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ClampOnLeaving();

  QLineEdit* Editor_;
  QToolButton* Up_;
  QToolButton* Down_;
  int MinValue_ = 0;
  int MaxValue_ = 100;
  int Increment_ = 1;
};

// The spin edit's reading of its text: optional sign and decimal digits that fit an int.
std::optional<int> SpinEditInteger(const QString& text);

}  // namespace tessarin::ui
