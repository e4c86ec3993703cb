// The mini-movie maker: frames cut out of single pictures and burst mosaics, in the order the
// camera took them whatever way the picture is turned; the refusals (another orientation, a
// frame number outside the movie, a picture too small for the grid); pictures of different
// sizes stretched to the largest frame.
#include "output/minimovie.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "picture/rotation.h"

namespace vantlo {
namespace {

// The colour that marks burst frame k: blue k, green 100 + k, red 200 - k.
void Mark(std::uint8_t* p, int k) {
  p[0] = static_cast<std::uint8_t>(k);
  p[1] = static_cast<std::uint8_t>(100 + k);
  p[2] = static_cast<std::uint8_t>(200 - k);
}

// A burst mosaic as the camera stores it: `rows` x `columns` frames of fw x fh, frame k at
// column k mod columns, row k div columns, each filled with its mark.
tbitmap Burst(int rows, int columns, int fw, int fh) {
  tbitmap b(columns * fw, rows * fh);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) Mark(b.ScanLine(y) + 3 * x, (y / fh) * columns + x / fw);
  return b;
}

// The frame mark a whole frame carries, or -1 when its pixels differ.
int FrameMark(const tbitmap& frame) {
  const std::uint8_t* first = frame.ScanLine(0);
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const std::uint8_t* p = frame.ScanLine(y) + 3 * x;
      if (p[0] != first[0] || p[1] != first[1] || p[2] != first[2]) return -1;
    }
  return first[0];
}

std::string Refusal(const std::function<void()>& f) {
  try {
    f();
  } catch (const toutputerror& e) {
    return e.what();
  }
  return "no refusal";
}

TEST(MiniMovie, AFourByFourBurstOf640x480GivesSixteenFramesRowByRow) {
  tminimovie movie;
  movie.SetGrid(4, 4);
  movie.AddSourcePicture("burst.jpg", Burst(4, 4, 160, 120), 0);
  ASSERT_EQ(movie.FrameCount(), 16);
  EXPECT_EQ(movie.FrameWidth(), 160);
  EXPECT_EQ(movie.FrameHeight(), 120);
  for (int k = 0; k < 16; ++k) {
    tbitmap frame;
    movie.GetFrame(k, frame);
    EXPECT_EQ(frame.Width(), 160);
    EXPECT_EQ(frame.Height(), 120);
    EXPECT_EQ(FrameMark(frame), k) << "frame " << k;
    EXPECT_EQ(movie.CurrentFrame(), k);
  }
}

// A burst taken with the camera turned is stored turned by the orientation code before it is
// added: the frames still come out in the order they were taken, each whole.
TEST(MiniMovie, TurnedBurstsComeOutInTheOrderTheyWereTaken) {
  struct tcase {
    int rows, columns;  // the grid as the camera stored it
  };
  for (const tcase c : {tcase{4, 4}, tcase{2, 2}, tcase{2, 4}, tcase{3, 2}, tcase{1, 3}}) {
    for (int code = 0; code < 4; ++code) {
      const tbitmap shown = RotateBitmap(Burst(c.rows, c.columns, 40, 30), code);
      const bool across = code == 1 || code == 3;  // a quarter turn swaps rows and columns
      tminimovie movie;
      movie.SetGrid(across ? c.columns : c.rows, across ? c.rows : c.columns);
      movie.AddSourcePicture("turned.cam", shown, code);
      ASSERT_EQ(movie.FrameCount(), c.rows * c.columns);
      for (int k = 0; k < movie.FrameCount(); ++k) {
        tbitmap frame;
        movie.GetFrame(k, frame);
        EXPECT_EQ(FrameMark(frame), k)
            << c.rows << "x" << c.columns << " code " << code << " frame " << k;
      }
    }
  }
}

TEST(MiniMovie, FramesFollowTheirPicturesAndFrameNumbersOutsideAreRefused) {
  tminimovie movie;
  movie.SetGrid(2, 2);
  movie.AddSourcePicture("a.jpg", Burst(2, 2, 8, 6), 0);
  tbitmap second = Burst(2, 2, 8, 6);
  for (auto& byte : second.Bytes()) byte = static_cast<std::uint8_t>(byte + 50);
  movie.AddSourcePicture("b.jpg", second, 0);
  ASSERT_EQ(movie.FrameCount(), 8);
  tbitmap frame(8, 6);
  movie.GetFrame(5, frame);
  EXPECT_EQ(FrameMark(frame), 51);  // picture 1, frame 1
  EXPECT_EQ(movie.PictureName(1), "b.jpg");

  EXPECT_EQ(Refusal([&] { movie.GetFrame(8, frame); }), kIllegalFrameNumber);
  EXPECT_EQ(Refusal([&] { movie.GetFrame(-1, frame); }), kIllegalFrameNumber);
  EXPECT_EQ(movie.CurrentFrame(), 5);

  movie.ClearMovie();
  EXPECT_EQ(movie.FrameCount(), 0);
  EXPECT_EQ(Refusal([&] { movie.GetFrame(0, frame); }), kIllegalFrameNumber);
}

TEST(MiniMovie, OneSingleImageIsOneFrame) {
  tminimovie movie;
  movie.AddSourcePicture("one.jpg", Burst(1, 1, 64, 48), 0);
  EXPECT_EQ(movie.FrameCount(), 1);
  tbitmap frame;
  movie.GetFrame(0, frame);
  EXPECT_EQ(frame, Burst(1, 1, 64, 48));
  EXPECT_EQ(Refusal([&] { movie.GetFrame(1, frame); }), kIllegalFrameNumber);
}

TEST(MiniMovie, PicturesOfAnotherOrientationOrBadCodesAreRefusedAndNothingIsAdded) {
  tminimovie movie;
  movie.AddSourcePicture("a.cam", Burst(1, 1, 16, 12), 0);
  EXPECT_EQ(Refusal([&] { movie.AddSourcePicture("b.jpg", Burst(1, 1, 16, 12), 1); }),
            kDifferentOrientation);
  EXPECT_EQ(movie.FrameCount(), 1);

  tminimovie empty;
  EXPECT_EQ(Refusal([&] { empty.AddSourcePicture("c.jpg", Burst(1, 1, 16, 12), 4); }),
            kInvalidOrientation);
  EXPECT_EQ(Refusal([&] { empty.AddSourcePicture("c.jpg", Burst(1, 1, 16, 12), -1); }),
            kInvalidOrientation);
  EXPECT_EQ(empty.FrameCount(), 0);

  // The first picture's code is the movie's; after a clear another code may start it.
  movie.ClearMovie();
  movie.AddSourcePicture("b.jpg", Burst(1, 1, 16, 12), 1);
  EXPECT_EQ(movie.Orientation(), 1);
}

TEST(MiniMovie, PicturesTooSmallForTheGridAreRefused) {
  tminimovie movie;
  movie.SetGrid(4, 4);
  EXPECT_EQ(Refusal([&] { movie.AddSourcePicture("tiny.jpg", tbitmap(3, 40), 0); }),
            kPictureTooSmall);
  EXPECT_EQ(Refusal([&] { movie.AddSourcePicture("none.jpg", tbitmap(), 0); }), kPictureTooSmall);
  EXPECT_EQ(movie.FrameCount(), 0);
}

TEST(MiniMovie, SmallerPicturesAreStretchedUpToTheLargestFrame) {
  tminimovie movie;
  tbitmap small(2, 2);
  Mark(small.ScanLine(0), 1);
  Mark(small.ScanLine(0) + 3, 2);
  Mark(small.ScanLine(1), 3);
  Mark(small.ScanLine(1) + 3, 4);
  movie.AddSourcePicture("small.jpg", small, 0);
  movie.AddSourcePicture("large.jpg", Burst(1, 1, 6, 4), 0);
  EXPECT_EQ(movie.FrameWidth(), 6);
  EXPECT_EQ(movie.FrameHeight(), 4);
  tbitmap frame(movie.FrameWidth(), movie.FrameHeight());
  movie.GetFrame(0, frame);
  // Each source pixel covers a 3 x 2 block of the frame.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(frame.ScanLine(y)[3 * x], 1 + (y / 2) * 2 + x / 3) << x << "," << y;
  movie.GetFrame(1, frame);
  EXPECT_EQ(FrameMark(frame), 0);
}

TEST(MiniMovie, ChangingTheGridRecutsThePicturesHeld) {
  tminimovie movie;
  movie.AddSourcePicture("burst.jpg", Burst(2, 2, 320, 240), 0);
  EXPECT_EQ(movie.FrameCount(), 1);
  EXPECT_EQ(movie.FrameWidth(), 640);
  movie.SetGrid(2, 2);
  EXPECT_EQ(movie.FrameCount(), 4);
  EXPECT_EQ(movie.FrameWidth(), 320);
  EXPECT_EQ(movie.FrameHeight(), 240);
  tbitmap frame;
  movie.GetFrame(3, frame);
  EXPECT_EQ(FrameMark(frame), 3);
  // Rows and columns are kept to 1..8.
  movie.SetGrid(0, 12);
  EXPECT_EQ(movie.Rows(), 1);
  EXPECT_EQ(movie.Columns(), 8);
}

}  // namespace
}  // namespace vantlo
