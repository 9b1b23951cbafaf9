#include "save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace tessarin::ui {
namespace {

class TFolderCheckingDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
      const QFileInfo file(chosen.first());
      if (!file.isDir() && !file.absoluteDir().exists()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("%1\nThe folder does not exist. Check the name and try again.")
                                 .arg(file.absolutePath()));
        return;
      }
    }
    QFileDialog::accept();
  }
};

}  // namespace

TSaveDialog::TSaveDialog(QWidget* owner) : QObject(owner), Owner_(owner) {}

bool TSaveDialog::Execute() {
  TFolderCheckingDialog dialog(Owner_);
  dialog.setObjectName(QStringLiteral("SaveDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix(DefaultExt);
  dialog.setNameFilter(Filter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  FileName_ = dialog.selectedFiles().first();
  return true;
}

}  // namespace tessarin::ui
