#include "spin_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QToolButton>
#include <QValidator>
#include <algorithm>

namespace tessarin::ui {
namespace {

constexpr int ButtonWidth = 15;

// Lets through digits, "+", "-" and the decimal separator; everything else is refused.
class TSpinFilter : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    const QString separator = QLocale().decimalPoint();
    for (const QChar ch : input) {
      if (!ch.isDigit() && ch != u'+' && ch != u'-' && QString(ch) != separator) return Invalid;
    }
    return Intermediate;
  }
};

}  // namespace

std::optional<int> SpinEditInteger(const QString& text) {
  static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
  if (!integer.match(text).hasMatch()) return {};
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok) return {};
  return value;
}

TCSpinEdit::TCSpinEdit(QWidget* parent)
    : QWidget(parent),
      Editor_(new QLineEdit(this)),
      Up_(new QToolButton(this)),
      Down_(new QToolButton(this)) {
  setFocusProxy(Editor_);
  setFocusPolicy(Qt::StrongFocus);
  Editor_->setValidator(new TSpinFilter(Editor_));
  Editor_->installEventFilter(this);
  Editor_->setObjectName(QStringLiteral("Editor"));
  const std::pair<QToolButton*, Qt::ArrowType> arrows[] = {{Up_, Qt::UpArrow},
                                                           {Down_, Qt::DownArrow}};
  for (const auto& [button, arrow] : arrows) {
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(RepeatDelay);
    button->setAutoRepeatInterval(RepeatInterval);
    button->setIconSize(QSize(7, 5));
    connect(button, &QToolButton::pressed, Editor_,
            [this] { Editor_->setFocus(Qt::MouseFocusReason); });
  }
  Up_->setObjectName(QStringLiteral("UpButton"));
  Down_->setObjectName(QStringLiteral("DownButton"));
  connect(Up_, &QToolButton::clicked, this, &TCSpinEdit::StepUp);
  connect(Down_, &QToolButton::clicked, this, &TCSpinEdit::StepDown);
}

int TCSpinEdit::Value() {
  if (const auto value = SpinEditInteger(Editor_->text())) return *value;
  Editor_->setText(QString::number(MinValue_));
  return MinValue_;
}

void TCSpinEdit::SetValue(int value) {
  Editor_->setText(QString::number(std::clamp(value, MinValue_, MaxValue_)));
}

QString TCSpinEdit::Text() const {
  return Editor_->text();
}
void TCSpinEdit::SetText(const QString& text) {
  Editor_->setText(text);
}

void TCSpinEdit::ClampOnLeaving() {
  const int value = Value();
  if (value < MinValue_ || value > MaxValue_) SetValue(value);
}

bool TCSpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Editor_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      key == Qt::Key_Up ? StepUp() : StepDown();
      return true;
    }
  }
  if (watched == Editor_ && event->type() == QEvent::FocusOut) {
    // Only a move to another control counts, not the window losing the focus.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason) {
      ClampOnLeaving();
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TCSpinEdit::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  Editor_->setGeometry(0, 0, width() - ButtonWidth, height());
  Up_->setGeometry(width() - ButtonWidth, 0, ButtonWidth, half);
  Down_->setGeometry(width() - ButtonWidth, half, ButtonWidth, height() - half);
}

}  // namespace tessarin::ui
