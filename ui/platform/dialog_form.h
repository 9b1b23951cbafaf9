#pragma once

#include <QDialog>
#include <QPoint>

class QAbstractButton;

namespace tessarin::ui {

// Modal results, as ShowModal returns them.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A fixed dialog built from a Designer form: no close box, minimise or maximise; the stated
// client size; a first position on the screen; the forms' small sans-serif font. Buttons carry
// their modal result in the form as the dynamic property "ModalResult"; the one marked
// "Cancel" also answers the Escape key. Enter clicks the default button, as QDialog does.
class TDialogForm : public QDialog {
  Q_OBJECT

 public:
  // Shows the dialog modally: the rest of the application takes no input until it closes.
  int ShowModal();

 protected:
  explicit TDialogForm(QWidget* parent = nullptr);
  // Call after the form is set up: fixes the size, binds the buttons and fits the texts.
  void FinishForm(QPoint firstPosition);

  void reject() override;

 private:
  QAbstractButton* CancelButton_ = nullptr;
  QPoint FirstPosition_;
  bool Shown_ = false;
};

// The font every form uses: a sans-serif with 11-pixel characters whose widths are close to
// those the layouts were drawn for.
QFont FormFont();

// Makes the radio buttons that share a parent one exclusive group, and only those.
void GroupRadioButtons(QWidget* form);

// Widens labels, buttons and radio buttons whose text needs more room than their stated
// width, keeping their positions; labels that do not wrap take their text's size, as
// self-sizing labels do.
void FitTexts(QWidget* form);

}  // namespace tessarin::ui
