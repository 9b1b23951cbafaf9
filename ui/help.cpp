#include "help.h"

#include "ui_Help.h"

namespace tessarin::ui {

THelpBox* HelpBox = nullptr;

THelpBox::THelpBox(QWidget* parent) : TDialogForm(parent), Ui_(std::make_unique<Ui::THelpBox>()) {
  Ui_->setupUi(this);
  FinishForm(QPoint(263, 144));
}

THelpBox::~THelpBox() = default;

}  // namespace tessarin::ui
