// `vantlo-cli decode --defringe ... --retouch ...` as a program: the output is
// the decoded picture run through the de-fringe filter and the retoucher,
// the same pixels the in-process routines give; bad values are usage errors.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture/camerafile.h"
#include "picture/defringe.h"
#include "picture/fastbm.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"
#include "picture/retoucher.h"
#include "picture/touchsliders.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

class DecodeTouch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vantlo_decodetouch_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::setenv("VANTLO_CONFIG_DIR", (dir_ / "config").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Run(const std::string& args) {
    const std::string cmd = std::string("'") + VANTLO_CLI_PATH + "' decode " + args + " >'" +
                            (dir_ / "out").string() + "' 2>'" + (dir_ / "err").string() +
                            "' </dev/null";
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string Err() const {
    std::ifstream in(dir_ / "err");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::uint8_t> Bytes(const fs::path& p) const {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path WriteJpeg(const tbitmap& b) {
    const fs::path p = dir_ / "in.jpg";
    const auto data = CompressJpeg(b, 95, false);
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return p;
  }
  // What the program must give: the decoded picture, filtered in process.
  tbitmap Expected(const fs::path& input, bool v, bool h, const tretouchsliders* sliders) {
    tpicturepipeline pipeline;
    TJPEGImage picture;
    DecodeCameraFile(Bytes(input), pipeline, {}, picture);
    tbitmap b = picture.Bitmap();
    if (v || h) {
      tbitmap result;
      DeFringe(b, result, v, h);
      b = result;
    }
    if (sliders) {
      tretoucher r;
      const tretouchsettings s = SettingsFromSliders(*sliders);
      r.SetBrightness(s.Brightness);
      r.SetContrast(s.Contrast);
      r.SetSharpness(s.Sharpness);
      r.SetColourMix(s.Red, s.Green, s.Blue);
      r.LoadPicture(b, false);
      r.ApplyTo(b);
    }
    // Saved at the pipeline's quality, as the program saves it.
    TJPEGImage out;
    out.SetCompressionQuality(pipeline.JpegQuality);
    out.Assign(b);
    std::vector<std::uint8_t> jpeg;
    out.SaveToStream(jpeg);
    return DecodeJpeg(jpeg, JpegScale::jsFullSize);
  }

  fs::path dir_;
};

tbitmap StripedPicture() {
  tbitmap b = MakeTestPicture(160, 120, 4);
  tfastbm f;
  f.Attach(&b);
  for (int x = 8; x < 150; x += 16)
    for (int y = 10; y < 100; ++y) f.SetPixel(x, y, MakeColor(250, 250, 250));
  return b;
}

TEST_F(DecodeTouch, DefringeAndRetouchGiveTheInProcessResult) {
  const fs::path in = WriteJpeg(StripedPicture());
  const fs::path out = dir_ / "out.jpg";
  ASSERT_EQ(Run("'" + in.string() + "' -o '" + out.string() +
                "' --defringe both --retouch brightness=20,sharpness=-30,red=10"),
            0)
      << Err();
  const tretouchsliders sliders{20, 0, -30, 10, 0, 0};
  const tbitmap got = DecodeJpeg(Bytes(out), JpegScale::jsFullSize);
  EXPECT_EQ(got, Expected(in, true, true, &sliders));
  // Not the plain decode: the tools did change the picture.
  EXPECT_NE(got, Expected(in, false, false, nullptr));

  ASSERT_EQ(Run("'" + in.string() + "' -o '" + out.string() + "' --defringe=vertical"), 0) << Err();
  EXPECT_EQ(DecodeJpeg(Bytes(out), JpegScale::jsFullSize), Expected(in, true, false, nullptr));
}

TEST_F(DecodeTouch, BrightnessSliderAtPlusHundredDoubles) {
  tbitmap grey(64, 48);
  std::fill(grey.Bytes().begin(), grey.Bytes().end(), std::uint8_t{60});
  const fs::path in = WriteJpeg(grey);
  const fs::path out = dir_ / "out.jpg";
  ASSERT_EQ(Run("'" + in.string() + "' -o '" + out.string() + "' --retouch brightness=100"), 0)
      << Err();
  const tbitmap got = DecodeJpeg(Bytes(out), JpegScale::jsFullSize);
  for (std::uint8_t v : got.Bytes()) ASSERT_NEAR(v, 120, 2);
}

TEST_F(DecodeTouch, BadValuesAreUsageErrors) {
  const fs::path in = WriteJpeg(MakeTestPicture(32, 24, 1));
  const std::string base = "'" + in.string() + "' -o '" + (dir_ / "o.jpg").string() + "' ";
  EXPECT_EQ(Run(base + "--defringe diagonal"), 2);
  EXPECT_NE(Err().find("--defringe takes vertical, horizontal or both"), std::string::npos);
  for (const char* bad :
       {"brightness=101", "hue=5", "red", "red=", "red=5,", "", "blue=-101", "green=1x"}) {
    EXPECT_EQ(Run(base + "--retouch '" + bad + "'"), 2) << bad;
    EXPECT_NE(Err().find("--retouch takes"), std::string::npos) << bad;
  }
  EXPECT_EQ(Run(base + "--defringe"), 2);
  EXPECT_FALSE(fs::exists(dir_ / "o.jpg"));
}

}  // namespace
}  // namespace vantlo
