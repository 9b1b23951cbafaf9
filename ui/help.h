#pragma once

#include <memory>

#include "platform/dialog_form.h"

namespace Ui {
class THelpBox;
}

namespace tessarin::ui {

// "Zoneplate Help": what zone plates are used for, and where to read more.
class THelpBox : public TDialogForm {
  Q_OBJECT

 public:
  explicit THelpBox(QWidget* parent = nullptr);
  ~THelpBox() override;

 private:
  std::unique_ptr<Ui::THelpBox> Ui_;
};

// The help dialog, set at start-up and valid for the whole run.
extern THelpBox* HelpBox;

}  // namespace tessarin::ui
