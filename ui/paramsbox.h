#pragma once

#include <memory>

#include "platform/dialog_form.h"
#include "tessarin/settings.h"

namespace Ui {
class TSettingsBox;
}

namespace tessarin::ui {

// "Zoneplate settings": size, cycle period and output format of a generation. The dialog
// lives for the whole run and keeps its controls' contents between showings.
class TSettingsBox : public TDialogForm {
  Q_OBJECT

 public:
  explicit TSettingsBox(QWidget* parent = nullptr);
  ~TSettingsBox() override;

  // The settings the size field, the period field and the format buttons hold now.
  TZonePlateSettings ReadSettings() const;

 private:
  std::unique_ptr<Ui::TSettingsBox> Ui_;
};

// The settings dialog, set at start-up and valid for the whole run.
extern TSettingsBox* SettingsBox;

}  // namespace tessarin::ui
