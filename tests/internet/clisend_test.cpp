// `vantlo-cli send` as built, against a real pyftpdlib server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "ftptestfiles.h"
#include "internet/runprocess.h"
#include "library/regconfig.h"
#include "pyftpserver.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::tpyftpserver;

class CliSend : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dirs_.server / "pics");
    fs::create_directories(dirs_.base / "config");
    setenv("VANTLO_CONFIG_DIR", (dirs_.base / "config").c_str(), 1);
    server_ = std::make_unique<tpyftpserver>(dirs_.server.string());
    std::ofstream(dirs_.base / "password") << "pass\r\n";
  }
  void TearDown() override { unsetenv("VANTLO_CONFIG_DIR"); }
  tprocessresult Send(std::vector<std::string> args) {
    args.insert(args.begin(), {VANTLO_CLI_PATH, "send"});
    return RunProcess(args);
  }
  testing::ttempdirs dirs_;
  std::unique_ptr<tpyftpserver> server_;
};

TEST_F(CliSend, SendsEveryFileOverOneConnection) {
  std::vector<std::string> args, data;
  for (int i = 0; i < 3; ++i) {
    const auto p = dirs_.local / ("DSC000" + std::to_string(i) + ".JPG");
    data.push_back(testing::WriteJpegLike(p, 30000 + i, 20 + i));
    args.push_back(p.string());
  }
  for (std::string a : {"--host", "", "--user", "user", "--password-file", "", "--dir", "pics"})
    args.push_back(a);
  args[4] = server_->Host();
  args[8] = (dirs_.base / "password").string();
  const auto r = Send(args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / ("DSC000" + std::to_string(i) + ".JPG")) ==
                data[i]);
  EXPECT_EQ(tpyftpserver::Count(server_->StopAndLog(), "logged in"), 1);
}

TEST_F(CliSend, AFailureExitsWithTheSystemsMessage) {
  const auto p = dirs_.local / "a.jpg";
  testing::WriteJpegLike(p, 1000, 1);
  std::ofstream(dirs_.base / "wrong") << "wrong\n";
  auto r = Send({p.string(), "--host", server_->Host(), "--user", "user", "--password-file",
                 (dirs_.base / "wrong").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error logging in to FTP server as user : user\n");
  r = Send({p.string(), "--host", server_->Host(), "--user", "user", "--password-file",
            (dirs_.base / "password").string(), "--dir", "nothere"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Error changing to directory on FTP server : nothere\n");
  r = Send({(dirs_.local / "absent.jpg").string(), "--host", server_->Host(), "--user", "user",
            "--password-file", (dirs_.base / "password").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Error sending"), std::string::npos) << r.err;
}

TEST_F(CliSend, WithoutOptionsTheStoredSettingsAreUsed) {
  tsettingsrecords records;
  tregconfig store;
  store.ReadAll(records);
  twebcamsettings web = records.config.WebcamSettings();
  web.SetRemoteHost(server_->Host());
  web.SetRemoteUser("user");
  web.SetRemotePassword("pass");
  web.SetRemoteDirectory("pics");
  records.config.SetWebcamSettings(web);
  records.contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
  ASSERT_TRUE(store.WriteAll(records).empty());
  const auto p = dirs_.local / "stored.jpg";
  const auto data = testing::WriteJpegLike(p, 5000, 3);
  const auto r = Send({p.string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "stored.jpg") == data);

  // A host information file named on the command line.
  std::ofstream(dirs_.base / "site.hif")
      << "HOSTNAME " << server_->Host() << "\r\nUSERNAME user\r\nPASSWORD pass\r\n"
      << "FILENAME web.jpg\r\n";
  EXPECT_EQ(Send({p.string(), "--hif", (dirs_.base / "site.hif").string()}).exitCode, 0);
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "web.jpg") == data);
}

TEST_F(CliSend, UsageErrorsExitTwo) {
  EXPECT_EQ(Send({}).exitCode, 2);
  EXPECT_EQ(Send({"a.jpg", "--host", "h"}).exitCode, 2);  // no user
  EXPECT_EQ(Send({"a.jpg", "--hif", "x.hif", "--host", "h", "--user", "u"}).exitCode, 2);
  EXPECT_EQ(Send({"a.jpg", "--bogus"}).exitCode, 2);
}

}  // namespace
}  // namespace vantlo
