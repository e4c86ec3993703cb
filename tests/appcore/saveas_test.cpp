#include <gtest/gtest.h>

#include <sstream>

#include "app/core/saveasname.h"
#include "app/core/terminalquestion.h"

namespace vantlo {
namespace {

TEST(SaveAsName, ProposalAndEndings) {
  EXPECT_EQ(SaveAsProposal("/a/x.cam"), "x");
  EXPECT_EQ(SaveAsProposal("/pics/06dec26005.JPG"), "06dec26005");
  EXPECT_EQ(SaveAsProposal("movie.Avi"), "movie");
  EXPECT_EQ(SaveAsProposal("/a/b.png"), "b.png");
  EXPECT_EQ(SaveAsProposal("/a/.jpg"), "");
  EXPECT_EQ(EnsureEnding("y", ".cam"), "y.cam");
  EXPECT_EQ(EnsureEnding("y.CAM", ".cam"), "y.CAM");
  EXPECT_EQ(EnsureEnding("photo.jpg", ".jpg"), "photo.jpg");
  EXPECT_EQ(EnsureEnding("photo.jpeg", ".jpg"), "photo.jpeg.jpg");
  EXPECT_EQ(EnsureEnding("jpg", ".jpg"), "jpg.jpg");  // shorter than 4: always appended
}

TEST(TerminalQuestion, AnswersAndNoTerminal) {
  std::istringstream in("y\n  A\nn\nwhatever\n");
  std::ostringstream out;
  tterminalquestion q(in, out, true);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::yes);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::yesToAll);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);  // end of input
  EXPECT_NE(out.str().find("Do you want to overwrite /p/a.jpg"), std::string::npos);

  std::istringstream yes("y\n");
  std::ostringstream silent;
  tterminalquestion headless(yes, silent, false);
  EXPECT_EQ(headless.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_TRUE(silent.str().empty());
}

}  // namespace
}  // namespace vantlo
