// vantlo-cli and vantlo-camsim run as programs: a fixture with its own folder and settings
// folder, the program's exit status and output, and the stored settings the commands read.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "library/records.h"
#include "library/regconfig.h"

namespace vantlo::testing {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vantlo_cli_test_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // The tool reads its stored settings from here, never from the user's own.
    ::setenv("VANTLO_CONFIG_DIR", (dir_ / "config").c_str(), 1);
  }

  // Stored settings for the fetch commands: names "shot" + number in OUT, no daily folder, no
  // caption, normal orientation, no correction; `change` adjusts them further.
  template <typename F>
  void StoreSettings(F change) {
    tregconfig store((dir_ / "config").string());
    tsettingsrecords records;
    store.ReadAll(records);
    records.config.SetNameByDate(false);
    records.config.SetPrefix("shot");
    records.config.SetDailyFolder(false);
    records.config.SetConfirmOverwrite(true);
    tcaptionrecord caption = records.capdata.Caption(tcaptionkind::Interactive);
    caption.SetMode(tcaptionmode::None);
    records.capdata.SetCaption(tcaptionkind::Interactive, caption);
    records.ftp.SetOrientation(torientation::Normal);
    records.extra.SetColourMode(tcolourmode::Off);
    change(records);
    ASSERT_TRUE(store.WriteAll(records).empty());
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& program, const std::string& args) {
    std::string cmd = "'" + program + "' " + args + " >'" + (dir_ / "out").string() + "' 2>'" +
                      (dir_ / "err").string() + "' </dev/null";
    int raw = std::system(cmd.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir_ / "out");
    r.err = Slurp(dir_ / "err");
    return r;
  }
  Result Cli(const std::string& args) { return Run(VANTLO_CLI_PATH, args); }
  // The tool with files limited to `kib` KiB: a write beyond fails part-way (EFBIG), as on a
  // full disk, without the signal that would end the program.
  Result CliWithFileLimit(int kib, const std::string& args) {
    const std::string cmd = "(trap '' XFSZ; ulimit -f " + std::to_string(kib) + "; exec '" +
                            VANTLO_CLI_PATH + "' " + args + ") >'" + (dir_ / "out").string() +
                            "' 2>'" + (dir_ / "err").string() + "' </dev/null";
    const int raw = std::system(cmd.c_str());
    Result r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir_ / "out");
    r.err = Slurp(dir_ / "err");
    return r;
  }
  // Names in `dir` (no temporary files may be left behind).
  static std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

}  // namespace vantlo::testing
