// The sending sequence against a real pyftpdlib server: host details from
// the settings or a host information file, the progress log, the error
// report, and dialling first through the fake NetworkManager.
#include "internet/ftpsender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fakedialup.h"
#include "ftptestfiles.h"
#include "pyftpserver.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::tpyftpserver;

struct tfakeview : tftpview {
  std::vector<std::string> status, labels, boxes;
  int shown = 0, hidden = 0, events = 0;
  bool capture = false;
  void StatusLine(const std::string& t) override { status.push_back(t); }
  void StatusLabel(const std::string& t) override { labels.push_back(t); }
  void ShowProgressWindow() override { ++shown; }
  void HideProgressWindow() override { ++hidden; }
  void ErrorBox(const std::string& t) override { boxes.push_back(t); }
  void ProcessEvents() override { ++events; }
  void Wait(int) override {}
  bool CaptureModeRunning() const override { return capture; }
};

bool Has(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

class FtpSending : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dirs_.server / "pics");
    server_ = std::make_unique<tpyftpserver>(dirs_.server.string(), "user", "s3cret-pw");
    settings_.host = server_->Host();
    settings_.user = "user";
    settings_.password = "s3cret-pw";
    settings_.directory = "/pics";
    sender_.SetSettings(settings_);
  }
  void Use(const tftpsettings& s) { sender_.SetSettings(s); }
  std::string Picture(const std::string& name, std::size_t size = 50000, unsigned seed = 1) {
    data_ = testing::WriteJpegLike(dirs_.local / name, size, seed);
    return (dirs_.local / name).string();
  }
  std::string Hif(const std::string& text) {
    const auto path = dirs_.local / "host.hif";
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::string Raised(const std::string& local, tftpsendkind kind = tftpsendkind::Normal) {
    try {
      sender_.SendPictureByFtp(local, kind);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  testing::ttempdirs dirs_;
  std::unique_ptr<tpyftpserver> server_;
  tfakeview view_;
  tftplog log_;
  testing::tfakenetwork net_;
  tdialupconnector dialup_{net_.Factory()};
  tftpsender sender_{view_, log_, dialup_};
  tftpsettings settings_;
  std::string data_;
};

TEST_F(FtpSending, SendsThePictureWithTheStoredDetails) {
  const auto r = sender_.SendPictureByFtp(Picture("DSC00042.JPG"));
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "DSC00042.JPG") == data_);
  EXPECT_EQ(view_.labels,
            (std::vector<std::string>{"Sending picture with FTP",
                                      "ftp://" + server_->Host() + "/pics/DSC00042.JPG"}));
  EXPECT_TRUE(Has(view_.status, "Connecting to FTP server"));
  EXPECT_TRUE(Has(view_.status, "Connected to FTP server"));
  EXPECT_TRUE(Has(view_.status, "FTP Disconnected"));
  EXPECT_EQ(view_.status.back(), "Ready");
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_TRUE(log_.Lines().empty());  // progress is off
  EXPECT_EQ(net_.backendsMade, 0);    // a network connection: no dial-up at all
  EXPECT_EQ(net_.calls.size(), 0u);

  view_.capture = true;
  ASSERT_TRUE(sender_.SendPictureByFtp(Picture("DSC00043.JPG")).Ok());
  EXPECT_EQ(view_.status.back(), "Vantlo Active");
}

TEST_F(FtpSending, TheProgressLogShowsTheStepsButNeverThePassword) {
  settings_.showProgress = true;
  Use(settings_);
  const std::string local = Picture("a.jpg");
  ASSERT_TRUE(sender_.SendPictureByFtp(local).Ok());
  const auto& lines = log_.Lines();
  EXPECT_EQ(lines.front(), "Connecting to FTP server");
  EXPECT_TRUE(Has(lines, "USER user"));
  EXPECT_TRUE(Has(lines, "PASS ****"));
  EXPECT_TRUE(Has(lines, "CWD /pics"));
  EXPECT_TRUE(Has(lines, "PWD"));
  EXPECT_TRUE(Has(lines, "TYPE I"));
  EXPECT_TRUE(Has(lines, "SENDING (local) " + local + " (remote) a.jpg"));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("230", 0) == 0; }));
  for (const auto& l : lines) EXPECT_EQ(l.find("s3cret"), std::string::npos) << l;
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i], lines[i - 1]);
  EXPECT_EQ(view_.shown, 1);
  EXPECT_GE(view_.hidden, 1);
}

TEST_F(FtpSending, ARefusedLoginIsLoggedAndReportedWithTheUserName) {
  settings_.showProgress = true;
  settings_.password = "wrong";
  Use(settings_);
  const auto r = sender_.SendPictureByFtp(Picture("a.jpg"));
  EXPECT_EQ(r.status, tftpsendresult::Failed);
  EXPECT_EQ(r.message, "Error logging in to FTP server as user : user");
  EXPECT_EQ(view_.boxes, std::vector<std::string>{r.message});
  EXPECT_EQ(log_.Lines().front(), "Connecting to FTP server");
  EXPECT_TRUE(Has(log_.Lines(), "USER user"));
  EXPECT_TRUE(std::any_of(log_.Lines().begin(), log_.Lines().end(),
                          [](const std::string& l) { return l.rfind("530", 0) == 0; }));
  EXPECT_FALSE(fs::exists(dirs_.server / "pics" / "a.jpg"));
  // Webcam mode gets the failure passed on.
  EXPECT_EQ(Raised(Picture("b.jpg"), tftpsendkind::Webcam),
            "Error logging in to FTP server as user : user");
}

TEST_F(FtpSending, AMissingRemoteFolderSendsNothingAnywhere) {
  settings_.directory = "nothere";
  Use(settings_);
  const auto r = sender_.SendPictureByFtp(Picture("a.jpg"));
  EXPECT_EQ(r.status, tftpsendresult::Failed);
  EXPECT_EQ(r.message, "Error changing to directory on FTP server : nothere");
  EXPECT_EQ(view_.status.back(), r.message);  // told once, progress off
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_FALSE(fs::exists(dirs_.server / "a.jpg"));
}

TEST_F(FtpSending, AFailedTransferIsReportedNotShownAsSuccess) {
  const std::string local = Picture("big.jpg", 24 * 1024 * 1024, 3);
  sender_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    if (sent > 1024 * 1024) server_->Kill();
  };
  const auto r = sender_.SendPictureByFtp(local);
  EXPECT_EQ(r.status, tftpsendresult::Failed);
  EXPECT_EQ(r.message.rfind("Error sending big.jpg by FTP", 0), 0u) << r.message;
  EXPECT_EQ(view_.status.back(), r.message);
  EXPECT_TRUE(view_.boxes.empty());  // progress off: no boxes
  EXPECT_GT(view_.events, 0);        // the window stayed alive during the upload
}

TEST_F(FtpSending, WithProgressATransferFailureShowsTheErrorReport) {
  settings_.showProgress = true;
  Use(settings_);
  ASSERT_TRUE(sender_.ConnectFtp(server_->Host(), "user", "/pics", "s3cret-pw"));
  EXPECT_FALSE(sender_.PutFile((dirs_.local / "absent.jpg").string(), "absent.jpg"));
  ASSERT_GE(view_.boxes.size(), 5u);
  EXPECT_EQ(view_.boxes[0].rfind("Notified FTP Error: Code ", 0), 0u) << view_.boxes[0];
  EXPECT_NE(view_.boxes[0].find("(from TFTP)"), std::string::npos);
  EXPECT_EQ(view_.boxes[1], "Protocol state is Logged in");
  EXPECT_EQ(view_.boxes[2].rfind("Reply  is ", 0), 0u);
  EXPECT_EQ(view_.boxes[3], "State  is Connected");
  EXPECT_EQ(view_.boxes[4], "There are 0 other errors");
  sender_.DisconnectFtp();
}

TEST_F(FtpSending, HostInformationFileGivesTheDetailsAndTheRemoteName) {
  settings_ = {};
  settings_.useHostInfoFile = true;
  settings_.webcamRemoteFile = "ignored.jpg";
  settings_.hostInfoFile = Hif("! site\r\nHOSTNAME " + server_->Host() +
                               "\r\nUSERNAME user\r\nPASSWORD s3cret-pw\r\n"
                               "DIRECTORY pics\r\nFILENAME sub\\webcam.jpg\r\n");
  Use(settings_);
  const auto r = sender_.SendPictureByFtp(Picture("local.jpg"), tftpsendkind::Webcam);
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_EQ(r.remoteName, "webcam.jpg");
  EXPECT_TRUE(testing::ReadAll(dirs_.server / "pics" / "webcam.jpg") == data_);
}

TEST_F(FtpSending, SendNoInTheFileSuppressesUploadsButNotTheSlideShow) {
  settings_.useHostInfoFile = true;
  settings_.slideShowRemoteName = "show.jpg";
  settings_.hostInfoFile = Hif("HOSTNAME " + server_->Host() +
                               "\nUSERNAME user\nPASSWORD s3cret-pw\nDIRECTORY pics\nSEND N\n");
  Use(settings_);
  EXPECT_EQ(sender_.SendPictureByFtp(Picture("a.jpg")).status, tftpsendresult::NotSent);
  EXPECT_TRUE(view_.status.empty());
  EXPECT_FALSE(fs::exists(dirs_.server / "pics" / "a.jpg"));
  const auto r = sender_.SendPictureByFtp(Picture("slide.jpg"), tftpsendkind::SlideShow);
  ASSERT_TRUE(r.Ok());
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "show.jpg"));
  EXPECT_EQ(view_.labels, std::vector<std::string>{"Sending picture with FTP"});  // no URL
}

TEST_F(FtpSending, ABadHostInformationFileOrMissingDetailsAreRaised) {
  settings_.useHostInfoFile = true;
  settings_.hostInfoFile = Hif("HOSTNAME h\nUSERNAME u\nPORT 21\nPASSWORD p\n");
  Use(settings_);
  EXPECT_EQ(Raised(Picture("a.jpg")),
            "Error loading Host Information File : " + settings_.hostInfoFile);
  EXPECT_EQ(view_.boxes, std::vector<std::string>{"Illegal line in HIF file : PORT 21"});
  settings_.hostInfoFile = Hif("HOSTNAME h\nUSERNAME\nPASSWORD p\n");
  Use(settings_);
  EXPECT_EQ(Raised(Picture("a.jpg")), "No host or username specified");
  settings_.useHostInfoFile = false;
  settings_.host = "";
  Use(settings_);
  EXPECT_EQ(Raised(Picture("a.jpg")), "No host or username specified");
}

TEST_F(FtpSending, TheWebcamRemoteNameIsForWebcamModeOnly) {
  settings_.webcamRemoteFile = "C:\\web\\cam.jpg";
  Use(settings_);
  ASSERT_TRUE(sender_.SendPictureByFtp(Picture("x.jpg"), tftpsendkind::Webcam).Ok());
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "cam.jpg"));
  ASSERT_TRUE(sender_.SendPictureByFtp(Picture("y.jpg")).Ok());
  EXPECT_TRUE(fs::exists(dirs_.server / "pics" / "y.jpg"));
}

TEST_F(FtpSending, DialUpIsDialledFirstAndHungUpAfterwards) {
  net_.entries = {{"ISP", "uuid-isp", "gsm"}};
  settings_.connection = 0;
  settings_.showProgress = true;
  Use(settings_);
  ASSERT_TRUE(sender_.SendPictureByFtp(Picture("a.jpg")).Ok());
  EXPECT_EQ(net_.Count("up ISP"), 1);
  EXPECT_EQ(net_.Count("down uuid-isp"), 1);
  EXPECT_TRUE(Has(log_.Lines(), "Dialing ISP..."));
  EXPECT_TRUE(Has(log_.Lines(), "Dialup connected"));
  EXPECT_TRUE(Has(view_.status, "Hanging up connection"));
  EXPECT_EQ(view_.status.back(), "Ready");

  // A connection someone else made is used and left up.
  net_.SetActive("uuid-isp", "ISP", kDialConnected);
  ASSERT_TRUE(sender_.SendPictureByFtp(Picture("b.jpg")).Ok());
  EXPECT_EQ(net_.Count("up ISP"), 1);
  EXPECT_EQ(net_.Count("down"), 1);
}

TEST_F(FtpSending, AFailedDialEndsTheUploadQuietlyWithoutProgress) {
  net_.entries = {{"ISP", "uuid-isp", "gsm"}};
  net_.activateResult = 4;
  settings_.connection = 0;
  Use(settings_);
  const auto r = sender_.SendPictureByFtp(Picture("a.jpg"));
  EXPECT_EQ(r.status, tftpsendresult::Failed);
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_EQ(view_.status.back(), "Error dialing ISP...");
  EXPECT_FALSE(fs::exists(dirs_.server / "pics" / "a.jpg"));
}

TEST(FtpLog, SkipsEmptyAndRepeatedLinesAndSavesAsText) {
  testing::ttempdirs dirs;
  tftplog log;
  int added = 0;
  log.OnAdded = [&](const std::string&) { ++added; };
  log.Add("a");
  log.Add("a");
  log.Add("");
  log.Add("b");
  log.Add("a");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"a", "b", "a"}));
  EXPECT_EQ(added, 3);
  ASSERT_EQ(log.Save((dirs.local / "log.txt").string()), 0);
  EXPECT_EQ(testing::ReadAll(dirs.local / "log.txt"), "a\nb\na\n");
  EXPECT_NE(log.Save((dirs.local / "missing" / "log.txt").string()), 0);
}

TEST(FtpUrl, DisplayUrlAndHostNames) {
  EXPECT_EQ(DisplayUrl("ftp.example.com", "/pics", "a.jpg"), "ftp://ftp.example.com:21/pics/a.jpg");
  EXPECT_EQ(DisplayUrl("ftp.example.com", "/", "a.jpg"), "ftp://ftp.example.com:21/a.jpg");
  EXPECT_EQ(DisplayUrl("ftp.example.com", "p", "a.jpg"), "ftp://ftp.example.com:21/pa.jpg");
  EXPECT_EQ(DisplayUrl("ftp.example.com", "pics/", "a.jpg"), "ftp://ftp.example.com:21/pics/a.jpg");
  EXPECT_EQ(DisplayUrl("h:2121", "", "a.jpg"), "ftp://h:2121/a.jpg");
  EXPECT_EQ(DisplayUrl("sftp://h", "d", "a.jpg"), "sftp://h:22/da.jpg");
  auto tls = ParseFtpHost("FTPS://secure.example.com/");
  ASSERT_TRUE(tls);
  EXPECT_EQ(tls->scheme, tftpscheme::FtpTls);
  EXPECT_EQ(tls->port, 21);
  EXPECT_EQ(CurlBaseUrl(*tls), "ftp://secure.example.com:21");  // explicit TLS on the FTP port
  auto v6 = ParseFtpHost("[2001:db8::7]:2121");
  ASSERT_TRUE(v6);
  EXPECT_EQ(CurlBaseUrl(*v6), "ftp://[2001:db8::7]:2121");
  for (const char* bad : {"", "http://h", "h:0", "h:99999", "h:x", "a b", "h\r\n", "[::1"})
    EXPECT_FALSE(ParseFtpHost(bad)) << bad;
  EXPECT_EQ(CurlPath(tftpscheme::Ftp, "/my pics", "a b.jpg"), "/%2Fmy%20pics/a%20b.jpg");
  EXPECT_EQ(CurlPath(tftpscheme::Ftp, "", "a.jpg"), "/a.jpg");
  EXPECT_EQ(CurlPath(tftpscheme::Sftp, "pics", "a.jpg"), "/~/pics/a.jpg");
  EXPECT_EQ(CurlPath(tftpscheme::Sftp, "/srv/pics", "a.jpg"), "/srv/pics/a.jpg");
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

TEST(FtpSettings, ComeFromTheirRecords) {
  tsettingsrecords r;
  twebcamsettings w;
  r.ftp.SetShowFtpProgress(true);
  r.ftp.SetUseFirewall(true);
  r.ftp.SetFirewallHost("fw");
  r.ftp.SetFirewallPort(2100);
  r.ftp.SetFirewallUser("fu");
  r.ftp.SetFirewallPassword("fp");
  r.ftp.SetFirewallMode(tfirewallmode::UserLogin);
  r.ftp.SetDialUser("du");
  r.ftp.SetDialPassword("dp");
  w.SetRemoteHost("host");
  w.SetRemoteDirectory("/dir");
  w.SetRemoteUser("u");
  w.SetRemotePassword("p");
  w.SetOutputFile("web.jpg");
  r.contact.SetUseHostInfoFile(true);
  r.contact.SetInternetConnection(2);
  r.extra.SetHostInfoFile("/x.hif");
  r.extra.SetUseThisUsername(true);
  r.capdata.SetSlideShowRemoteName("show.jpg");
  const tftpsettings s = FtpSettingsFrom(r, w);
  EXPECT_TRUE(s.showProgress);
  EXPECT_TRUE(s.firewall.use);
  EXPECT_EQ(s.firewall.host, "fw");
  EXPECT_EQ(s.firewall.port, 2100);
  EXPECT_EQ(s.firewall.user, "fu");
  EXPECT_EQ(s.firewall.password, "fp");
  EXPECT_EQ(s.firewall.mode, tfirewallmode::UserLogin);
  EXPECT_EQ(s.host, "host");
  EXPECT_EQ(s.directory, "/dir");
  EXPECT_EQ(s.user, "u");
  EXPECT_EQ(s.password, "p");
  EXPECT_EQ(s.webcamRemoteFile, "web.jpg");
  EXPECT_TRUE(s.useHostInfoFile);
  EXPECT_EQ(s.hostInfoFile, "/x.hif");
  EXPECT_TRUE(s.DialUp());
  const tdialupchoice c = s.DialChoice();
  EXPECT_EQ(c.entryIndex, 2);
  EXPECT_TRUE(c.useThisUsername);
  EXPECT_EQ(c.user, "du");
  EXPECT_EQ(c.password, "dp");
  EXPECT_TRUE(c.showProgress);
  EXPECT_EQ(s.slideShowRemoteName, "show.jpg");
  r.contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
  EXPECT_FALSE(FtpSettingsFrom(r, w).DialUp());
}

}  // namespace
}  // namespace vantlo
