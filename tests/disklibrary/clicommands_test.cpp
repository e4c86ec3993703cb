#include <gtest/gtest.h>

#include <sstream>

#include "library/pictureproperties.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"
#include "tempfolder.h"
#include "tools/cli/decode_command.h"
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

trun Decode(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = cli::RunDecodeCommand(args, out, err);
  return {code, out.str(), err.str()};
}

// A progressive JPEG cut short whose header claims 10000 x 12000 pixels:
// libjpeg fills what is missing with grey and only warns. The command fails
// with libjpeg's own words and writes nothing; a sound picture still goes
// through and replaces an older output file whole.
TEST(CliDecode, ProgressiveCutShortClaimingAHugeSizeFailsAndWritesNothing) {
  ttempfolder dir;
  std::vector<std::uint8_t> jpeg = CompressJpeg(MakeTestPicture(96, 64, 4), 80, true);
  testing::WriteBytes(dir / "good.jpg", jpeg);
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC2) {
      jpeg[i + 5] = 12000 >> 8, jpeg[i + 6] = 12000 & 0xFF;
      jpeg[i + 7] = 10000 >> 8, jpeg[i + 8] = 10000 & 0xFF;
      break;
    }
  testing::WriteBytes(dir / "claim.jpg", jpeg);

  const trun bad = Decode({dir / "claim.jpg", "-o", dir / "out.jpg"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err,
            "Unable to decode JPEG data (Corrupt JPEG data: premature end of data segment)\n");
  EXPECT_FALSE(testing::Exists(dir / "out.jpg"));

  testing::WriteText(dir / "out.jpg", "older");
  const trun good = Decode({dir / "good.jpg", "-o", dir / "out.jpg"});
  ASSERT_EQ(good.code, 0) << good.err;
  EXPECT_EQ(good.out, dir / "out.jpg" + ": 96 x 64 from JPEG file\n");
  EXPECT_EQ(DecodeJpeg(testing::ReadBytes(dir / "out.jpg"), JpegScale::jsFullSize).Width(), 96);
  EXPECT_EQ(Decode({dir / "claim.jpg", "-o", dir / "out.jpg"}).code, 1);
  EXPECT_EQ(DecodeJpeg(testing::ReadBytes(dir / "out.jpg"), JpegScale::jsFullSize).Width(), 96);
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
