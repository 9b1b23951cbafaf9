#include "paramsbox.h"

#include "settings_text.h"
#include "ui_Paramsbox.h"

namespace tessarin::ui {

TSettingsBox* SettingsBox = nullptr;

TSettingsBox::TSettingsBox(QWidget* parent)
    : TDialogForm(parent), Ui_(std::make_unique<Ui::TSettingsBox>()) {
  Ui_->setupUi(this);
  FinishForm(QPoint(246, 180));
}

TSettingsBox::~TSettingsBox() = default;

TZonePlateSettings TSettingsBox::ReadSettings() const {
  TZonePlateSettings settings;
  settings.Size = SizeFromText(Ui_->CSpinEdit1->Text().toStdString());
  settings.CyclePeriod = PeriodFromText(Ui_->ComboBox4->currentText().toStdString());
  settings.OutputFormat =
      FormatFromButtons(Ui_->RadioButton1->isChecked(), Ui_->RadioButton6->isChecked(),
                        Ui_->RadioButton5->isChecked());
  return settings;
}

}  // namespace tessarin::ui
