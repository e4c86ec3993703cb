// The FTP dialogs offscreen: "Send Using FTP" against a real pyftpdlib
// server, "Internet Preferences" and "Firewall Parameters" on copies of their
// records, the "FTP Progress" list, and the window's Internet features.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "app/ui/firewallcfg.h"
#include "app/ui/ftpprogress.h"
#include "app/ui/ftpsend.h"
#include "app/ui/ftpwindowview.h"
#include "app/ui/hostsetup.h"
#include "app/ui/internetfeatures.h"
#include "modalcloser.h"
#include "tests/internet/ftptestfiles.h"
#include "tests/internet/pyftpserver.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::tpyftpserver;

std::unique_ptr<tdialupbackend> NoDialUp() { return nullptr; }

class FtpSendDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dirs_.server / "pics");
    server_ = std::make_unique<tpyftpserver>(dirs_.server.string());
    tftpsettings s;
    s.connection = tcontactrecord::kNetworkConnection;
    sender_.SetSettings(s);
    host_.HostName = server_->Host();
    host_.UserName = "user";
    host_.Password = "pass";
    host_.Directory = "pics";
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
      data_.push_back(testing::WriteJpegLike(dirs_.local / name, 40000 + data_.size(),
                                             static_cast<unsigned>(data_.size())));
      files_.push_back((dirs_.local / name).string());
    }
  }
  std::string OnServer(const std::string& name) {
    return testing::ReadAll(dirs_.server / "pics" / name);
  }

  testing::ttempdirs dirs_;
  std::unique_ptr<tpyftpserver> server_;
  tftplog log_;
  TFTPprogress progress_{log_};
  std::vector<std::string> status_;
  tftpwindowview view_{
      nullptr, progress_, {[this](const std::string& t) { status_.push_back(t); }, {}, {}}};
  tdialupconnector dialup_{NoDialUp};
  tftpsender sender_{view_, log_, dialup_};
  HostInformation host_;
  std::vector<std::string> files_, data_;
};

TEST_F(FtpSendDialog, WalksThreeFilesWithSkipAndSendAll) {
  tmodalcloser closer;
  Tftpsend dlg(sender_, files_, host_);
  EXPECT_EQ(dlg.windowTitle(), "Send Using FTP");
  EXPECT_EQ(dlg.HostEdit->text().toStdString(), server_->Host());
  EXPECT_EQ(dlg.UserEdit->text(), "user");
  EXPECT_EQ(dlg.PasswordEdit->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dlg.DirectoryEdit->text(), "pics");
  EXPECT_EQ(dlg.FileGroup->title(), " File #1 of 3 to send ");
  EXPECT_EQ(dlg.LocalFileLabel->text().toStdString(), files_[0]);
  EXPECT_EQ(dlg.RemoteFileEdit->text(), "a.jpg");
  EXPECT_EQ(dlg.CancelButton->text(), "Close");

  dlg.SkipButton->click();
  EXPECT_EQ(dlg.FileGroup->title(), " File #2 of 3 to send ");
  EXPECT_EQ(dlg.RemoteFileEdit->text(), "b.jpg");

  int progressCalls = 0;
  sender_.OnProgress = [&](std::uint64_t, std::uint64_t) {
    ++progressCalls;
    EXPECT_EQ(dlg.CancelButton->text(), "Stop FTP");
    EXPECT_FALSE(dlg.SendAllButton->isEnabled());
    EXPECT_FALSE(dlg.SendThisButton->isEnabled());
    EXPECT_FALSE(dlg.SkipButton->isEnabled());
  };
  dlg.SendAllButton->click();
  EXPECT_GT(progressCalls, 0);
  EXPECT_EQ(dlg.FileGroup->title(), " All files sent ");
  EXPECT_EQ(dlg.StatusLabel->text(), "All files sent");
  EXPECT_FALSE(dlg.SendThisButton->isEnabled());
  EXPECT_FALSE(dlg.SkipButton->isEnabled());
  EXPECT_FALSE(dlg.SendAllButton->isEnabled());
  EXPECT_EQ(dlg.CancelButton->text(), "Close");
  EXPECT_EQ(dlg.UrlLabel->text().toStdString(), "ftp://" + server_->Host() + "/pics/c.jpg;TYPE=I");
  EXPECT_FALSE(fs::exists(dirs_.server / "pics" / "a.jpg"));
  EXPECT_TRUE(OnServer("b.jpg") == data_[1]);
  EXPECT_TRUE(OnServer("c.jpg") == data_[2]);
  EXPECT_TRUE(sender_.Connected());

  dlg.CancelButton->click();  // Close: the connection goes with the dialog
  EXPECT_FALSE(sender_.Connected());
  EXPECT_EQ(status_.back(), "Ready");
  EXPECT_TRUE(closer.texts.isEmpty()) << closer.texts.join("|").toStdString();
  EXPECT_EQ(tpyftpserver::Count(server_->StopAndLog(), "logged in"), 1);
}

TEST_F(FtpSendDialog, SendThisFileTakesTheEditedNameAndReconnectsAfterADrop) {
  Tftpsend dlg(sender_, files_, host_);
  dlg.RemoteFileEdit->setText("renamed.jpg");
  dlg.SendThisButton->click();
  EXPECT_TRUE(OnServer("renamed.jpg") == data_[0]);
  EXPECT_EQ(dlg.FileGroup->title(), " File #2 of 3 to send ");
  sender_.Drop();  // the line went down between two files
  EXPECT_FALSE(sender_.Connected());
  dlg.SendThisButton->click();
  EXPECT_TRUE(OnServer("b.jpg") == data_[1]);
  EXPECT_EQ(dlg.SentFiles().size(), 2u);
  dlg.reject();
  EXPECT_EQ(tpyftpserver::Count(server_->StopAndLog(), "logged in"), 2);
}

TEST_F(FtpSendDialog, StopFtpEndsTheTransferAndStaysOnTheFile) {
  tmodalcloser closer;
  files_[0] = (dirs_.local / "big.jpg").string();
  testing::WriteJpegLike(files_[0], 24 * 1024 * 1024, 9);
  Tftpsend dlg(sender_, files_, host_);
  bool clicked = false;
  sender_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    if (!clicked && sent > 1024 * 1024) {
      clicked = true;
      ASSERT_EQ(dlg.CancelButton->text(), "Stop FTP");
      dlg.CancelButton->click();
    }
  };
  dlg.SendThisButton->click();
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(dlg.Sending());
  EXPECT_EQ(dlg.CurrentFile(), 0);
  EXPECT_EQ(dlg.CancelButton->text(), "Close");
  EXPECT_EQ(dlg.FailedFiles().size(), 1u);
  EXPECT_TRUE(closer.texts.isEmpty()) << closer.texts.join("|").toStdString();

  sender_.OnProgress = nullptr;
  dlg.SkipButton->click();
  dlg.SendThisButton->click();  // the next file goes out after the stop
  EXPECT_TRUE(OnServer("b.jpg") == data_[1]);
}

TEST_F(FtpSendDialog, ClosingWhileSendingStopsAndThenCloses) {
  files_[0] = (dirs_.local / "big.jpg").string();
  testing::WriteJpegLike(files_[0], 24 * 1024 * 1024, 10);
  Tftpsend dlg(sender_, files_, host_);
  dlg.show();
  sender_.OnProgress = [&](std::uint64_t sent, std::uint64_t) {
    if (sent > 1024 * 1024 && dlg.isVisible()) dlg.close();
  };
  dlg.SendAllButton->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(dlg.SentFiles().size(), 0u);  // the run ended with the stop
  EXPECT_FALSE(sender_.Connected());
}

TEST_F(FtpSendDialog, ARefusedLoginIsShownAndTheFileStays) {
  tmodalcloser closer;
  host_.Password = "wrong";
  Tftpsend dlg(sender_, files_, host_);
  dlg.SendAllButton->click();
  EXPECT_EQ(closer.texts, QStringList{"Error logging in to FTP server as user : user"});
  EXPECT_EQ(dlg.CurrentFile(), 0);
  EXPECT_TRUE(dlg.SendThisButton->isEnabled());
}

TEST_F(FtpSendDialog, AnEmptyListHasNothingToSend) {
  Tftpsend dlg(sender_, {}, HostInformation{});
  EXPECT_EQ(dlg.StatusLabel->text(), "There are no files to send");
  EXPECT_FALSE(dlg.SendThisButton->isEnabled());
  EXPECT_FALSE(dlg.SendAllButton->isEnabled());
  EXPECT_EQ(dlg.HostEdit->text(), "");
}

TEST_F(FtpSendDialog, InternetPreferencesReloadsTheHostFields) {
  Tftpsend dlg(sender_, files_, host_);
  dlg.OnInternetPreferences = [] {
    HostInformation h;
    h.HostName = "other.example.com";
    h.UserName = "joe";
    return std::optional<HostInformation>(h);
  };
  dlg.PreferencesButton->click();
  EXPECT_EQ(dlg.HostEdit->text(), "other.example.com");
  EXPECT_EQ(dlg.UserEdit->text(), "joe");
  EXPECT_EQ(dlg.DirectoryEdit->text(), "");
}

struct tinternetrecords {
  tsettingsrecords r;
  twebcamsettings w;
  thostsetuprecords Refs() { return {w, r.ftp, r.extra, r.contact}; }
};

TEST(HostSetup, EditsCopiesAndStoresOnOk) {
  tinternetrecords rec;
  rec.r.contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
  int listed = 0;
  THostsetup dlg(rec.Refs(), [&] {
    ++listed;
    return std::vector<std::string>{"ISP", "Work"};
  });
  EXPECT_EQ(dlg.windowTitle(), "Internet Preferences");
  EXPECT_TRUE(dlg.NetworkButton->isChecked());
  EXPECT_EQ(listed, 0);  // entries only when the dial-up choice is shown
  dlg.DialUpButton->click();
  EXPECT_EQ(listed, 1);
  ASSERT_EQ(dlg.EntryBox->count(), 2);
  dlg.EntryBox->setCurrentIndex(1);
  dlg.ThisUser->click();
  dlg.DialUserEdit->setText("joe");
  dlg.DialPasswordEdit->setText("dialpw");
  EXPECT_EQ(dlg.DialPasswordEdit->echoMode(), QLineEdit::Password);
  dlg.HostEdit->setText("ftp.example.com");
  dlg.DirectoryEdit->setText("/pics");
  dlg.UserEdit->setText("u");
  dlg.PasswordEdit->setText("p");
  EXPECT_EQ(dlg.PasswordEdit->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(dlg.DetailLabels[0]->isEnabled());
  dlg.UseHostFile->click();
  for (QLabel* l : dlg.DetailLabels) EXPECT_FALSE(l->isEnabled());
  dlg.HostFileEdit->setText("/etc/site.hif");
  dlg.ShowProgress->setChecked(true);
  EXPECT_EQ(rec.r.contact.InternetConnection(), -1);  // nothing stored before OK
  EXPECT_EQ(rec.w.RemoteHost(), "");
  dlg.OkClick();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(rec.r.contact.InternetConnection(), 1);
  EXPECT_EQ(dlg.ChosenEntryName(), "Work");
  EXPECT_TRUE(rec.r.extra.UseThisUsername());
  EXPECT_EQ(rec.r.ftp.DialUser(), "joe");
  EXPECT_EQ(rec.r.ftp.DialPassword(), "dialpw");
  EXPECT_EQ(rec.w.RemoteHost(), "ftp.example.com");
  EXPECT_EQ(rec.w.RemoteDirectory(), "/pics");
  EXPECT_EQ(rec.w.RemoteUser(), "u");
  EXPECT_EQ(rec.w.RemotePassword(), "p");
  EXPECT_TRUE(rec.r.contact.UseHostInfoFile());
  EXPECT_EQ(rec.r.extra.HostInfoFile(), "/etc/site.hif");
  EXPECT_TRUE(rec.r.ftp.ShowFtpProgress());

  // Shown again: the stored choice, the list loaded at once.
  listed = 0;
  THostsetup again(rec.Refs(), [&] {
    ++listed;
    return std::vector<std::string>{"ISP", "Work"};
  });
  EXPECT_TRUE(again.DialUpButton->isChecked());
  EXPECT_EQ(listed, 1);
  EXPECT_EQ(again.EntryBox->currentIndex(), 1);
  // "Use Default ISP Username" clears the stored account.
  again.DefaultIspUser->click();
  again.OkClick();
  EXPECT_FALSE(rec.r.extra.UseThisUsername());
  EXPECT_EQ(rec.r.ftp.DialUser(), "");
  EXPECT_EQ(rec.r.ftp.DialPassword(), "");
}

TEST(HostSetup, DialUpWithoutAnEntryIsStoredAsNetworkAndCancelKeepsAll) {
  tmodalcloser closer;
  tinternetrecords rec;
  rec.r.contact.SetInternetConnection(0);
  const tinternetrecords before = rec;
  {
    THostsetup dlg(rec.Refs(), []() -> std::vector<std::string> {
      throw tdialuperror("Dial-Up Networking Not Correctly Installed -- Cannot run nmcli");
    });
    EXPECT_EQ(closer.texts,
              QStringList{"Dial-Up Networking Not Correctly Installed -- Cannot run nmcli"});
    EXPECT_EQ(dlg.EntryBox->count(), 0);
    dlg.HostEdit->setText("changed");
    dlg.reject();
  }
  EXPECT_EQ(rec.w, before.w);
  EXPECT_EQ(rec.r.contact, before.r.contact);
  THostsetup dlg(rec.Refs(), [] { return std::vector<std::string>{}; });
  EXPECT_TRUE(dlg.DialUpButton->isChecked());
  EXPECT_EQ(dlg.EntryBox->currentIndex(), -1);
  dlg.OkClick();
  EXPECT_EQ(rec.r.contact.InternetConnection(), tcontactrecord::kNetworkConnection);
}

TEST(FirewallCfg, StoresOnOkAndAPortThatIsNoNumberAsZero) {
  tftpconfigrecord ftp;
  ftp.SetFirewallPort(2121);
  Tfirewallcfg dlg(ftp);
  EXPECT_EQ(dlg.windowTitle(), "Firewall Parameters");
  EXPECT_EQ(dlg.PortEdit->text(), "2121");
  ASSERT_EQ(dlg.ModeBox->count(), 5);
  EXPECT_EQ(dlg.ModeBox->itemText(3), "User Login");
  dlg.UseFirewall->setChecked(true);
  dlg.HostEdit->setText("fw.example.com");
  dlg.UserEdit->setText("fwuser");
  dlg.PasswordEdit->setText("fwpass");
  EXPECT_EQ(dlg.PasswordEdit->echoMode(), QLineEdit::Password);
  dlg.PortEdit->setText("abc");
  dlg.ModeBox->setCurrentIndex(2);
  EXPECT_EQ(ftp.FirewallPort(), 2121);  // a copy until OK
  dlg.OkClick();
  EXPECT_TRUE(ftp.UseFirewall());
  EXPECT_EQ(ftp.FirewallHost(), "fw.example.com");
  EXPECT_EQ(ftp.FirewallUser(), "fwuser");
  EXPECT_EQ(ftp.FirewallPassword(), "fwpass");
  EXPECT_EQ(ftp.FirewallPort(), 0);
  EXPECT_EQ(ftp.FirewallMode(), tfirewallmode::Open);

  Tfirewallcfg cancelled(ftp);
  cancelled.PortEdit->setText("21");
  cancelled.reject();
  EXPECT_EQ(ftp.FirewallPort(), 0);
}

TEST(FtpProgressWindow, ListsTheLogAndSavesIt) {
  testing::ttempdirs dirs;
  tftplog log;
  log.Add("before");
  TFTPprogress w(log);
  EXPECT_EQ(w.windowTitle(), "FTP Progress");
  EXPECT_EQ(w.ListBox1->count(), 1);
  log.Add("USER user");
  log.Add("PASS ****");
  EXPECT_EQ(w.ListBox1->count(), 3);
  EXPECT_EQ(w.ListBox1->item(2)->text(), "PASS ****");
  ASSERT_TRUE(w.SaveTo(QString::fromStdString((dirs.local / "ftp.txt").string())));
  EXPECT_EQ(testing::ReadAll(dirs.local / "ftp.txt"), "before\nUSER user\nPASS ****\n");
  log.Clear();
  EXPECT_EQ(w.ListBox1->count(), 0);
  w.show();
  w.CloseButton->click();
  EXPECT_FALSE(w.isVisible());
}

TEST(InternetFeatures, SendPictureUsesTheStoredDetailsAndNoFilesIsSaid) {
  testing::ttempdirs dirs;
  fs::create_directories(dirs.server / "up");
  tpyftpserver server(dirs.server.string());
  tinternetrecords rec;
  rec.r.contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
  rec.w.SetRemoteHost(server.Host());
  rec.w.SetRemoteUser("user");
  rec.w.SetRemotePassword("pass");
  rec.w.SetRemoteDirectory("up");
  std::vector<std::string> status, labels;
  tinternetfeatures internet(
      nullptr, rec.r, rec.w,
      {[&](const std::string& t) { status.push_back(t); },
       [&](const std::string& t) { labels.push_back(t); }, [] { return true; }},
      NoDialUp);
  const auto data = testing::WriteJpegLike(dirs.local / "shot.jpg", 12345, 4);
  const auto r = internet.SendPicture((dirs.local / "shot.jpg").string(), tftpsendkind::Normal);
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_TRUE(testing::ReadAll(dirs.server / "up" / "shot.jpg") == data);
  EXPECT_EQ(status.back(), "Vantlo Active");
  EXPECT_EQ(labels.back(), "ftp://" + server.Host() + "/up/shot.jpg");

  tmodalcloser closer;
  internet.SendFiles({});
  EXPECT_EQ(closer.texts, QStringList{"No files are selected"});
}

}  // namespace
}  // namespace vantlo
