// The configuration store on real files in a private temporary folder:
// first run, round trips, the fall-backs for damaged files, atomic
// replacement, permissions, the write-all report and the folder choice.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "camera/qv10int.h"
#include "library/regconfig.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ReadFileBytes;
using testing::ttempfolder;
using testing::WriteFileBytes;

const char* const kNames[] = {"CONFIGD5", "FTPCONFIG", "AUTOCAPTURE", "CAPDATA",
                              "EXTRA",    "DISKMAN",   "CONTACTD5"};

template <typename R>
std::vector<unsigned char> BytesOf(const R& r) {
  return {r.Bytes().begin(), r.Bytes().end()};
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// Sets an environment variable for one scope and puts the old value back.
class tscopedenv {
 public:
  tscopedenv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~tscopedenv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(RegConfig, FirstRunGivesTheDefaultImagesAndCreatesAPrivateFolder) {
  ttempfolder tmp;
  const std::string folder = tmp / "cfg/Corvane/Vantlo";
  tregconfig store(folder);
  tsettingsrecords s;
  s.config.SetPrefix("dirty");  // reading must replace what the buffer held
  s.extra.SetBrowseFolder("/somewhere");
  store.ReadAll(s);
  EXPECT_EQ(s.config, tconfigrecord());
  EXPECT_EQ(s.ftp, tftpconfigrecord());
  EXPECT_EQ(s.autocapture, tautocapturerecord());
  EXPECT_EQ(s.capdata, tcapdatarecord());
  EXPECT_EQ(s.extra, textrarecord());
  EXPECT_EQ(s.diskman, tdiskmanrecord());
  EXPECT_EQ(s.contact, tcontactrecord());
  EXPECT_EQ(ModeOf(folder), 0700u);
  EXPECT_EQ(ModeOf(tmp / "cfg/Corvane"), 0700u);
  EXPECT_TRUE(std::filesystem::is_empty(folder));  // nothing written by reading
}

TEST(RegConfig, WriteAllCreatesSevenPrivateFilesOfTheExactSizes) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  tsettingsrecords s;
  EXPECT_TRUE(store.WriteAll(s).empty());
  const std::size_t sizes[] = {2816, 424, 1836, 936, 788, 328, 344};
  for (int i = 0; i < 7; ++i) {
    const std::string path = tmp / kNames[i];
    EXPECT_EQ(std::filesystem::file_size(path), sizes[i]) << kNames[i];
    EXPECT_EQ(ModeOf(path), 0600u) << kNames[i];
  }
  EXPECT_EQ(ReadFileBytes(tmp / "CONFIGD5"), BytesOf(tconfigrecord()));
  EXPECT_EQ(ReadFileBytes(tmp / "CONTACTD5"), BytesOf(tcontactrecord()));
  // Only the seven records: no temporary files left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.Path()), {}), 7);
}

TEST(RegConfig, RecordsWrittenAndReadBackAreIdentical) {
  ttempfolder tmp;
  tsettingsrecords s;
  s.config.SetPort("COM4:");
  s.config.SetSpeedChoice(5);
  s.config.SetSaveFolder("/home/user/Pictures/QV");
  twebcamsettings w = s.config.WebcamSettings();
  w.SetRemotePassword("pa55word");
  s.config.SetWebcamSettings(w);
  s.config.SetLastExit(tdatetime::FromCivil(2026, 12, 7, 21, 0));
  s.ftp.SetDialPassword("dial-secret");
  s.autocapture.SetUsbSource(true);
  tcaptionrecord c;
  c.SetCustomText("<SHORTDATE> #<PICNUM>");
  s.capdata.SetCaption(tcaptionkind::Interactive, c);
  s.extra.SetHostInfoFile("/etc/vantlo/site.hif");
  s.diskman.SetZoomMode(-2);
  s.contact.SetRows(9);
  // A byte no accessor names still travels as held.
  s.ftp.Data()[400] = 0x5A;
  {
    tregconfig store(tmp.Path());
    ASSERT_TRUE(store.WriteAll(s).empty());
  }
  tregconfig again(tmp.Path());
  tsettingsrecords back;
  again.ReadAll(back);
  EXPECT_EQ(back.config, s.config);
  EXPECT_EQ(back.ftp, s.ftp);
  EXPECT_EQ(back.autocapture, s.autocapture);
  EXPECT_EQ(back.capdata, s.capdata);
  EXPECT_EQ(back.extra, s.extra);
  EXPECT_EQ(back.diskman, s.diskman);
  EXPECT_EQ(back.contact, s.contact);
  EXPECT_EQ(back.config.Port(), "COM4:");
  EXPECT_EQ(back.config.WebcamSettings().RemotePassword(), "pa55word");
  EXPECT_EQ(back.config.LastExit().ToCivil().hour, 21);
}

TEST(RegConfig, ReservedBytesOfConfigD5AreWrittenBackAsRead) {
  ttempfolder tmp;
  auto stored = BytesOf(tconfigrecord());
  for (int i = 0; i < 8; ++i) stored[2808 + i] = static_cast<unsigned char>(0xA0 + i);
  WriteFileBytes(tmp / "CONFIGD5", stored);
  tregconfig store(tmp.Path());
  tconfigrecord r;
  store.ReadConfig(r);
  r.SetReserved({});  // the caller's buffer does not decide these bytes
  store.WriteConfig(r);
  EXPECT_EQ(ReadFileBytes(tmp / "CONFIGD5"), stored);
}

TEST(RegConfig, ShortFileKeepsTheDefaultsForTheRest) {
  ttempfolder tmp;
  std::vector<unsigned char> first2000(2000, 0);
  first2000[0] = 5;
  std::memcpy(first2000.data() + 1, "COM6:", 5);
  first2000[20] = 42;  // JPEG quality
  WriteFileBytes(tmp / "CONFIGD5", first2000);
  tregconfig store(tmp.Path());
  tconfigrecord r;
  store.ReadConfig(r);
  EXPECT_EQ(r.Port(), "COM6:");
  EXPECT_EQ(r.JpegQuality(), 42);
  EXPECT_EQ(r.ConfirmOverwrite(), false);  // from the file (byte 284 = 0)
  const tconfigrecord defaults;
  EXPECT_TRUE(
      std::equal(r.Bytes().begin() + 2000, r.Bytes().end(), defaults.Bytes().begin() + 2000));
  EXPECT_EQ(r.MiniLabPictureFile(), "splash.jpg");
}

TEST(RegConfig, EmptyOverLongAndUnusableFilesFallBackToTheDefaultImage) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  tdiskmanrecord r;

  WriteFileBytes(tmp / "DISKMAN", {});
  r.SetShowCam(false);
  store.ReadDiskMan(r);
  EXPECT_EQ(r, tdiskmanrecord());

  WriteFileBytes(tmp / "DISKMAN", std::vector<unsigned char>(400, 0x11));  // larger than 328
  r.SetShowCam(false);
  store.ReadDiskMan(r);
  EXPECT_EQ(r, tdiskmanrecord());

  std::filesystem::remove(tmp / "DISKMAN");
  std::filesystem::create_directory(tmp / "DISKMAN");  // a folder in the file's place
  store.ReadDiskMan(r);
  EXPECT_EQ(r, tdiskmanrecord());
  std::filesystem::remove(tmp / "DISKMAN");

  // A FIFO must not hang the read.
  ASSERT_EQ(::mkfifo((tmp / "EXTRA").c_str(), 0600), 0);
  textrarecord e;
  e.SetBrowseFolder("x");
  store.ReadExtra(e);
  EXPECT_EQ(e, textrarecord());
}

TEST(RegConfig, UnreadableFileFallsBackToTheDefaultImage) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files whatever their mode";
  ttempfolder tmp;
  WriteFileBytes(tmp / "CONTACTD5", std::vector<unsigned char>(344, 0x33));
  ::chmod((tmp / "CONTACTD5").c_str(), 0);
  tregconfig store(tmp.Path());
  tcontactrecord r;
  store.ReadContact(r);
  EXPECT_EQ(r, tcontactrecord());
}

TEST(RegConfig, DamagedStoredValuesReadInRange) {
  ttempfolder tmp;
  auto bytes = BytesOf(tconfigrecord());
  bytes[292] = 255;  // prefix length beyond its 10 characters
  bytes[304] = 200;  // start page that does not exist
  bytes[8] = 0xFF;   // speed choice 255, beyond the six entries
  WriteFileBytes(tmp / "CONFIGD5", bytes);
  tregconfig store(tmp.Path());
  tconfigrecord r;
  store.ReadConfig(r);
  EXPECT_EQ(r.Prefix().size(), 10u);
  EXPECT_FALSE(r.StartPage().has_value());
  EXPECT_EQ(r.SpeedChoice(), 1);  // 9600
  EXPECT_EQ(BaudIndexOfSpeedChoice(r.SpeedChoice()), 6);
}

TEST(RegConfig, LeftoverTemporaryFileDoesNotDisturbTheGoodRecord) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  tftpconfigrecord good;
  good.SetFirewallHost("proxy.example");
  store.WriteFtpConfig(good);
  // A crash between writing the temporary file and renaming it.
  WriteFileBytes(tmp / ".FTPCONFIG.vantlo-ABC123", std::vector<unsigned char>(100, 0xEE));
  tftpconfigrecord back;
  store.ReadFtpConfig(back);
  EXPECT_EQ(back, good);
  // The next write replaces the record as usual.
  good.SetFirewallHost("other.example");
  store.WriteFtpConfig(good);
  store.ReadFtpConfig(back);
  EXPECT_EQ(back.FirewallHost(), "other.example");
}

TEST(RegConfig, FailedWriteLeavesThePreviousFileIntact) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  tcontactrecord first;
  first.SetRows(7);
  store.WriteContact(first);
  const auto before = ReadFileBytes(tmp / "CONTACTD5");
  tcontactrecord second;
  second.SetRows(2);
  if (::geteuid() != 0) {
    ::chmod(tmp.Path().c_str(), 0500);  // no new files in the folder
    EXPECT_THROW(store.WriteContact(second), tregconfigerror);
    ::chmod(tmp.Path().c_str(), 0700);
    EXPECT_EQ(ReadFileBytes(tmp / "CONTACTD5"), before);
  }
  // As any user: the rename onto a non-empty folder fails after the
  // temporary file is complete; the folder and its content stay.
  std::filesystem::create_directories(tmp / "CAPDATA/keep");
  EXPECT_THROW(store.WriteCapData(tcapdatarecord()), tregconfigerror);
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "CAPDATA/keep"));
  EXPECT_EQ(ReadFileBytes(tmp / "CONTACTD5"), before);
  // The failed write cleaned up its temporary file.
  for (const auto& entry : std::filesystem::directory_iterator(tmp.Path())) {
    EXPECT_NE(entry.path().filename().string().rfind(".CAPDATA", 0), 0u) << entry.path();
  }
}

TEST(RegConfig, WriteCutShortPartWayLeavesThePreviousFileIntact) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  tconfigrecord first;
  first.SetSaveFolder("/first");
  store.WriteConfig(first);
  const auto before = ReadFileBytes(tmp / "CONFIGD5");
  // In a child process, a file-size limit of 1000 bytes makes the write of
  // the 2816-byte record stop part-way with EFBIG, as a full disk would.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    tconfigrecord second;
    second.SetSaveFolder("/second");
    try {
      store.WriteConfig(second);
    } catch (const tregconfigerror&) {
      ::_exit(0);  // reported as it should be
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-short write was not reported";
  EXPECT_EQ(ReadFileBytes(tmp / "CONFIGD5"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.Path()), {}), 1);
}

TEST(RegConfig, WriteAllTriesEveryRecordAndReportsTheFailuresTogether) {
  ttempfolder tmp;
  tregconfig store(tmp.Path());
  std::filesystem::create_directories(tmp / "CONFIGD5/x");
  std::filesystem::create_directories(tmp / "DISKMAN/x");
  tsettingsrecords s;
  s.contact.SetColumns(3);
  const auto failures = store.WriteAll(s);
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].record, "CONFIGD5");
  EXPECT_EQ(failures[1].record, "DISKMAN");
  for (const char* name : {"CAPDATA", "FTPCONFIG", "AUTOCAPTURE", "EXTRA", "CONTACTD5"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(tmp / name)) << name;
  }
  tcontactrecord back;
  store.ReadContact(back);
  EXPECT_EQ(back.Columns(), 3);
  const std::string report = tregconfig::DescribeFailures(failures);
  EXPECT_NE(report.find("CONFIGD5: "), std::string::npos);
  EXPECT_NE(report.find("\nDISKMAN: "), std::string::npos);
}

TEST(RegConfig, FolderThatCannotBeMadeFailsWithTheStoreMessage) {
  ttempfolder tmp;
  WriteFileBytes(tmp / "afile", {1});
  tregconfig store(tmp / "afile/sub");
  tconfigrecord r;
  try {
    store.ReadConfig(r);
    FAIL() << "no error";
  } catch (const tregconfigerror& e) {
    EXPECT_STREQ(e.what(), "Registry open key failed");
  }
  EXPECT_EQ(r, tconfigrecord());  // the buffer holds the defaults all the same
  tsettingsrecords s;
  EXPECT_EQ(store.WriteAll(s).size(), 7u);
}

TEST(RegConfig, FolderComesFromTheEnvironment) {
  ttempfolder tmp;
  {
    tscopedenv dir("VANTLO_CONFIG_DIR", tmp / "override");
    tscopedenv xdg("XDG_CONFIG_HOME", tmp / "xdg");
    tregconfig store;
    EXPECT_EQ(store.Folder(), tmp / "override");
    tsettingsrecords s;
    EXPECT_TRUE(store.WriteAll(s).empty());
    EXPECT_TRUE(std::filesystem::exists(tmp / "override/EXTRA"));
  }
  {
    tscopedenv dir("VANTLO_CONFIG_DIR", "");
    tscopedenv xdg("XDG_CONFIG_HOME", tmp / "xdg");
    EXPECT_EQ(tregconfig().Folder(), tmp / "xdg/Corvane/Vantlo");
  }
  {
    tscopedenv dir("VANTLO_CONFIG_DIR", "");
    tscopedenv xdg("XDG_CONFIG_HOME", "relative/path");  // ignored: not absolute
    tscopedenv home("HOME", tmp / "home");
    EXPECT_EQ(tregconfig().Folder(), tmp / "home/.config/Corvane/Vantlo");
  }
}

TEST(RegConfig, DefaultFolderIsMadePrivateEvenWhenItExisted) {
  ttempfolder tmp;
  std::filesystem::create_directories(tmp / "xdg/Corvane/Vantlo");
  ::chmod((tmp / "xdg/Corvane/Vantlo").c_str(), 0755);
  tscopedenv dir("VANTLO_CONFIG_DIR", "");
  tscopedenv xdg("XDG_CONFIG_HOME", tmp / "xdg");
  tregconfig store;
  tcontactrecord r;
  store.WriteContact(r);
  EXPECT_EQ(ModeOf(tmp / "xdg/Corvane/Vantlo"), 0700u);
  EXPECT_EQ(ModeOf(tmp / "xdg/Corvane/Vantlo/CONTACTD5"), 0600u);
}

}  // namespace
}  // namespace vantlo
