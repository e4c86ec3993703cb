#include "app/core/captions.h"

#include <gtest/gtest.h>

#include "app/core/captionlayout.h"

namespace vantlo {
namespace {

const tfieldtexts kTexts{"06/12/2026", "Sunday, 6 December 2026", "14:05", "14:05:09"};

TEST(ExpandCaptionFields, FieldsAndEdgeCases) {
  EXPECT_EQ(ExpandCaptionFields("Pic <picnum>", 7, kTexts), "Pic 7");
  EXPECT_EQ(ExpandCaptionFields("<Other>", 7, kTexts), "Other");
  EXPECT_EQ(ExpandCaptionFields("a > b", 7, kTexts), "a > b");
  EXPECT_EQ(ExpandCaptionFields("<>", 7, kTexts), "");
  EXPECT_EQ(ExpandCaptionFields("<ShortDate><LONGDATE>|<shorttime>|<LongTime>", 1, kTexts),
            "06/12/2026Sunday, 6 December 2026|14:05|14:05:09");
  EXPECT_EQ(ExpandCaptionFields(kStandardCaption, 12, kTexts),
            "Picture 12 Date 06/12/2026 Time 14:05");
  // A "<" inside a field name is part of the name.
  EXPECT_EQ(ExpandCaptionFields("<a<b>c", 1, kTexts), "a<bc");
  EXPECT_EQ(ExpandCaptionFields("", 1, kTexts), "");
}

TEST(ExpandCaptionFields, UnmatchedOpeningBracketFails) {
  for (const char* bad : {"<", "Pic <picnum", "ok <PICNUM> then <"}) {
    try {
      ExpandCaptionFields(bad, 1, kTexts);
      FAIL() << bad;
    } catch (const tcaptionerror& e) {
      EXPECT_STREQ(e.what(), "Unmatched \"<\" in caption");
    }
  }
}

TEST(ExpandCaptionFields, ResultCutTo255WithoutSplittingCharacters) {
  std::string tmpl(250, 'a');
  tmpl += "<LONGDATE>";
  std::string out = ExpandCaptionFields(tmpl, 1, kTexts);
  EXPECT_EQ(out.size(), 255u);
  EXPECT_EQ(out.substr(250), "Sunda");
  // 254 ASCII then a two-byte character: the character does not fit and is left out whole.
  std::string utf(254, 'b');
  utf += "\xC3\xA9xyz";
  EXPECT_EQ(ExpandCaptionFields(utf, 1, kTexts), std::string(254, 'b'));
  EXPECT_EQ(CutUtf8("ab\xC3\xA9", 3), "ab");
  EXPECT_EQ(CutUtf8("ab\xC3\xA9", 4), "ab\xC3\xA9");
}

class Prompt : public tcaptionprompt {
 public:
  Prompt(tcaptionpromptanswer a, std::string text) : answer(a), text(std::move(text)) {}
  tcaptionpromptanswer AskCaption(std::string& typed) override {
    ++asked;
    typed = text;
    return answer;
  }
  tcaptionpromptanswer answer;
  std::string text;
  int asked = 0;
};

TEST(CaptionText, EveryMode) {
  tcaptionsetting s;
  s.customText = "Pic <PICNUM>";
  s.mode = 0;
  EXPECT_FALSE(CaptionText(s, 3, kTexts, nullptr));
  s.mode = 1;
  EXPECT_EQ(*CaptionText(s, 3, kTexts, nullptr), "Picture 3 Date 06/12/2026 Time 14:05");
  s.mode = 2;
  EXPECT_EQ(*CaptionText(s, 3, kTexts, nullptr), "Pic 3");
  s.customText.clear();
  EXPECT_FALSE(CaptionText(s, 3, kTexts, nullptr));  // empty custom text writes nothing
  s.mode = 9;                                        // damaged mode: nothing
  EXPECT_FALSE(CaptionText(s, 3, kTexts, nullptr));
}

TEST(CaptionText, PromptAnswersApplyToThisPictureOnly) {
  tcaptionsetting s;
  s.mode = 3;
  Prompt ok(tcaptionpromptanswer::ok, "Typed <picnum>");
  EXPECT_EQ(*CaptionText(s, 4, kTexts, &ok), "Typed 4");
  Prompt info(tcaptionpromptanswer::pictureInfo, "ignored");
  EXPECT_EQ(*CaptionText(s, 4, kTexts, &info), "Picture 4 Date 06/12/2026 Time 14:05");
  Prompt none(tcaptionpromptanswer::noCaption, "ignored");
  EXPECT_FALSE(CaptionText(s, 4, kTexts, &none));
  EXPECT_FALSE(CaptionText(s, 4, kTexts, nullptr));  // no one to ask: no caption
  EXPECT_EQ(s.mode, 3);
  EXPECT_EQ(ok.asked + info.asked + none.asked, 3);
}

TEST(SystemFieldTexts, UsesTheGivenMoment) {
  setlocale(LC_ALL, "C");
  auto t = SystemFieldTexts({2026, 12, 6, 14, 5, 9});
  EXPECT_EQ(t.shortDate, "12/06/26");
  EXPECT_EQ(t.longDate, "Sunday, 6 December 2026");
  EXPECT_EQ(t.shortTime, "14:05");
  EXPECT_EQ(t.longTime, "14:05:09");
}

// Every character is 10 pixels wide, lines are 12 high.
int Tens(std::string_view s) { return static_cast<int>(s.size()) * 10; }

TEST(LayoutCaption, Positions) {
  auto l = LayoutCaption(400, 300, "abcd", Tens, 12, 0, false);  // left, top
  EXPECT_EQ(l.x, 10);
  EXPECT_EQ(l.y, 12);
  EXPECT_EQ(l.drawn, "   abcd   ");
  EXPECT_EQ(l.width, 100);
  l = LayoutCaption(400, 300, "abcd", Tens, 12, 1, true);  // right, bottom
  EXPECT_EQ(l.x, 400 - 80);
  EXPECT_EQ(l.y, 300 - 24);
  l = LayoutCaption(401, 300, "abcd", Tens, 12, 2, true);  // centre: (401-100)/2 truncated
  EXPECT_EQ(l.x, 150);
}

TEST(LayoutCaption, WideCaptionStartsAtZeroAndIsCutAtTheEdge) {
  std::string caption(50, 'w');  // 560 pixels drawn, picture 200 wide
  for (int align : {0, 1, 2}) {
    auto l = LayoutCaption(200, 100, caption, Tens, 12, align, true);
    EXPECT_LE(l.x + l.width, 200) << align;
    if (align != 0) {
      EXPECT_EQ(l.x, 0) << align;
    }
    EXPECT_EQ(l.width, Tens(l.drawn));
  }
  auto l = LayoutCaption(200, 100, caption, Tens, 12, 2, true);
  EXPECT_EQ(l.drawn.size(), 20u);
  // Cutting never splits a UTF-8 character.
  // (the fake measure counts bytes: "   " plus one two-byte character is 50 of 55 pixels).
  l = LayoutCaption(55, 100, "\xC3\xA9\xC3\xA9\xC3\xA9", Tens, 12, 2, true);
  EXPECT_EQ(l.drawn, "   \xC3\xA9");
}

TEST(LayoutCaption, ShortPictureKeepsTextInside) {
  auto l = LayoutCaption(100, 20, "a", Tens, 12, 2, true);  // 20 - 24 < 0
  EXPECT_EQ(l.y, 0);
  l = LayoutCaption(100, 20, "a", Tens, 12, 2, false);  // top: 12, but 12 + 12 > 20
  EXPECT_EQ(l.y, 8);
  l = LayoutCaption(5, 5, "abc", Tens, 12, 0, false);  // nothing fits at all
  EXPECT_TRUE(l.drawn.empty());
  EXPECT_EQ(l.y, 0);
}

}  // namespace
}  // namespace vantlo
