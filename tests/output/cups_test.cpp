// Printing through a real print service: a private cupsd (its own configuration, spool and
// socket in a temp folder) with a queue as the default destination whose backend stores each
// job as a file; a 2 x 2 page printed through QPrinter must arrive there as a one-page PDF.
// Skipped, with the reason, when cupsd is not installed or cannot start.
//
// The print itself runs in a child process of this test program: the CUPS library reads the
// server's address once per process, so only a fresh process is sure to use the private one.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "output/acprinter.h"
#include "output/qprinterdevice.h"
#include "outputtestutil.h"

extern char** environ;

namespace vantlo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kChildVariable = "VANTLO_CUPS_TEST_CHILD";
constexpr const char* kQueue = "vantlotest";

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::string& log) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e; ++e) envStrings.push_back(*e);
  envStrings.insert(envStrings.end(), env.begin(), env.end());
  std::vector<char*> envp;
  for (auto& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunAndWait(const std::vector<std::string>& argv, const std::vector<std::string>& env,
               const std::string& log) {
  const pid_t pid = Spawn(argv, env, log);
  return pid < 0 ? -1 : Wait(pid);
}

// Polls `ready` until it holds or `seconds` pass; a limit on waiting, not a measured result.
bool WaitFor(const std::function<bool()>& ready, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The private print service: configuration, a backend that stores jobs in `out`, cupsd.
class tprivatecups {
 public:
  explicit tprivatecups(const fs::path& root) : root_(root) {}
  ~tprivatecups() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      Wait(pid_);
    }
  }

  // Empty when it runs; otherwise why not.
  std::string Start() {
    const char* cupsd = "/usr/sbin/cupsd";
    if (access(cupsd, X_OK) != 0) return "cupsd is not installed (package cups)";
    // cupsd's jobs run as the user lp, which must reach the folders.
    for (const char* d : {"", "bin", "bin/backend", "out", "tmp", "log"}) {
      fs::create_directories(root_ / d);
      chmod((root_ / d).c_str(), std::string(d) == "out" || std::string(d) == "tmp" ? 01777 : 0755);
    }
    for (const char* d : {"filter", "daemon", "cgi-bin", "notifier", "monitor"})
      if (fs::exists(fs::path("/usr/lib/cups") / d))
        fs::create_directory_symlink(fs::path("/usr/lib/cups") / d, root_ / "bin" / d);
    const fs::path backend = root_ / "bin/backend/vantlofile";
    WriteText(
        backend,
        "#!/bin/sh\n"
        "[ $# -eq 0 ] && { echo 'direct vantlofile \"Vantlo test\" \"Vantlo test\"'; exit 0; }\n"
        "out='" +
            (root_ / "out").string() +
            "'/job$1.pdf\n"
            "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"$out.part\" && mv \"$out.part\" "
            "\"$out\"\n");
    chmod(backend.c_str(), 0755);
    socket_ = (root_ / "cups.sock").string();
    WriteText(root_ / "cupsd.conf",
              "Listen " + socket_ +
                  "\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                  "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                  "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                  "    Order deny,allow\n  </Limit>\n</Policy>\n");
    const std::string r = root_.string();
    WriteText(root_ / "cups-files.conf",
              "ServerRoot " + r + "\nRequestRoot " + r + "/spool\nTempDir " + r +
                  "/tmp\nCacheDir " + r + "/cache\nStateDir " + r + "/state\nServerBin " + r +
                  "/bin\nDataDir /usr/share/cups\nErrorLog " + r + "/log/error_log\nAccessLog " +
                  r + "/log/access_log\nPageLog " + r + "/log/page_log\nSandboxing Relaxed\n");
    log_ = (root_ / "log/run.log").string();
    pid_ = Spawn({cupsd, "-f", "-c", (root_ / "cupsd.conf").string(), "-s",
                  (root_ / "cups-files.conf").string()},
                 {}, log_);
    if (pid_ < 0) return "cupsd could not be started";
    if (!WaitFor([&] { return fs::exists(socket_) || waitpid(pid_, nullptr, WNOHANG) == pid_; },
                 20) ||
        !fs::exists(socket_))
      return "cupsd did not start: " + ReadText(log_) + ReadText(root_ / "log/error_log");
    if (Admin({"/usr/sbin/lpadmin", "-p", kQueue, "-E", "-v", "vantlofile:/", "-m", "raw"}) != 0 ||
        Admin({"/usr/sbin/lpadmin", "-d", kQueue}) != 0)
      return "the test queue could not be set up: " + ReadText(log_);
    return {};
  }

  int Admin(const std::vector<std::string>& argv) { return RunAndWait(argv, Env(), log_); }
  std::vector<std::string> Env() const { return {"CUPS_SERVER=" + socket_}; }
  fs::path Out() const { return root_ / "out"; }
  const std::string& Log() const { return log_; }

 private:
  fs::path root_;
  std::string socket_;
  std::string log_;
  pid_t pid_ = -1;
};

// The child: prints a 2 x 2 page of four pictures on the default printer.
void PrintPageOnDefaultPrinter() {
  ASSERT_EQ(DefaultPrinterName().value_or(""), kQueue);
  tqprinterdevice device;
  tacprinter printer(&device);
  tprintlayout layout;
  layout.rows = 2;
  layout.columns = 2;
  printer.SetLayout(layout);
  for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue), QColor(Qt::yellow)})
    printer.PrintBitmap(testutil::Solid(90, 60, c), "");
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.JobCounter(), 1);
}

TEST(CupsPrinting, TwoByTwoPageReachesThePrivateQueueAsOnePdfPage) {
  if (std::getenv(kChildVariable)) {
    PrintPageOnDefaultPrinter();
    return;
  }
  int status = 0;
  testutil::Run("pdfinfo -v 2>&1", status);
  if (status != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  QTemporaryDir temp;
  tprivatecups cups(temp.path().toStdString());
  if (const std::string why = cups.Start(); !why.empty()) GTEST_SKIP() << why;

  std::vector<std::string> env = cups.Env();
  env.push_back(std::string(kChildVariable) + "=1");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  const std::string self = fs::canonical("/proc/self/exe").string();
  ASSERT_EQ(RunAndWait({self, "--gtest_filter=CupsPrinting.*"}, env, cups.Log()), 0)
      << ReadText(cups.Log());

  const fs::path job = cups.Out() / "job1.pdf";
  ASSERT_TRUE(WaitFor([&] { return fs::exists(job); }, 60))
      << "no job arrived: " << ReadText(cups.Log());
  EXPECT_EQ(testutil::PdfPages(job.string()), 1);
  const QImage page = testutil::PdfPageImage(job.string(), 1, 30);
  ASSERT_FALSE(page.isNull());
  // A queue without colour prints in grey: every cell holds its picture, none is left white.
  for (int k = 0; k < 4; ++k) {
    const QColor c = page.pixelColor((1 + 2 * (k % 2)) * page.width() / 4,
                                     (1 + 2 * (k / 2)) * page.height() / 4);
    EXPECT_LT(c.lightness(), 235) << "cell " << k + 1;
  }
}

}  // namespace
}  // namespace vantlo
