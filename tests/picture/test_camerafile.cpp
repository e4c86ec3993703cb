#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/camerafile.h"
#include "picture/camformats.h"
#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"

namespace vantlo {
namespace {

using bytes = std::vector<std::uint8_t>;

class CameraFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    raw0_ = new bytes(EncodeRawPicture(MakeTestPicture(480, 240, 11), 0));
    raw1_ = new bytes(EncodeRawPicture(MakeTestPicture(640, 480, 12), 1));
    jpeg_ = new bytes(CompressJpeg(MakeTestPicture(320, 240, 13), 90, false));
  }
  static void TearDownTestSuite() {
    delete raw0_;
    delete raw1_;
    delete jpeg_;
  }
  static bytes* raw0_;
  static bytes* raw1_;
  static bytes* jpeg_;
};
bytes* CameraFile::raw0_ = nullptr;
bytes* CameraFile::raw1_ = nullptr;
bytes* CameraFile::jpeg_ = nullptr;

bytes WithKind(bytes b, std::uint8_t kind) {
  b.push_back(kind);
  return b;
}

TEST_F(CameraFile, KindsToldApartByContent) {
  bytes cam;
  RawToCamFile(*raw0_, cam, 1);
  EXPECT_EQ(DetectCameraFile(cam), tcamerafilekind::Cam);
  RawToCamFile(*jpeg_, cam, 5);
  EXPECT_EQ(DetectCameraFile(cam), tcamerafilekind::Cam);
  EXPECT_EQ(DetectCameraFile(*raw0_), tcamerafilekind::Raw);
  EXPECT_EQ(DetectCameraFile(*raw1_), tcamerafilekind::Raw);
  EXPECT_EQ(DetectCameraFile(*jpeg_), tcamerafilekind::Jpeg);
  EXPECT_EQ(DetectCameraFile(WithKind(*raw0_, 1)), tcamerafilekind::Cache);
  EXPECT_EQ(DetectCameraFile(WithKind(*raw1_, 2)), tcamerafilekind::Cache);
  EXPECT_EQ(DetectCameraFile(WithKind(*jpeg_, 5)), tcamerafilekind::Cache);
  // A byte after the scans that is no picture kind is just raw data.
  EXPECT_EQ(DetectCameraFile(WithKind(*raw0_, 0x40)), tcamerafilekind::Raw);
  EXPECT_EQ(DetectCameraFile(bytes{0x02, 0x00, 0x00}), tcamerafilekind::Unknown);
  EXPECT_EQ(DetectCameraFile(bytes{}), tcamerafilekind::Unknown);
  EXPECT_EQ(DetectCameraFile(bytes{0x07, 0x20, 0x4D}), tcamerafilekind::Unknown);
  EXPECT_EQ(DetectCameraFile(bytes{0x00}), tcamerafilekind::Raw);  // damaged raw: decode reports it
}

TEST_F(CameraFile, EveryFormDecodesToTheSamePicture) {
  tpicturepipeline p;
  TJPEGImage direct;
  p.DecodeRawPicture(*raw0_, direct);
  bytes cam;
  RawToCamFile(*raw0_, cam, 1);
  for (const bytes& input : {*raw0_, WithKind(*raw0_, 1), cam}) {
    TJPEGImage picture;
    DecodeCameraFile(input, p, {}, picture);
    EXPECT_EQ(picture.Width(), 320);
    EXPECT_EQ(picture.Bitmap(), direct.Bitmap());
  }
  TJPEGImage fromjpeg;
  EXPECT_EQ(DecodeCameraFile(WithKind(*jpeg_, 5), p, {}, fromjpeg), tcamerafilekind::Cache);
  EXPECT_EQ(fromjpeg.JpegData(), *jpeg_);
}

TEST_F(CameraFile, CorrectionAfterDecoding) {
  tpicturepipeline p;
  TJPEGImage plain, manual, automatic;
  DecodeCameraFile(*raw1_, p, {}, plain);
  DecodeCameraFile(*raw1_, p, {tcorrectionchoice::Manual, 10}, manual);
  tbitmap expect = plain.Bitmap();
  ApplyCasioCorrection(expect, 10);
  EXPECT_EQ(manual.Bitmap(), expect);
  EXPECT_FALSE(manual.HasJpegData());
  EXPECT_EQ(manual.CompressionQuality(), 85);

  tbitmap autoexpect = plain.Bitmap();
  const int strength = AutoCorrect(autoexpect);
  DecodeCameraFile(*raw1_, p, {tcorrectionchoice::Auto, 0}, automatic);
  EXPECT_EQ(automatic.Bitmap(), autoexpect) << strength;
}

TEST_F(CameraFile, DamagedInputFailsWithTheStepsMessage) {
  tpicturepipeline p;
  TJPEGImage picture;
  try {
    DecodeCameraFile(bytes{0x02, 1, 2, 3}, p, {}, picture);
    FAIL();
  } catch (const tpictureerror& e) {
    EXPECT_EQ(std::string(e.what()), "Unsupported Camera Format");
  }
  bytes cam;
  RawToCamFile(*raw0_, cam, 1);
  cam[5] = 2;
  try {
    DecodeCameraFile(cam, p, {}, picture);
    FAIL();
  } catch (const tpictureerror& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to parse CAM file (incorrect number of areas)");
  }
  for (std::size_t cut = 0; cut < raw0_->size(); cut += raw0_->size() / 13 + 1) {
    bytes part(raw0_->begin(), raw0_->begin() + static_cast<long>(cut));
    EXPECT_THROW(DecodeCameraFile(part, p, {}, picture), tpictureerror) << cut;
  }
}

}  // namespace
}  // namespace vantlo
