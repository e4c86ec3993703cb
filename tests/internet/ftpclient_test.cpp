// TFTP against a real pyftpdlib server on loopback, and through the test
// firewall for the firewall modes.
#include "internet/ftpclient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "ftpproxy.h"
#include "ftptestfiles.h"
#include "pyftpserver.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::tftpproxy;
using testing::tpyftpserver;

class FtpClient : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dirs_.server / "pics");
    server_ = std::make_unique<tpyftpserver>(dirs_.server.string());
    ftp_.OnCommand = [this](const std::string& c) { commands_.push_back(c); };
    ftp_.OnReply = [this](const std::string& r) { replies_.push_back(r); };
  }
  bool Sent(const std::string& command) const {
    return std::find(commands_.begin(), commands_.end(), command) != commands_.end();
  }
  testing::ttempdirs dirs_;
  std::unique_ptr<tpyftpserver> server_;
  TFTP ftp_;
  std::vector<std::string> commands_, replies_;
};

TEST_F(FtpClient, UploadsAJpegByteForByteInBinaryModeAndNeverShowsThePassword) {
  const auto jpeg = testing::WriteJpegLike(dirs_.local / "DSC0001.JPG", 300 * 1024, 1);
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  EXPECT_EQ(ftp_.State(), TFTP::kConnected);
  EXPECT_EQ(ftp_.ProtocolState(), TFTP::kLoggedIn);
  EXPECT_EQ(ftp_.WorkingDirectory(), "/pics");
  ASSERT_TRUE(ftp_.Put((dirs_.local / "DSC0001.JPG").string(), "DSC0001.JPG"));
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "DSC0001.JPG") == jpeg);
  EXPECT_TRUE(Sent("USER user"));
  EXPECT_TRUE(Sent("PASS ****"));
  EXPECT_TRUE(Sent("CWD pics"));
  EXPECT_TRUE(Sent("TYPE I"));
  for (const auto& line : commands_) EXPECT_EQ(line.find("pass", 5), std::string::npos) << line;
  EXPECT_TRUE(ftp_.Errors().empty());
}

TEST_F(FtpClient, WrongPasswordIsALoginFailure) {
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "wrong", ""), tftpopenresult::LoginFailed);
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_NE(ftp_.ProtocolState(), TFTP::kLoggedIn);
  ASSERT_FALSE(ftp_.Errors().empty());
  EXPECT_FALSE(ftp_.Put((dirs_.local / "none").string(), "x"));  // nothing is open
}

TEST_F(FtpClient, NoServerIsAConnectFailure) {
  const std::string host = server_->Host();
  server_.reset();
  EXPECT_EQ(ftp_.Open(host, "user", "pass", ""), tftpopenresult::ConnectFailed);
  EXPECT_EQ(ftp_.State(), 0);
  EXPECT_EQ(ftp_.Open("bad host name", "user", "pass", ""), tftpopenresult::ConnectFailed);
}

TEST_F(FtpClient, MissingRemoteFolderIsAnErrorOfTheConnection) {
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "pass", "nothere"), tftpopenresult::DirectoryFailed);
  EXPECT_FALSE(ftp_.Connected());
  ASSERT_FALSE(ftp_.Errors().empty());
}

TEST_F(FtpClient, RefusedBinaryModeIsAnErrorOfTheConnection) {
  tftpproxy relay(server_->Port(), {.transparent = true, .refuseType = true});
  EXPECT_EQ(ftp_.Open("127.0.0.1:" + std::to_string(relay.Port()), "user", "pass", "pics"),
            tftpopenresult::TypeFailed);
  EXPECT_FALSE(ftp_.Connected());
}

TEST_F(FtpClient, RemoteNamesAreCutAtBothKindsOfSlash) {
  testing::WriteJpegLike(dirs_.local / "a.jpg", 1000, 2);
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "/pics"), tftpopenresult::Ok);
  EXPECT_TRUE(ftp_.Put((dirs_.local / "a.jpg").string(), "C:\\pictures\\win.jpg"));
  EXPECT_TRUE(ftp_.Put((dirs_.local / "a.jpg").string(), "../../unix.jpg"));
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "win.jpg"));
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "unix.jpg"));
  EXPECT_FALSE(fs::exists(dirs_.server / "unix.jpg"));
  EXPECT_FALSE(ftp_.Put((dirs_.local / "a.jpg").string(), "pics/"));  // no name left
  EXPECT_FALSE(ftp_.Put((dirs_.local / "a.jpg").string(), "evil\r\nDELE win.jpg"));
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "win.jpg"));
}

TEST_F(FtpClient, FiveFilesCostOneLogin) {
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  std::vector<std::string> data;
  for (int i = 0; i < 5; ++i) {
    const auto name = "p" + std::to_string(i) + ".jpg";
    data.push_back(testing::WriteJpegLike(dirs_.local / name, 20000 + i, 10 + i));
    ASSERT_TRUE(ftp_.Put((dirs_.local / name).string(), name));
  }
  ftp_.Quit();
  const std::string log = server_->StopAndLog();
  EXPECT_EQ(tpyftpserver::Count(log, "logged in"), 1);
  EXPECT_EQ(tpyftpserver::Count(log, "FTP session opened"), 1);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(testing::ReadAll(dirs_.server / "pics" / ("p" + std::to_string(i) + ".jpg")),
              data[i]);
}

TEST_F(FtpClient, ServerDroppingTheConnectionMidUploadFailsTheUpload) {
  testing::WriteJpegLike(dirs_.local / "big.jpg", 24 * 1024 * 1024, 3);
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  bool killed = false;
  ftp_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    if (!killed && sent > 1024 * 1024) {
      server_->Kill();
      killed = true;
    }
  };
  EXPECT_FALSE(ftp_.Put((dirs_.local / "big.jpg").string(), "big.jpg"));
  EXPECT_TRUE(killed);
  EXPECT_FALSE(ftp_.Connected());
  EXPECT_FALSE(ftp_.Errors().empty());
}

TEST_F(FtpClient, CancelAndDropEndARunningUpload) {
  testing::WriteJpegLike(dirs_.local / "big.jpg", 24 * 1024 * 1024, 4);
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  ftp_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    EXPECT_TRUE(ftp_.Busy());
    if (sent > 512 * 1024) ftp_.Cancel();
  };
  EXPECT_FALSE(ftp_.Put((dirs_.local / "big.jpg").string(), "big.jpg"));
  EXPECT_FALSE(ftp_.Busy());

  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  ftp_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    if (sent > 512 * 1024) ftp_.Drop();
  };
  EXPECT_FALSE(ftp_.Put((dirs_.local / "big.jpg").string(), "big.jpg"));
  EXPECT_FALSE(ftp_.Connected());
  // The client is usable again afterwards.
  ftp_.OnProgress = nullptr;
  testing::WriteJpegLike(dirs_.local / "small.jpg", 5000, 5);
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  EXPECT_TRUE(ftp_.Put((dirs_.local / "small.jpg").string(), "small.jpg"));
}

TEST_F(FtpClient, AStopWhileConnectingEndsTheConnect) {
  int calls = 0;
  ftp_.OnProgress = [&](std::uint64_t sent, std::uint64_t total) {
    EXPECT_EQ(sent + total, 0u);  // nothing is sent while connecting
    ++calls;
    ftp_.Cancel();
  };
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Cancelled);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(ftp_.Connected());
}

TEST_F(FtpClient, MissingLocalFileFailsWithoutClosingTheConnection) {
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  EXPECT_FALSE(ftp_.Put((dirs_.local / "absent.jpg").string(), "absent.jpg"));
  EXPECT_TRUE(ftp_.Connected());
  ASSERT_EQ(ftp_.Errors().size(), 1u);
  ftp_.ClearErrors();
  EXPECT_TRUE(ftp_.Errors().empty());
}

// The commands each firewall mode sends to the firewall, up to the folder
// change that follows the log-in; the picture then reaches the real server.
struct tfirewallcase {
  tfirewallmode mode;
  std::vector<std::string> (*expected)(const std::string& host);
};

class FtpFirewall : public FtpClient, public ::testing::WithParamInterface<tfirewallcase> {};

TEST_P(FtpFirewall, SendsTheModesCommandsAndDelivers) {
  tftpproxy firewall(server_->Port(), {});
  tftpfirewall fw;
  fw.use = true;
  fw.host = "127.0.0.1";
  fw.port = firewall.Port();
  fw.user = "fwuser";
  fw.password = "fwpass";
  fw.mode = GetParam().mode;
  ftp_.SetFirewall(fw);
  const std::string host = server_->Host();
  ASSERT_EQ(ftp_.Open(host, "user", "pass", "pics"), tftpopenresult::Ok);
  const auto data = testing::WriteJpegLike(dirs_.local / "fw.jpg", 70000, 6);
  ASSERT_TRUE(ftp_.Put((dirs_.local / "fw.jpg").string(), "fw.jpg"));
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "fw.jpg") == data);
  ftp_.Quit();

  auto got = firewall.Commands();
  const auto cwd = std::find(got.begin(), got.end(), "CWD pics");
  ASSERT_NE(cwd, got.end());
  got.erase(cwd, got.end());
  // libcurl asks for the working folder right after its own log-in.
  got.erase(std::remove(got.begin(), got.end(), "PWD"), got.end());
  EXPECT_EQ(got, GetParam().expected(host));
  EXPECT_EQ(firewall.Targets(), std::vector<std::string>{host});
  for (const auto& c : commands_) EXPECT_EQ(c.find("fwpass"), std::string::npos) << c;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FtpFirewall,
    ::testing::Values(
        tfirewallcase{tfirewallmode::Site,
                      [](const std::string& h) {
                        return std::vector<std::string>{"USER fwuser", "PASS fwpass", "SITE " + h,
                                                        "USER user", "PASS pass"};
                      }},
        tfirewallcase{tfirewallmode::Open,
                      [](const std::string& h) {
                        return std::vector<std::string>{"USER fwuser", "PASS fwpass", "OPEN " + h,
                                                        "USER user", "PASS pass"};
                      }},
        tfirewallcase{tfirewallmode::UserLogin,
                      [](const std::string& h) {
                        return std::vector<std::string>{"USER fwuser", "PASS fwpass",
                                                        "USER user@" + h, "PASS pass"};
                      }},
        tfirewallcase{tfirewallmode::UserNoLogin, [](const std::string& h) {
                        return std::vector<std::string>{"USER user@" + h, "PASS pass"};
                      }}),
    // Named by mode: the default name prints the case's bytes, a function pointer among them,
    // so the test's name would change from build to build.
    [](const ::testing::TestParamInfo<tfirewallcase>& info) {
      switch (info.param.mode) {
        case tfirewallmode::Site: return std::string("Site");
        case tfirewallmode::Open: return std::string("Open");
        case tfirewallmode::UserLogin: return std::string("UserLogin");
        case tfirewallmode::UserNoLogin: return std::string("UserNoLogin");
        default: return std::string("Off");
      }
    });

TEST_F(FtpClient, AConnectionThroughTheFirewallThatDroppedIsOpenedAgainNotSentToTheFirewall) {
  tftpproxy firewall(server_->Port(), {});
  ftp_.SetFirewall({true, "127.0.0.1", firewall.Port(), "fwuser", "fwpass", tfirewallmode::Site});
  ASSERT_EQ(ftp_.Open(server_->Host(), "user", "pass", "pics"), tftpopenresult::Ok);
  const auto one = testing::WriteJpegLike(dirs_.local / "one.jpg", 3000, 7);
  ASSERT_TRUE(ftp_.Put((dirs_.local / "one.jpg").string(), "one.jpg"));
  firewall.DropClient();
  const auto two = testing::WriteJpegLike(dirs_.local / "two.jpg", 4000, 8);
  ASSERT_TRUE(ftp_.Put((dirs_.local / "two.jpg").string(), "two.jpg"));
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "two.jpg") == two);
  EXPECT_EQ(firewall.Connections(), 2);
  const auto got = firewall.Commands();
  EXPECT_EQ(std::count(got.begin(), got.end(), "SITE " + server_->Host()), 2);
}

TEST_F(FtpClient, FirewallOffOrUnusedConnectsStraightToTheServer) {
  tftpproxy firewall(server_->Port(), {});
  tftpfirewall fw;
  fw.use = false;
  fw.host = "127.0.0.1";
  fw.port = firewall.Port();
  fw.mode = tfirewallmode::Site;
  ftp_.SetFirewall(fw);
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "pass", ""), tftpopenresult::Ok);
  fw.use = true;
  fw.mode = tfirewallmode::Off;
  ftp_.SetFirewall(fw);
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "pass", ""), tftpopenresult::Ok);
  EXPECT_EQ(firewall.Connections(), 0);
}

TEST_F(FtpClient, FirewallRefusingItsLoginIsALoginFailure) {
  tftpproxy firewall(server_->Port(), {});
  tftpfirewall fw{true, "127.0.0.1", firewall.Port(), "fwuser", "wrong", tfirewallmode::Site};
  ftp_.SetFirewall(fw);
  EXPECT_EQ(ftp_.Open(server_->Host(), "user", "pass", ""), tftpopenresult::LoginFailed);
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

// "ftps://" means TLS with the certificate checked: a server whose
// certificate the system does not trust is refused before any log-in.
TEST(FtpTls, AnUntrustedCertificateIsRefused) {
  testing::ttempdirs dirs;
  const auto pem = dirs.base / "server.pem";
  const std::string keys = (dirs.base / "key.pem").string(),
                    cert = (dirs.base / "cert.pem").string();
  ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                         "-keyout " +
                         keys + " -out " + cert + " 2>/dev/null && cat " + keys + " " + cert +
                         " > " + pem.string())
                            .c_str()),
            0);
  const auto script = dirs.base / "tlsserver.py";
  std::ofstream(script) << "import logging, sys\n"
                           "from pyftpdlib.authorizers import DummyAuthorizer\n"
                           "from pyftpdlib.handlers import TLS_FTPHandler\n"
                           "from pyftpdlib.servers import FTPServer\n"
                           "logging.basicConfig(level=logging.INFO)\n"
                           "a = DummyAuthorizer()\n"
                           "a.add_user('user', 'pass', sys.argv[2], perm='elradfmwMT')\n"
                           "TLS_FTPHandler.certfile = '"
                        << pem.string()
                        << "'\n"
                           "TLS_FTPHandler.authorizer = a\n"
                           "TLS_FTPHandler.tls_control_required = True\n"
                           "FTPServer(('127.0.0.1', int(sys.argv[1])), TLS_FTPHandler)"
                           ".serve_forever()\n";
  tpyftpserver server(tpyftpserver::tscript{script.string()}, dirs.server.string());
  TFTP ftp;
  std::vector<std::string> commands;
  ftp.OnCommand = [&](const std::string& c) { commands.push_back(c); };
  EXPECT_EQ(ftp.Open("ftps://" + server.Host(), "user", "pass", ""), tftpopenresult::ConnectFailed);
  ASSERT_FALSE(ftp.Errors().empty());
  EXPECT_EQ(ftp.Errors().back().code, 60) << ftp.Errors().back().description;  // peer not verified
  EXPECT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(), "AUTH SSL") << "explicit TLS on the FTP port";
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "PASS ****"), 0);
  // The same server as plain FTP refuses the log-in (it wants TLS).
  EXPECT_EQ(ftp.Open(server.Host(), "user", "pass", ""), tftpopenresult::LoginFailed);
}

}  // namespace
}  // namespace vantlo
