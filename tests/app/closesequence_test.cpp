#include "app/closesequence.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <stdexcept>

#include "app/createdfolders.h"

namespace vantlo {
namespace {

struct tfakehost : tclosehost {
  std::vector<std::string> log;
  std::set<std::string> failing;
  bool usb = false;
  bool resetThrows = false;
  std::vector<std::string> reported;
  std::function<bool()> pump = [] { return true; };
  tstoprequest* stop = nullptr;
  bool stopSeenAtDisk = false;

  void StopDiskThumbnails() override {
    stopSeenAtDisk = stop && stop->IsSet();
    log.push_back("stopdisk");
  }
  void FreeDialUp() override { throw std::runtime_error("dial-up"); }
  bool PumpWhileLoopsRun() override {
    log.push_back("pump");
    return pump();
  }
  void SaveWebcamSettings() override { log.push_back("webcam"); }
  void CollectSettings() override { log.push_back("collect"); }
  void WriteRecord(const std::string& n) override {
    log.push_back("write " + n);
    if (failing.count(n)) throw std::runtime_error("disk full");
  }
  void HandlePrinterBuffer() override { log.push_back("printer"); }
  void RemoveOutputFolder() override { log.push_back("rmdir"); }
  void FreePrinter() override { log.push_back("freeprinter"); }
  void ShowClosingStatus(const std::string& t) override { log.push_back("status" + t); }
  bool CameraOnUsbPath() override { return usb; }
  void ResetCamera() override {
    log.push_back("reset");
    if (resetThrows) throw std::runtime_error("no camera");
  }
  void FreeEngine() override { log.push_back("freeengine"); }
  void FreeRest() override { log.push_back("freerest"); }
  void ReportWriteFailures(const std::vector<std::string>& f) override { reported = f; }
};

TEST(CloseSequence, StepsRunInOrder) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  tfakehost host;
  host.stop = &stop;
  host.resetThrows = true;  // ignored
  const auto r = tclosesequence(busy, stop).Run(host);
  const std::vector<std::string> expected = {"stopdisk",
                                             "webcam",
                                             "collect",
                                             "write CONFIGD5",
                                             "write CAPDATA",
                                             "write FTPCONFIG",
                                             "write AUTOCAPTURE",
                                             "write EXTRA",
                                             "write DISKMAN",
                                             "write CONTACTD5",
                                             "printer",
                                             "rmdir",
                                             "freeprinter",
                                             "status Resetting camera",
                                             "reset",
                                             "freeengine",
                                             "freerest"};
  EXPECT_EQ(host.log, expected);
  EXPECT_TRUE(host.stopSeenAtDisk);
  EXPECT_TRUE(r.writeFailures.empty());
  EXPECT_TRUE(host.reported.empty());
}

TEST(CloseSequence, FailedWritesDoNotStopOthersOrTheResetAndAreReportedTogether) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  tfakehost host;
  host.failing = {"CONFIGD5", "DISKMAN"};
  const auto r = tclosesequence(busy, stop).Run(host);
  int writes = 0;
  for (const auto& l : host.log) writes += l.rfind("write ", 0) == 0;
  EXPECT_EQ(writes, 7);
  EXPECT_NE(std::find(host.log.begin(), host.log.end(), "reset"), host.log.end());
  ASSERT_EQ(r.writeFailures.size(), 2u);
  EXPECT_EQ(r.writeFailures[0], "CONFIGD5: disk full");
  EXPECT_EQ(r.writeFailures[1], "DISKMAN: disk full");
  EXPECT_EQ(host.reported, r.writeFailures);
}

TEST(CloseSequence, UsbPathSkipsTheReset) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  tfakehost host;
  host.usb = true;
  tclosesequence(busy, stop).Run(host);
  EXPECT_EQ(std::find(host.log.begin(), host.log.end(), "reset"), host.log.end());
  EXPECT_NE(std::find(host.log.begin(), host.log.end(), "freeengine"), host.log.end());
}

TEST(CloseSequence, WaitsForDiskLoopsBeforeSavingAndFreeing) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  // Only D and S are held: closing is allowed ...
  busy.BusyControl(tbusyregister::kDiskThumbnails);
  busy.BusyControl(tbusyregister::kDiskList);
  EXPECT_TRUE(MayClose(busy));
  // ... but the close waits until both loops have seen the stop and ended.
  tfakehost host;
  int rounds = 0;
  host.pump = [&] {
    ++rounds;
    EXPECT_TRUE(stop.IsSet());
    if (rounds == 2) busy.BusyControl(tbusyregister::kDiskThumbnails + 1);
    if (rounds == 3) busy.BusyControl(tbusyregister::kDiskList + 1);
    return true;
  };
  const auto r = tclosesequence(busy, stop).Run(host);
  EXPECT_TRUE(r.loopsStopped);
  EXPECT_EQ(rounds, 3);
  auto pumpEnd = std::find(host.log.rbegin(), host.log.rend(), "pump");
  auto firstWrite = std::find(host.log.begin(), host.log.end(), "write CONFIGD5");
  EXPECT_LT(std::distance(host.log.begin(), pumpEnd.base()),
            std::distance(host.log.begin(), firstWrite));
}

TEST(CloseSequence, GivingUpTheWaitStillClosesInOrder) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  busy.BusyControl(tbusyregister::kDiskList);
  tfakehost host;
  host.pump = [] { return false; };
  const auto r = tclosesequence(busy, stop).Run(host);
  EXPECT_FALSE(r.loopsStopped);
  EXPECT_EQ(host.log.back(), "freerest");
}

TEST(CloseQuery, TaskSlotsBlockClosing) {
  tstoprequest stop;
  tbusyregister busy(stop, nullptr);
  busy.BusyControl(tbusyregister::kThumbnails);
  EXPECT_FALSE(MayClose(busy));
  busy.BusyControl(tbusyregister::kThumbnails + 1);
  EXPECT_TRUE(MayClose(busy));
}

TEST(CreatedFolders, OnlyEmptyFoldersThisRunCreatedAreRemoved) {
  QTemporaryDir root;
  QDir d(root.path());
  d.mkpath("chosen");
  d.mkpath("daily_empty");
  d.mkpath("daily_used");
  QFile f(d.filePath("daily_used/a.jpg"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  tcreatedfolders created;
  created.NoteCreated(d.filePath("daily_empty").toStdString() + "/");
  created.NoteCreated(d.filePath("daily_used").toStdString());
  EXPECT_TRUE(created.WasCreated(d.filePath("daily_empty").toStdString()));
  EXPECT_EQ(created.RemoveEmpty(), 1);
  EXPECT_FALSE(d.exists("daily_empty"));
  EXPECT_TRUE(d.exists("daily_used"));
  EXPECT_TRUE(d.exists("chosen"));  // never noted, never removed, though empty
}

}  // namespace
}  // namespace vantlo
