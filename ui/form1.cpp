#include "form1.h"

#include <QFile>
#include <functional>

#include "fill_rule.h"
#include "help.h"
#include "paramsbox.h"
#include "platform/dialog_form.h"
#include "platform/image.h"
#include "platform/progress_bar.h"
#include "platform/save_dialog.h"
#include "platform/scroll_box.h"
#include "platform/shape.h"
#include "platform/status_bar.h"
#include "tessarin/renderer.h"
#include "ui_Form1.h"

namespace tessarin::ui {

TForm1* Form1 = nullptr;

namespace {

// Undoes the half-done state of a generation that an exception ends: the working bitmap
// again holds the picture on view (or none), so that Save As writes what is shown and the
// fill areas match it, and the status bar no longer says that a generation runs. The
// exception itself goes on to the application's error report.
class TGenerationRollback {
 public:
  explicit TGenerationRollback(std::function<void()> undo) : Undo_(std::move(undo)) {}
  ~TGenerationRollback() {
    if (Undo_) Undo_();
  }
  TGenerationRollback(const TGenerationRollback&) = delete;
  TGenerationRollback& operator=(const TGenerationRollback&) = delete;
  void Dismiss() { Undo_ = nullptr; }

 private:
  std::function<void()> Undo_;
};

}  // namespace

TForm1::TForm1(QWidget* owner) : QMainWindow(owner), Ui_(std::make_unique<Ui::TForm1>()) {
  Ui_->setupUi(this);
  MainMenu1 = Ui_->MainMenu1;
  File1 = Ui_->File1;
  N1 = Ui_->N1;
  Exit1 = Ui_->Exit1;
  MenuSaveC = Ui_->MenuSaveC;
  SaveDialog1 = new TSaveDialog(this);
  ScrollBox1 = Ui_->ScrollBox1;
  StatusBar1 = Ui_->StatusBar1;
  Image1 = Ui_->Image1;
  Shape1 = Ui_->Shape1;
  Shape2 = Ui_->Shape2;
  ProgressBar1 = Ui_->ProgressBar1;
  Process1 = Ui_->Process1;
  Help1 = Ui_->Help1;

  N1->setSeparator(N1->property("Separator").toBool());
  setFont(FormFont());
  StatusBar1->setFixedHeight(19);
  ScrollBox1->AdoptChildren();
  // The stored size is the client area below the menu bar; the stored place is the frame's.
  resize(width(), height() + MainMenu1->sizeHint().height());
  move(361, 201);

  WorkBitmap_.reset();
  ProgressBar1->setParent(StatusBar1);
  ProgressBar1->show();
  StatusBar1->SetPanelStyle(1, psOwnerDraw);

  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(Exit1); });
  connect(MenuSaveC, &QAction::triggered, this, [this] { MenuSaveCClick(MenuSaveC); });
  connect(Process1, &QAction::triggered, this, [this] { Process1Click(Process1); });
  connect(Help1, &QAction::triggered, this, [this] { Help1Click(Help1); });
  connect(ScrollBox1, &TScrollBox::Resized, this, [this] { ScrollBox1Resize(ScrollBox1); });
  connect(StatusBar1, &TStatusBar::DrawPanel, this, &TForm1::StatusBar1DrawPanel);
}

TForm1::~TForm1() {
  FormDestroy(this);
}

void TForm1::Exit1Click(QObject*) {
  close();
}

void TForm1::FormDestroy(QObject*) {}

void TForm1::MenuSaveCClick(QObject*) {
  if (!SaveDialog1->Execute()) return;
  WorkBitmap_->SaveToFile(QFile::encodeName(SaveDialog1->FileName()).toStdString());
}

void TForm1::ScrollBox1Resize(QObject*) {
  std::optional<TPictureSize> picture;
  if (WorkBitmap_) picture = TPictureSize{WorkBitmap_->Width(), WorkBitmap_->Height()};
  const TFillSizes fill = FillRule(ScrollBox1->ClientWidth(), ScrollBox1->ClientHeight(), picture);
  Shape1->resize(Shape1->width(), fill.BottomHeight);
  Shape2->resize(fill.RightWidth, Shape2->height());
}

void TForm1::StatusBar1DrawPanel(TStatusBar*, int, const QRect& Rect) {
  ProgressBar1->setGeometry(Rect);
}

void TForm1::Help1Click(QObject*) {
  HelpBox->ShowModal();
}

void TForm1::Process1Click(QObject*) {
  if (SettingsBox->ShowModal() != mrOk) return;
  ScrollBox1->Repaint();
  const TZonePlateSettings settings = SettingsBox->ReadSettings();
  // The view keeps its own reference to the picture it shows, so releasing the working
  // bitmap here frees only pixels that nothing shows.
  WorkBitmap_.reset();
  TGenerationRollback rollback([this] {
    WorkBitmap_ = Image1->Picture();
    StatusBar1->SetPanelText(0, QString());
    StatusBar1->Repaint();
    ProgressBar1->SetPosition(0);
  });
  const auto bitmap = std::make_shared<TIndexedBitmap>();
  WorkBitmap_ = bitmap;
  bitmap->SetPixelFormat(settings.OutputFormat == zfGreyscale ? pf8bit : pf1bit);
  bitmap->SetWidth(settings.Size);
  bitmap->SetHeight(settings.Size);
  AssignPalette(*bitmap);

  StatusBar1->SetPanelText(0, QStringLiteral("Generating zoneplate..."));
  StatusBar1->Repaint();
  RenderZonePlate(settings, *bitmap,
                  [this](int32_t percent) { ProgressBar1->SetPosition(percent); });
  rollback.Dismiss();

  StatusBar1->SetPanelText(0, QString());
  ProgressBar1->SetPosition(0);
  MenuSaveC->setEnabled(true);
  Image1->SetPicture(WorkBitmap_);
  ScrollBox1->SetHorzRange(WorkBitmap_->Width());
  ScrollBox1->SetVertRange(WorkBitmap_->Height());
  ScrollBox1Resize(this);
  ScrollBox1->Repaint();
}

}  // namespace tessarin::ui
