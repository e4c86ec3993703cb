// The persistent thumbnail cache in the desktop's layout: names, what is
// written (text chunks, modes, atomic replacement), and the Browse page's
// tiles taken from it: the same as a decode, made again when stale, damaged
// or foreign.
#include "library/thumbnailcache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "library/diskthumbmanager.h"
#include "library/md5.h"
#include "picture/jpegimage.h"
#include "picture/pngimage.h"
#include "picture/rawencoder.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ReadBytes;
using testing::ttempfolder;
using testing::WriteBytes;

TEST(Md5, KnownDigests) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  // 56 and 80 bytes: the length no longer fits the last block / two blocks.
  EXPECT_EQ(Md5Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "8215ef0796a20bcaaae116d3876c664a");
  EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                   "1234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(ThumbnailCache, UrisNamesAndRoot) {
  EXPECT_EQ(tthumbnailcache::FileUri("/home/jens/photos/me.png"),
            "file:///home/jens/photos/me.png");
  tthumbnailcache cache("/c/thumbnails/");
  EXPECT_EQ(cache.Root(), "/c/thumbnails");
  EXPECT_EQ(cache.EntryPath("/home/jens/photos/me.png"),
            "/c/thumbnails/normal/c6ee772d9e49320e97ec29a7eb5b1697.png");
  EXPECT_EQ(tthumbnailcache::FileUri("/p/My Pictures/a#1%;.jpg"),
            "file:///p/My%20Pictures/a%231%25%3B.jpg");
  EXPECT_EQ(tthumbnailcache::FileUri("/p/caf\xC3\xA9/(1)+x,y=z@h:m$&!~*'.jpg"),
            "file:///p/caf%C3%A9/(1)+x,y=z@h:m$&!~*'.jpg");
  EXPECT_FALSE(tthumbnailcache("").Enabled());

  const char* old = std::getenv("XDG_CACHE_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CACHE_HOME", "/x/cache", 1);
  EXPECT_EQ(tthumbnailcache::DefaultRoot(), "/x/cache/thumbnails");
  ::setenv("XDG_CACHE_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(tthumbnailcache::DefaultRoot(),
            std::string(std::getenv("HOME")) + "/.cache/thumbnails");
  ::setenv("XDG_CACHE_HOME", saved.c_str(), 1);
}

// The program's decoders with a cache of the test's own, counting decodes.
class tcountingsource : public tpicturethumbsource {
 public:
  explicit tcountingsource(const std::string& root) : tpicturethumbsource(root) {}
  tbitmap DecodeJpeg(std::span<const std::uint8_t> data, int divisor) override {
    ++decodes;
    return tpicturethumbsource::DecodeJpeg(data, divisor);
  }
  int decodes = 0;
};

struct tbrowse {
  std::vector<tbitmap> tiles;
  std::vector<int> widths, heights;
  int decodes = 0;
};

tbrowse Browse(const std::string& folder, const std::string& cacheroot) {
  tcountingsource source(cacheroot);
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(folder);
  m.LoadAllThumbnails();
  tbrowse b;
  for (int n = 1; n <= m.Count(); ++n) {
    EXPECT_TRUE(m.HasThumbnail(n)) << n;
    b.tiles.push_back(m.Thumbnail(n));
    b.widths.push_back(m.PictureWidth(n));
    b.heights.push_back(m.PictureHeight(n));
  }
  b.decodes = source.decodes;
  return b;
}

std::vector<tpngtext> EntryText(const std::string& entry) {
  std::vector<tpngtext> text;
  DecodePng(ReadBytes(entry), text);
  return text;
}

std::string Value(const std::vector<tpngtext>& text, const std::string& key) {
  for (const auto& t : text)
    if (t.Key == key) return t.Value;
  return "<none>";
}

class ThumbnailCacheBrowse : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_ / "pictures";
    root_ = dir_ / "cache/thumbnails";
    // A large picture (shrunk for the cache), one of odd size and a small
    // one decoded at a quarter.
    WriteBytes(folder_ + "/a.jpg", CompressJpeg(MakeTestPicture(2048, 1536, 3), 85, false));
    WriteBytes(folder_ + "/b.jpg", CompressJpeg(MakeTestPicture(641, 479, 4), 85, true));
    WriteBytes(folder_ + "/c.jpg", CompressJpeg(MakeTestPicture(300, 200, 5), 85, false));
  }
  std::string Entry(const std::string& name) const {
    return tthumbnailcache(root_).EntryPath(folder_ + "/" + name);
  }
  ttempfolder dir_;
  std::string folder_, root_;
};

// A second Browse takes every tile from the cache without decoding, and the
// tiles and picture sizes are exactly those of the first Browse and of a
// Browse with no cache at all. The entries carry the file's URI, time, size
// and picture size.
TEST_F(ThumbnailCacheBrowse, SecondBrowseIsTheSameWithoutDecoding) {
  const tbrowse uncached = Browse(folder_, "");
  const tbrowse cold = Browse(folder_, root_);
  const tbrowse warm = Browse(folder_, root_);
  EXPECT_EQ(cold.decodes, 4);  // the small one at an eighth, then a quarter
  EXPECT_EQ(warm.decodes, 0);
  EXPECT_EQ(warm.tiles, cold.tiles);
  EXPECT_EQ(cold.tiles, uncached.tiles);
  EXPECT_EQ(warm.widths, cold.widths);
  EXPECT_EQ(warm.heights, cold.heights);
  EXPECT_EQ(cold.widths, (std::vector<int>{2048, 648, 300}));  // 81 x 8 for 641

  const auto text = EntryText(Entry("b.jpg"));
  struct stat st;
  ASSERT_EQ(::stat((folder_ + "/b.jpg").c_str(), &st), 0);
  EXPECT_EQ(Value(text, "Thumb::URI"), "file://" + folder_ + "/b.jpg");
  EXPECT_EQ(Value(text, "Thumb::MTime"), std::to_string(st.st_mtim.tv_sec));
  EXPECT_EQ(Value(text, "Thumb::Size"), std::to_string(st.st_size));
  EXPECT_EQ(Value(text, "Thumb::Image::Width"), "641");
  EXPECT_EQ(Value(text, "Thumb::Image::Height"), "479");
  EXPECT_EQ(Value(text, "Software"), "Vantlo");
  // At most 128 pixels on the larger side, shape kept.
  std::vector<tpngtext> ignored;
  const tbitmap a = DecodePng(ReadBytes(Entry("a.jpg")), ignored);
  EXPECT_EQ(a.Width(), 128);
  EXPECT_EQ(a.Height(), 96);
}

// Entries of a different time (or size) are stale, damaged PNG files and
// entries made by another program are not used: the tile is decoded and the
// entry made again, and then it serves the next Browse.
TEST_F(ThumbnailCacheBrowse, StaleDamagedAndForeignEntriesAreMadeAgain) {
  const tbrowse cold = Browse(folder_, root_);
  // a.jpg: another picture with an older time, as a restored backup has.
  WriteBytes(folder_ + "/a.jpg", CompressJpeg(MakeTestPicture(1024, 768, 9), 85, false));
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ + "/a.jpg").c_str(), times, 0), 0);
  // b.jpg: the entry's picture data damaged (the checksum no longer fits).
  std::vector<std::uint8_t> damaged = ReadBytes(Entry("b.jpg"));
  damaged[damaged.size() / 2] ^= 0x5A;
  WriteBytes(Entry("b.jpg"), damaged);
  // c.jpg: a valid entry for the same file and time from another program.
  std::vector<tpngtext> text = EntryText(Entry("c.jpg"));
  for (auto& t : text)
    if (t.Key == "Software") t.Value = "GNOME::ThumbnailFactory";
  WriteBytes(Entry("c.jpg"), EncodePng(tbitmap(12, 8), text));

  const tbrowse again = Browse(folder_, root_);
  EXPECT_EQ(again.decodes, 4);
  EXPECT_EQ(again.widths[0], 1024);
  EXPECT_NE(again.tiles[0], cold.tiles[0]);
  EXPECT_EQ(again.tiles[1], cold.tiles[1]);
  EXPECT_EQ(again.tiles[2], cold.tiles[2]);
  EXPECT_EQ(Value(EntryText(Entry("a.jpg")), "Thumb::MTime"), "1000000000");
  EXPECT_EQ(Value(EntryText(Entry("c.jpg")), "Software"), "Vantlo");

  const tbrowse warm = Browse(folder_, root_);
  EXPECT_EQ(warm.decodes, 0);
  EXPECT_EQ(warm.tiles, again.tiles);

  // The same time to the second, another nanosecond: stale as well.
  const timespec later[2] = {{1000000000, 5}, {1000000000, 5}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ + "/a.jpg").c_str(), later, 0), 0);
  EXPECT_EQ(Browse(folder_, root_).decodes, 1);
}

// The cache folders are made private (0700, with a missing parent) and each
// entry is private (0600). An entry is replaced by renaming a complete new
// file over it: a link to the old entry keeps the old bytes, and no
// temporary file is left behind.
TEST_F(ThumbnailCacheBrowse, EntriesAreWrittenAtomicallyAndPrivately) {
  Browse(folder_, root_);
  struct stat st;
  for (const std::string& folder : {dir_ / "cache", root_, root_ + "/normal"}) {
    ASSERT_EQ(::stat(folder.c_str(), &st), 0) << folder;
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
  }
  ASSERT_EQ(::stat(Entry("a.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  const std::string keep = dir_ / "kept.png";
  ASSERT_EQ(::link(Entry("a.jpg").c_str(), keep.c_str()), 0);
  const std::vector<std::uint8_t> old = ReadBytes(keep);
  WriteBytes(folder_ + "/a.jpg", CompressJpeg(MakeTestPicture(2048, 1536, 8), 85, false));
  const timespec times[2] = {{1200000000, 0}, {1200000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ + "/a.jpg").c_str(), times, 0), 0);
  Browse(folder_, root_);
  EXPECT_EQ(ReadBytes(keep), old);
  EXPECT_NE(ReadBytes(Entry("a.jpg")), old);
  EXPECT_EQ(Value(EntryText(Entry("a.jpg")), "Thumb::MTime"), "1200000000");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(root_ + "/normal")) {
    EXPECT_EQ(e.path().extension(), ".png") << e.path();
    EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    ++files;
  }
  EXPECT_EQ(files, 3);
}

// No entries for files with EXIF data (their orientation is not read here)
// nor for files inside the cache folder itself; an entry that claims more
// than a normal thumbnail's size is damaged.
TEST(ThumbnailCache, WhatIsNotCached) {
  ttempfolder dir;
  const std::string root = dir / "thumbnails";
  tthumbnailcache cache(root);
  const tfilestamp stamp{1, 2, 3};
  tcachedpicture entry;
  entry.Picture = tbitmap(20, 10);
  entry.ImageWidth = 160;
  entry.ImageHeight = 80;
  EXPECT_FALSE(cache.Write(root + "/normal/x.jpg", stamp, entry));
  EXPECT_FALSE(cache.Write("relative.jpg", stamp, entry));
  ASSERT_TRUE(cache.Write(dir / "x.jpg", stamp, entry));
  const auto back = cache.Read(dir / "x.jpg", stamp);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->Picture, entry.Picture);
  EXPECT_EQ(back->ImageWidth, 160);
  EXPECT_FALSE(cache.Read(dir / "x.jpg", tfilestamp{1, 2, 4}).has_value());
  entry.Picture = tbitmap(129, 10);
  EXPECT_FALSE(cache.Write(dir / "y.jpg", stamp, entry));

  // An EXIF file whose segment is too short for a thumbnail is decoded for
  // its tile, but not cached.
  std::vector<std::uint8_t> exif = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'E', 'x', 'i', 'f'};
  exif.resize(4 + 16, 0);
  const std::vector<std::uint8_t> body = CompressJpeg(MakeTestPicture(640, 480, 2), 85, false);
  exif.insert(exif.end(), body.begin() + 2, body.end());
  WriteBytes(dir / "pics/e.jpg", exif);
  const tbrowse b = Browse(dir / "pics", root);
  EXPECT_EQ(b.decodes, 1);
  EXPECT_EQ(b.widths, (std::vector<int>{640}));
  EXPECT_FALSE(testing::Exists(cache.EntryPath(dir / "pics/e.jpg")));
}

}  // namespace
}  // namespace vantlo
