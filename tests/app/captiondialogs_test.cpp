// The caption dialogs: Tcaponpicdlg edits a copy of a caption record and previews it, Tcapprompt
// answers for one picture.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/ui/caponpicdlg.h"
#include "app/ui/capprompt.h"

namespace vantlo {
namespace {

const tlocaltime kDay{2026, 12, 6, 9, 30, 0};

int NonSilverPixels(const QLabel* label) {
  const QImage img = label->pixmap().toImage();
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) != QColor(192, 192, 192);
  return n;
}

TEST(Caponpicdlg, EditsACopyAndGivesTheRecordBack) {
  tcaptionrecord start;
  start.SetMode(tcaptionmode::Standard);
  start.SetBottom(true);
  start.SetAlignment(tcaptionalign::Centre);
  start.SetTransparent(false);
  start.SetFontName("DejaVu Sans");
  Tcaponpicdlg dlg(start, nullptr, [] { return kDay; });
  EXPECT_EQ(dlg.windowTitle(), "Captions on Pictures");
  EXPECT_TRUE(dlg.Standard->isChecked());
  EXPECT_FALSE(dlg.FieldButtons[4]->isEnabled());  // fields only for a custom caption

  dlg.PreviewClick();
  EXPECT_GT(NonSilverPixels(dlg.SampleImage), 0);
  dlg.NoCaption->setChecked(true);
  dlg.PreviewClick();
  EXPECT_EQ(NonSilverPixels(dlg.SampleImage), 0);

  dlg.Custom->setChecked(true);
  EXPECT_TRUE(dlg.FieldButtons[4]->isEnabled());
  dlg.CustomEdit->setText("Pic ");
  dlg.FieldButtons[4]->click();
  EXPECT_EQ(dlg.CustomEdit->text(), "Pic <PICNUM> ");
  dlg.Top->setChecked(true);
  dlg.Right->setChecked(true);
  dlg.Transparent->setChecked(true);
  const tcaptionrecord r = dlg.Record();
  EXPECT_EQ(r.Mode(), tcaptionmode::Custom);
  EXPECT_EQ(r.CustomText(), "Pic <PICNUM> ");
  EXPECT_FALSE(r.Bottom());
  EXPECT_EQ(r.Alignment(), tcaptionalign::Right);
  EXPECT_TRUE(r.Transparent());
  EXPECT_EQ(r.FontName(), "DejaVu Sans");
  // The record handed in is untouched.
  EXPECT_EQ(start.Mode(), tcaptionmode::Standard);

  // An unmatched "<" does not break the preview; the sample stays silver.
  dlg.CustomEdit->setText("Pic <PICNUM");
  dlg.PreviewClick();
  EXPECT_EQ(NonSilverPixels(dlg.SampleImage), 0);
}

tcaptionpromptanswer PromptAnswer(const QString& button, const QString& typed, std::string& text) {
  Tcapprompt dlg;
  QTimer::singleShot(0, &dlg, [&] {
    dlg.Edit->setText(typed);
    for (QPushButton* b : dlg.findChildren<QPushButton*>())
      if (b->text() == button) b->click();
  });
  return dlg.Ask(text);
}

TEST(Capprompt, OkNoCaptionAndPictureInfo) {
  std::string text = "unchanged";
  EXPECT_EQ(PromptAnswer("No Caption", "x", text), tcaptionpromptanswer::noCaption);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(PromptAnswer("Picture Info", "x", text), tcaptionpromptanswer::pictureInfo);
  EXPECT_EQ(PromptAnswer("OK", "At <PICNUM>", text), tcaptionpromptanswer::ok);
  EXPECT_EQ(text, "At <PICNUM>");
}

}  // namespace
}  // namespace vantlo
