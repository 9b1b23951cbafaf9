#pragma once

#include <QMainWindow>
#include <memory>

#include "tessarin/indexed_bitmap.h"

namespace Ui {
class TForm1;
}

class QAction;
class QMenu;
class QMenuBar;

namespace tessarin::ui {

class TImage;
class TProgressBar;
class TSaveDialog;
class TScrollBox;
class TShape;
class TStatusBar;

// The main window: the menu, the view that shows the working picture at full scale with black
// fill areas to its right and below it, and the status bar with the progress of a generation.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* owner = nullptr);
  ~TForm1() override;

  // The working bitmap: none until the first generation, then the latest one. Once a
  // generation is done its pixels are shared with the view and no longer change.
  const std::shared_ptr<const TIndexedBitmap>& WorkBitmap() const { return WorkBitmap_; }

  // The components, in the order of the window's description.
  QMenuBar* MainMenu1;
  QMenu* File1;
  QAction* N1;
  QAction* Exit1;
  QAction* MenuSaveC;
  TSaveDialog* SaveDialog1;
  TScrollBox* ScrollBox1;
  TStatusBar* StatusBar1;
  TImage* Image1;
  TShape* Shape1;
  TShape* Shape2;
  TProgressBar* ProgressBar1;
  QAction* Process1;
  QAction* Help1;

  // Event handlers; none looks at its sender.
  void Exit1Click(QObject* Sender);
  void FormDestroy(QObject* Sender);
  void MenuSaveCClick(QObject* Sender);
  void ScrollBox1Resize(QObject* Sender);
  void StatusBar1DrawPanel(TStatusBar* StatusBar, int Panel, const QRect& Rect);
  void Process1Click(QObject* Sender);
  void Help1Click(QObject* Sender);

 private:
  std::unique_ptr<Ui::TForm1> Ui_;
  std::shared_ptr<const TIndexedBitmap> WorkBitmap_;
};

// The main window, set at start-up and valid for the whole run.
extern TForm1* Form1;

}  // namespace tessarin::ui
