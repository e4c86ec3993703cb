// The host information file: keywords, values, comments, Windows line ends.
#include "internet/hostinfo.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ftptestfiles.h"

namespace vantlo {
namespace {

class HostInfoFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    const auto path = dirs_.local / "site.hif";
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  testing::ttempdirs dirs_;
  HostInformation info_;
  std::string illegal_;
};

TEST_F(HostInfoFile, ThreeRequiredLinesAreEnough) {
  ASSERT_TRUE(LoadHostInformationFile(
      Write("HOSTNAME ftp.example.com\nUSERNAME joe\nPASSWORD pw\n"), info_, &illegal_));
  EXPECT_TRUE(info_.Send);
  EXPECT_EQ(info_.HostName, "ftp.example.com");
  EXPECT_EQ(info_.UserName, "joe");
  EXPECT_EQ(info_.Password, "pw");
  EXPECT_EQ(info_.FileName, "");
  EXPECT_EQ(info_.Directory, "");
  EXPECT_EQ(illegal_, "");
}

TEST_F(HostInfoFile, WithoutAPasswordLineTheLoadFails) {
  EXPECT_FALSE(LoadHostInformationFile(
      Write("HOSTNAME h\nUSERNAME u\nFILENAME f.jpg\nDIRECTORY /pics\nSEND Y\n"), info_,
      &illegal_));
  EXPECT_EQ(illegal_, "");
  // A password line with no value is enough.
  EXPECT_TRUE(LoadHostInformationFile(Write("HOSTNAME h\nUSERNAME u\nPASSWORD\n"), info_));
  EXPECT_EQ(info_.Password, "");
}

TEST_F(HostInfoFile, WindowsLineEndsDoNotEndUpInTheValues) {
  ASSERT_TRUE(LoadHostInformationFile(
      Write("! written on Windows\r\n\r\nHOSTNAME ftp.example.com\r\nUSERNAME joe\r\n"
            "PASSWORD secret\r\nDIRECTORY /pics\r\nFILENAME cam.jpg\r\nSEND n\r\n"),
      info_, &illegal_));
  EXPECT_EQ(info_.HostName, "ftp.example.com");
  EXPECT_EQ(info_.Password, "secret");
  EXPECT_EQ(info_.Directory, "/pics");
  EXPECT_EQ(info_.FileName, "cam.jpg");
  EXPECT_FALSE(info_.Send);
  // The last line may lack its line end.
  ASSERT_TRUE(LoadHostInformationFile(Write("HOSTNAME h\r\nUSERNAME u\r\nPASSWORD p"), info_));
  EXPECT_EQ(info_.Password, "p");
}

TEST_F(HostInfoFile, TheValueIsEverythingAfterTheFirstSpace) {
  ASSERT_TRUE(LoadHostInformationFile(
      Write("HOSTNAME   spaced.example.com\nUSERNAME joe smith \nPASSWORD a b\n"), info_));
  EXPECT_EQ(info_.HostName, "  spaced.example.com");
  EXPECT_EQ(info_.UserName, "joe smith ");
  EXPECT_EQ(info_.Password, "a b");
}

TEST_F(HostInfoFile, KeywordsByTheirLeadingCharactersInAnyCase) {
  ASSERT_TRUE(LoadHostInformationFile(
      Write("hostname one\nHostName two\nusernames joe\npassword p\nsend yes\n"
            "Directory x\nfilename f\n"),
      info_));
  EXPECT_EQ(info_.HostName, "two");  // a later line wins
  EXPECT_EQ(info_.UserName, "joe");
  EXPECT_TRUE(info_.Send);
  EXPECT_EQ(info_.Directory, "x");
  EXPECT_EQ(info_.FileName, "f");
  for (const char* send : {"SEND N\n", "SEND no\n", "SEND\n", "SEND \n"}) {
    ASSERT_TRUE(LoadHostInformationFile(
        Write(std::string("HOSTNAME h\nUSERNAME u\nPASSWORD p\n") + send), info_));
    EXPECT_FALSE(info_.Send) << send;
  }
  ASSERT_TRUE(
      LoadHostInformationFile(Write("HOSTNAME h\nUSERNAME u\nPASSWORD p\nSEND Yes\n"), info_));
  EXPECT_TRUE(info_.Send);
}

TEST_F(HostInfoFile, AnUnknownLineStopsTheLoad) {
  EXPECT_FALSE(LoadHostInformationFile(Write("HOSTNAME h\nUSERNAME u\nPORT 21\nPASSWORD p\n"),
                                       info_, &illegal_));
  EXPECT_EQ(illegal_, "Illegal line in HIF file : PORT 21");
  EXPECT_FALSE(LoadHostInformationFile(Write("HOSTNAME h\nUSERNAME u\nPASSWORD p\n PORT\r\n"),
                                       info_, &illegal_));
  EXPECT_EQ(illegal_, "Illegal line in HIF file :  PORT");
}

TEST_F(HostInfoFile, AMissingFileOrAFolderFails) {
  EXPECT_FALSE(LoadHostInformationFile((dirs_.local / "absent.hif").string(), info_));
  EXPECT_FALSE(LoadHostInformationFile(dirs_.local.string(), info_));
}

}  // namespace
}  // namespace vantlo
