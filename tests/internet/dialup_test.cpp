// Dial-up rules against the fake NetworkManager, and the nmcli backend
// against a stand-in nmcli program on PATH.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakedialup.h"
#include "ftptestfiles.h"
#include "internet/dialupconnect.h"

namespace vantlo {
namespace {

using testing::tfakedialreport;
using testing::tfakenetwork;

class DialUp : public ::testing::Test {
 protected:
  DialUp() : connector_(net_.Factory()) {
    net_.entries = {{"Work VPN", "uuid-vpn", "vpn"}, {"ISP", "uuid-isp", "gsm"}};
  }
  // The entries are listed by name: "ISP" is 0, "Work VPN" 1.
  tdialupchoice Choice(int index, bool progress = true) {
    tdialupchoice c;
    c.entryIndex = index;
    c.showProgress = progress;
    return c;
  }
  std::string Raised(const tdialupchoice& c) {
    try {
      connector_.EnsureUp(c, report_);
    } catch (const tdialuperror& e) {
      return e.what();
    }
    return "";
  }
  tfakenetwork net_;
  tdialupconnector connector_;
  tfakedialreport report_;
};

TEST_F(DialUp, DialsTheEntryAndHangsUpOnlyWhatItDialled) {
  net_.SetActive("uuid-vpn", "Work VPN", kDialConnected);  // another connection is up
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  EXPECT_EQ(net_.Count("up ISP"), 1);
  EXPECT_TRUE(connector_.DialledByUs());
  EXPECT_EQ(report_.log, (std::vector<std::string>{"Dialing ISP...", "Dialup connected"}));
  EXPECT_EQ(report_.status, std::vector<std::string>{"Dialing ISP..."});
  connector_.HangUp();
  EXPECT_EQ(net_.Count("down "), 1);
  EXPECT_EQ(net_.Count("down uuid-isp"), 1);
  EXPECT_FALSE(connector_.DialledByUs());
  ASSERT_EQ(net_.active.size(), 1u);
  EXPECT_EQ(net_.active[0].id, "uuid-vpn");
}

TEST_F(DialUp, AConnectionAlreadyUpIsNeitherDialledNorHungUp) {
  net_.SetActive("uuid-isp", "ISP", kDialConnected);
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  EXPECT_EQ(net_.Count("up"), 0);
  EXPECT_FALSE(connector_.DialledByUs());
  connector_.HangUp();
  EXPECT_EQ(net_.Count("down"), 0);
  EXPECT_TRUE(report_.waits.empty());
}

TEST_F(DialUp, AnEntryIndexPastTheListIsNotFound) {
  for (bool progress : {true, false})
    EXPECT_EQ(Raised(Choice(2, progress)), "Cannot find dial-up networking address entry");
  EXPECT_EQ(net_.Count("up"), 0);
}

TEST_F(DialUp, AStoredIndexFollowsTheEntryNameWhenTheListChanged) {
  tdialupchoice c = Choice(0);
  c.entryName = "ISP";
  net_.entries.push_back({"Added Earlier", "uuid-new", "pppoe"});  // now index 0
  ASSERT_TRUE(connector_.EnsureUp(c, report_));
  EXPECT_EQ(net_.Count("up ISP"), 1);
  EXPECT_EQ(net_.Count("up Added"), 0);
  c.entryName = "Gone";
  EXPECT_EQ(Raised(c), "Cannot find dial-up networking address entry");
}

TEST_F(DialUp, UseThisUsernameHandsTheAccountOverElseTheEntrysOwn) {
  tdialupchoice c = Choice(0);
  c.user = "joe";
  c.password = "pw";
  ASSERT_TRUE(connector_.EnsureUp(c, report_));
  EXPECT_EQ(net_.Count("up ISP  "), 1);  // default ISP user name: both empty
  connector_.HangUp();
  c.useThisUsername = true;
  ASSERT_TRUE(connector_.EnsureUp(c, report_));
  EXPECT_EQ(net_.Count("up ISP joe pw"), 1);
}

TEST_F(DialUp, AFailedDialRaisesWithProgressAndGivesUpQuietlyWithout) {
  net_.activateResult = 4;
  EXPECT_FALSE(connector_.EnsureUp(Choice(0, false), report_));
  EXPECT_EQ(report_.log.back(), "Error dialing ISP");
  EXPECT_EQ(report_.status.back(), "Error dialing ISP...");
  EXPECT_EQ(Raised(Choice(0, true)), "Error dialing connection : ISP");
  EXPECT_FALSE(connector_.DialledByUs());
}

TEST_F(DialUp, AConnectionBeingMadeIsWaitedForThirteenTimes) {
  net_.SetActive("uuid-isp", "ISP", kDialInProgress);
  EXPECT_EQ(Raised(Choice(0, true)), "Error getting connection");
  EXPECT_EQ(report_.waits, std::vector<int>(13, 5000));
  EXPECT_EQ(report_.events, 13);  // the window's messages before each wait
  EXPECT_EQ(report_.log.back(), "Error getting connection");
  EXPECT_EQ(report_.status.front(), "Dial-up connection in progress...");
  EXPECT_EQ(net_.Count("up"), 0);

  report_ = {};
  EXPECT_FALSE(connector_.EnsureUp(Choice(0, false), report_));
  EXPECT_EQ(report_.waits.size(), 13u);
}

TEST_F(DialUp, WaitingEndsWhenTheConnectionComesUpOrEnds) {
  net_.SetActive("uuid-isp", "ISP", kDialInProgress);
  int listings = 0;
  net_.beforeActive = [&](tfakenetwork& n) {
    if (++listings == 3) n.SetActive("uuid-isp", "ISP", kDialConnected);
  };
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  EXPECT_EQ(report_.waits.size(), 2u);
  EXPECT_FALSE(connector_.DialledByUs());  // someone else is dialling it

  report_ = {};
  listings = 0;
  net_.SetActive("uuid-isp", "ISP", kDialInProgress);
  net_.beforeActive = [&](tfakenetwork& n) {
    if (++listings == 2) std::erase_if(n.active, [](auto& c) { return c.id == "uuid-isp"; });
  };
  EXPECT_EQ(Raised(Choice(0, true)), "Error dialing connection");
  EXPECT_EQ(report_.waits.size(), 1u);
}

TEST_F(DialUp, AFailedHangUpIsTriedAgainNextTime) {
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  net_.deactivateResult = 5;
  connector_.HangUp();
  EXPECT_TRUE(connector_.DialledByUs());
  // The next upload finds our connection still up: no new dial, and it is
  // still ours to hang up.
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  EXPECT_EQ(net_.Count("up"), 1);
  EXPECT_TRUE(connector_.DialledByUs());
  net_.deactivateResult = 0;
  connector_.HangUp();
  EXPECT_EQ(net_.Count("down uuid-isp"), 2);
  EXPECT_FALSE(connector_.DialledByUs());
  EXPECT_TRUE(net_.active.empty());
}

TEST_F(DialUp, AConnectionThatWentAwayIsNotHungUp) {
  ASSERT_TRUE(connector_.EnsureUp(Choice(0), report_));
  net_.active.clear();  // the line dropped by itself
  connector_.HangUp();
  EXPECT_EQ(net_.Count("down"), 0);
  EXPECT_FALSE(connector_.DialledByUs());
}

TEST_F(DialUp, NoNetworkManagerIsNotCorrectlyInstalled) {
  net_.installed = false;
  const std::string text = Raised(Choice(0));
  EXPECT_EQ(text.rfind("Dial-Up Networking Not Correctly Installed -- ", 0), 0u) << text;
}

TEST_F(DialUp, EntryNamesAreListedByName) {
  EXPECT_EQ(connector_.EntryNames(), (std::vector<std::string>{"ISP", "Work VPN"}));
  EXPECT_EQ(net_.backendsMade, 1);
  connector_.EntryNames();
  EXPECT_EQ(net_.backendsMade, 1);  // one component for the program's life
}

// The NetworkManager backend runs "nmcli"; a stand-in script on PATH answers
// and records its arguments and the password file it was handed.
class NmcliBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    oldPath_ = path ? path : "";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    hadRuntime_ = runtime != nullptr;
    oldRuntime_ = runtime ? runtime : "";
    record_ = (dirs_.base / "calls").string();
    const auto script = dirs_.local / "nmcli";
    std::ofstream(script)
        << "#!/bin/sh\n"
           "echo \"$*\" >> '"
        << record_
        << "'\n"
           "case \"$*\" in\n"
           "  *passwd-file*) eval last=\\${$#}; cat \"$last\" >> '"
        << record_
        << "' ;;\n"
           "esac\n"
           "case \"$*\" in\n"
           "  *--active*) printf 'ISP:uuid-isp:gsm:ttyUSB2:activating\\n"
           "Wired:uuid-eth:802-3-ethernet:eth0:activated\\n' ;;\n"
           "  *'connection show'*) printf 'Wired:uuid-eth:802-3-ethernet\\n"
           "ISP:uuid-isp:gsm\\nMy\\\\:Net:uuid-x:pppoe\\nlo:uuid-lo:loopback\\n' ;;\n"
           "  *'up uuid bad'*) echo 'Error: Connection activation failed.' >&2; "
           "exit 4 ;;\n"
           "esac\n";
    chmod(script.c_str(), 0755);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    if (hadRuntime_)
      setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }
  void UseStandIn() {
    setenv("PATH", (dirs_.local.string() + ":/usr/bin:/bin").c_str(), 1);
    std::filesystem::create_directories(dirs_.base / "run");
    setenv("XDG_RUNTIME_DIR", (dirs_.base / "run").c_str(), 1);
  }
  testing::ttempdirs dirs_;
  std::string oldPath_, oldRuntime_, record_;
  bool hadRuntime_ = false;
};

TEST_F(NmcliBackend, ReadsTerseOutputAndHandsThePasswordInAFile) {
  UseStandIn();
  auto backend = MakeNetworkManagerBackend();
  std::vector<tdialentry> entries;
  std::string error;
  ASSERT_EQ(backend->Entries(entries, error), 0);
  ASSERT_EQ(entries.size(), 3u);  // the loopback is no entry
  EXPECT_EQ(entries[2].name, "My:Net");
  EXPECT_EQ(entries[2].id, "uuid-x");
  std::vector<tdialconnection> active;
  ASSERT_EQ(backend->ActiveConnections(active, error), 0);
  ASSERT_EQ(active.size(), 2u);
  EXPECT_EQ(active[0].state, kDialInProgress);
  EXPECT_EQ(active[0].deviceName, "ttyUSB2");
  EXPECT_EQ(active[1].state, kDialConnected);
  EXPECT_EQ(backend->Activate(entries[1], "joe", "s3cret", error), 0);
  EXPECT_EQ(backend->Activate({"Bad", "bad", "gsm"}, "", "", error), 4);
  EXPECT_EQ(error, "Error: Connection activation failed.");
  EXPECT_EQ(backend->Deactivate("uuid-isp", error), 0);
  const std::string calls = testing::ReadAll(record_);
  EXPECT_NE(calls.find("-w 90 connection up uuid uuid-isp passwd-file "), std::string::npos);
  EXPECT_NE(calls.find("gsm.password:s3cret\n"), std::string::npos);
  EXPECT_NE(calls.find("connection down uuid uuid-isp"), std::string::npos);
  // The password went only through the file, which is gone.
  EXPECT_TRUE(std::filesystem::is_empty(dirs_.base / "run"));
}

TEST_F(NmcliBackend, WithoutNmcliDialUpIsNotCorrectlyInstalled) {
  setenv("PATH", dirs_.server.c_str(), 1);  // an empty folder
  auto backend = MakeNetworkManagerBackend();
  std::vector<tdialentry> entries;
  std::string error;
  try {
    backend->Entries(entries, error);
    FAIL() << "no error";
  } catch (const tdialuperror& e) {
    EXPECT_EQ(std::string(e.what()),
              "Dial-Up Networking Not Correctly Installed -- Cannot run nmcli (NetworkManager)");
  }
}

}  // namespace
}  // namespace vantlo
