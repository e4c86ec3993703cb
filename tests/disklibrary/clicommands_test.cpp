#include <gtest/gtest.h>

#include <sstream>

#include "library/pictureproperties.h"
#include "tempfolder.h"
#include "tools/cli/find_command.h"
#include "tools/cli/props_command.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteText;

struct trun {
  int code;
  std::string out, err;
};

trun Props(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = cli::RunPropsCommand(args, out, err);
  return {code, out.str(), err.str()};
}

trun Find(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = cli::RunFindCommand(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(CliProps, SetShowAndErrors) {
  ttempfolder dir;
  WriteText(dir / "p.CAM", "x");
  trun r = Props({dir / "p.CAM", "--title", "Pier", "--description", "one", "--description", "two",
                  "--keyword", "Sea", "--orientation", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Title: Pier\n"), std::string::npos);
  EXPECT_NE(r.out.find("Description 2: two\n"), std::string::npos);
  EXPECT_NE(r.out.find("Keywords: sea\n"), std::string::npos);
  EXPECT_NE(r.out.find("Orientation: 1 Rotate Clockwise\n"), std::string::npos);

  tpictureproperties p;
  p.SetFile(dir / "p.CAM");
  p.Load();
  EXPECT_EQ(p.Title(), "Pier");
  EXPECT_EQ(p.Orientation(), 1u);

  EXPECT_EQ(Props({dir / "p.CAM"}).code, 0);
  EXPECT_EQ(Props({dir / "p.CAM", "--clear"}).code, 0);
  EXPECT_FALSE(testing::Exists(dir / "p.QVC"));

  EXPECT_EQ(Props({}).code, 2);
  EXPECT_EQ(Props({dir / "p.CAM", "--orientation", "7"}).code, 2);
  EXPECT_EQ(Props({dir / "p.CAM", "--title"}).code, 2);
  EXPECT_EQ(Props({dir / "missing.jpg"}).code, 1);
  WriteText(dir / "x.png", "x");
  trun bad = Props({dir / "x.png"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("File is not a JPG, CAM or AVI"), std::string::npos);
}

TEST(CliFind, ModesAndUsage) {
  ttempfolder dir;
  WriteText(dir / "sub/a.jpg", "x");
  ASSERT_EQ(Props({dir / "sub/a.jpg", "--keyword", "seaside", "--title", "Harbour"}).code, 0);
  EXPECT_EQ(Find({dir.path(), "sea"}).out, dir / "sub/a.jpg" + "\n");
  EXPECT_EQ(Find({dir.path(), "harb", "--mode", "title"}).out, dir / "sub/a.jpg" + "\n");
  EXPECT_EQ(Find({dir.path(), "sea", "--no-subfolders"}).out, "");
  EXPECT_EQ(Find({dir.path(), "sea", "--cam"}).out, "");
  EXPECT_EQ(Find({dir.path(), "a", "--mode", "filename"}).out, dir / "sub/a.jpg" + "\n");
  EXPECT_EQ(Find({dir.path(), "../*", "--mode", "filename"}).code, 1);
  EXPECT_EQ(Find({dir.path(), "sea", "--mode", "colour"}).code, 2);
  EXPECT_EQ(Find({dir.path()}).code, 2);
  EXPECT_EQ(Find({dir / "nowhere", "sea"}).code, 1);
}

}  // namespace
}  // namespace vantlo
