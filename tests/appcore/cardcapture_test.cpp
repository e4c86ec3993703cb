// AutoCapture from a card laid out in a temporary folder: keep card names with a name used in two
// picture folders, prefix naming, a second run over a card already copied, the whole card, and
// copies that fail or are cut short: nothing on the card goes unless its copy is verified.
#include "app/core/cardcapture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/core/autocapture.h"
#include "library/records/autocapturerecord.h"
#include "tempdir.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void Write(const std::string& path, const std::string& bytes) { testing::WriteText(path, bytes); }

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Good for `okFiles` files, then writes only the first 3 bytes; `lie`: reports success anyway.
class tbrokenwriter : public tfilewriter {
 public:
  tbrokenwriter(int okFiles, bool lie) : ok_(okFiles), lie_(lie) {}
  int Write(const std::string& path, std::span<const std::uint8_t> bytes) override {
    if (ok_-- > 0) return real_.Write(path, bytes);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(std::min<std::size_t>(3, bytes.size())));
    return lie_ ? 0 : ENOSPC;
  }

 private:
  int ok_;
  bool lie_;
  tatomicwriter real_;
};

class CardCaptureTest : public ::testing::Test {
 protected:
  CardCaptureTest() {
    Write(Card("DCIM/100CASIO/CIMG0001.JPG"), "first picture");
    Write(Card("DCIM/100CASIO/CIMG0002.JPG"), "second picture");
    Write(Card("DCIM/101CASIO/CIMG0001.JPG"), "third picture, same name");
    Write(Card("DCIM/MISC/AUTPRINT.MRK"), "print order");
    fs::create_directories(out.path());
    naming.outputFolder = out.path();
    naming.autoCapturePrefix = "autocap";
    record.SetUsbDrive(5);
    record.SetKeepCardNames(true);
    record.SetDeleteAfterCopying(true);
    status.onChange = [this](const tautocaplights& l) { labels.push_back(l.label); };
    host.message = [this](tmessagekind, const std::string& text) { messages.push_back(text); };
  }
  std::string Card(const std::string& rest) { return card / rest; }
  std::string Out(const std::string& rest) { return out / rest; }
  tcardcaptureresult Run(tfilewriter* writer = nullptr) {
    tcardcapture run(record, namer, status, record.UsbDrive() > 0 ? card.path() : "", host, writer);
    status.Show(tautocapstate::waiting);  // as Start does before the run
    return run.Run();
  }
  bool CardUntouched() {
    return Read(Card("DCIM/100CASIO/CIMG0001.JPG")) == "first picture" &&
           Read(Card("DCIM/100CASIO/CIMG0002.JPG")) == "second picture" &&
           Read(Card("DCIM/101CASIO/CIMG0001.JPG")) == "third picture, same name";
  }

  TempDir card, out;
  tnamingsettings naming;
  tfilenamer namer{naming, [] { return tlocaltime{2026, 12, 6, 14, 5, 9}; }};
  tautocapturerecord record;
  tautocapsounds sounds;
  tautocapstatus status{nullptr, sounds};
  tcardcapturehost host;
  std::vector<std::string> labels;
  std::vector<std::string> messages;
};

TEST_F(CardCaptureTest, KeepNamesGivesTheSecondCimg0001AFreeNameAndLeavesMiscOnTheCard) {
  const tcardcaptureresult result = Run();
  EXPECT_EQ(Read(Out("cimg0001.jpg")), "first picture");
  EXPECT_EQ(Read(Out("cimg0002.jpg")), "second picture");
  EXPECT_EQ(Read(Out("cimg0001_1.jpg")), "third picture, same name");
  EXPECT_EQ(result.saved.size(), 3u);
  EXPECT_EQ(result.deleted.size(), 3u);
  EXPECT_TRUE(result.failed.empty());
  EXPECT_FALSE(fs::exists(Card("DCIM/100CASIO/CIMG0001.JPG")));
  EXPECT_FALSE(fs::exists(Card("DCIM/101CASIO/CIMG0001.JPG")));
  EXPECT_TRUE(fs::exists(Card("DCIM/MISC/AUTPRINT.MRK")));  // never copied, so never deleted
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(labels[1], "Camera connected");
  EXPECT_EQ(labels[2], "3 pictures to capture");
  EXPECT_EQ(labels.back(), "All pictures captured");
}

TEST_F(CardCaptureTest, ASecondRunOverTheSameCardCopiesNothing) {
  record.SetDeleteAfterCopying(false);
  Run();
  const tcardcaptureresult again = Run();
  EXPECT_TRUE(again.saved.empty());
  EXPECT_EQ(again.skipped.size(), 3u);
  EXPECT_FALSE(fs::exists(Out("cimg0001_2.jpg")));
  EXPECT_FALSE(fs::exists(Out("cimg0002_1.jpg")));
  EXPECT_TRUE(CardUntouched());
}

TEST_F(CardCaptureTest, PrefixNamingNumbersEachCopyAndKeepsTheExtension) {
  record.SetKeepCardNames(false);
  record.SetNameByPrefix(true);
  Write(Card("DCIM/101CASIO/CIMG0004.AVI"), "a movie");
  const tcardcaptureresult result = Run();
  EXPECT_EQ(Read(Out("autocap000.jpg")), "first picture");
  EXPECT_EQ(Read(Out("autocap001.jpg")), "second picture");
  EXPECT_EQ(Read(Out("autocap002.jpg")), "third picture, same name");
  EXPECT_EQ(Read(Out("autocap003.avi")), "a movie");
  EXPECT_EQ(result.saved.size(), 4u);
}

TEST_F(CardCaptureTest, AFailedCopyEndsTheRunAndTheCardStaysWhole) {
  tbrokenwriter full(1, false);
  try {
    Run(&full);
    FAIL() << "the run went on";
  } catch (const tautocaptureerror& e) {
    EXPECT_EQ(std::string(e.what()), SaveErrorText(Out("cimg0002.jpg")));
  }
  EXPECT_TRUE(CardUntouched());
}

TEST_F(CardCaptureTest, ACopyReportedDoneButCutShortIsNotTrusted) {
  tbrokenwriter liar(0, true);
  EXPECT_THROW(Run(&liar), tautocaptureerror);
  EXPECT_TRUE(CardUntouched());
}

// The copies are flushed to disk before the card is emptied; when that cannot be done (here the
// output folder is gone once the last copy is verified), the card keeps everything.
TEST_F(CardCaptureTest, CopiesThatCannotBeFlushedToDiskLeaveTheCardWhole) {
  int written = 0;
  host.fileWritten = [&](const std::string&) {
    if (++written == 3) fs::remove_all(out.path());
  };
  try {
    Run();
    FAIL() << "the card was emptied";
  } catch (const tautocaptureerror& e) {
    EXPECT_NE(std::string(e.what()).find("nothing was deleted from the card"), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(CardUntouched());
}

TEST_F(CardCaptureTest, NotSetUpAndNoCard) {
  record.SetUsbDrive(0);
  Run();
  EXPECT_EQ(messages, (std::vector<std::string>{tcardcapture::kNotSetUp}));

  record.SetUsbDrive(5);
  fs::rename(Card("DCIM"), Card("elsewhere"));
  int asked = 0;
  host.askConnect = [&](const std::string& text) {
    EXPECT_EQ(text, "Connect USB or insert card");
    if (++asked == 2) fs::rename(Card("elsewhere"), Card("DCIM"));  // the card goes in
    return true;
  };
  const tcardcaptureresult result = Run();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(result.saved.size(), 3u);

  fs::rename(Card("DCIM"), Card("elsewhere"));
  host.askConnect = [](const std::string&) { return false; };
  EXPECT_TRUE(Run().cancelled);
}

TEST_F(CardCaptureTest, OnlyAMiscFolderEndsWithNothingCopiedOrDeleted) {
  fs::remove_all(Card("DCIM/100CASIO"));
  fs::remove_all(Card("DCIM/101CASIO"));
  const tcardcaptureresult result = Run();
  EXPECT_TRUE(result.saved.empty());
  EXPECT_TRUE(result.deleted.empty());
  EXPECT_TRUE(fs::exists(Card("DCIM/MISC/AUTPRINT.MRK")));
  EXPECT_EQ(labels.back(), "0 pictures to capture");
}

TEST_F(CardCaptureTest, TheCompleteCardIsCopiedLowerCasedWithoutItsLinks) {
  record.SetCopyCompleteCard(true);
  TempDir home;
  Write(home / "private.txt", "not for the card");
  fs::create_symlink(home / "private.txt", Card("DCIM/100CASIO/LINK.JPG"));
  const tcardcaptureresult result = Run();
  EXPECT_EQ(Read(Out("100casio/cimg0001.jpg")), "first picture");
  EXPECT_EQ(Read(Out("101casio/cimg0001.jpg")), "third picture, same name");
  EXPECT_EQ(Read(Out("misc/autprint.mrk")), "print order");
  EXPECT_FALSE(fs::exists(Out("100casio/link.jpg")));
  EXPECT_EQ(result.deleted.size(), 4u);
  // What was copied is gone from the card, and the emptied folders with it; the link stays.
  EXPECT_FALSE(fs::exists(Card("DCIM/101CASIO")));
  EXPECT_FALSE(fs::exists(Card("DCIM/MISC")));
  EXPECT_TRUE(fs::is_symlink(Card("DCIM/100CASIO/LINK.JPG")));
  EXPECT_TRUE(fs::exists(home / "private.txt"));
}

TEST(CopyTarget, FreeSameOrTheNextFreeName) {
  TempDir dir;
  const std::vector<std::uint8_t> bytes{'a', 'b'};
  bool same = true;
  EXPECT_EQ(CopyTargetFor(bytes, dir / "x.jpg", same), dir / "x.jpg");
  EXPECT_FALSE(same);
  Write(dir / "x.jpg", "ab");
  EXPECT_EQ(CopyTargetFor(bytes, dir / "x.jpg", same), dir / "x.jpg");
  EXPECT_TRUE(same);
  Write(dir / "x.jpg", "other");
  Write(dir / "x_1.jpg", "another");
  EXPECT_EQ(CopyTargetFor(bytes, dir / "x.jpg", same), dir / "x_2.jpg");
  EXPECT_FALSE(same);
}

}  // namespace
}  // namespace vantlo
