#include "dialog_form.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>

namespace tessarin::ui {

QFont FormFont() {
  QFont font(QStringLiteral("Liberation Sans"));  // metrics close to the classic dialog font
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

TDialogForm::TDialogForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setFont(FormFont());
  setModal(true);
}

void TDialogForm::FinishForm(QPoint firstPosition) {
  FirstPosition_ = firstPosition;
  setFixedSize(size());
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    const QVariant result = button->property("ModalResult");
    if (!result.isValid()) continue;
    connect(button, &QAbstractButton::clicked, this, [this, code = result.toInt()] { done(code); });
    if (button->property("Cancel").toBool()) CancelButton_ = button;
  }
  GroupRadioButtons(this);
  FitTexts(this);
}

void GroupRadioButtons(QWidget* form) {
  // Qt's own auto-exclusivity searches a parent's whole subtree, which would join the
  // buttons of a group box to those around it; explicit groups follow the parents exactly.
  QHash<QWidget*, QButtonGroup*> groups;
  for (QRadioButton* button : form->findChildren<QRadioButton*>()) {
    QWidget* parent = button->parentWidget();
    QButtonGroup*& group = groups[parent];
    if (!group) group = new QButtonGroup(parent);
    group->addButton(button);
  }
}

int TDialogForm::ShowModal() {
  if (!Shown_) {
    move(FirstPosition_);
    Shown_ = true;
  }
  setWindowModality(Qt::ApplicationModal);
  return exec();
}

void TDialogForm::reject() {
  // Escape and the window manager's close both land here; only a cancel button may close.
  if (CancelButton_) done(CancelButton_->property("ModalResult").toInt());
}

void FitTexts(QWidget* form) {
  for (QWidget* widget : form->findChildren<QWidget*>()) {
    auto* label = qobject_cast<QLabel*>(widget);
    if (!label && !qobject_cast<QAbstractButton*>(widget)) continue;
    QSize wanted = widget->sizeHint();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      // The style's minimum button width is no reason to grow: only the text is.
      wanted.setWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
    }
    if (wanted.width() > widget->width()) widget->resize(wanted.width(), widget->height());
    if (label && !label->wordWrap()) label->resize(wanted);  // labels size themselves
  }
}

}  // namespace tessarin::ui
