// Every test of this program sees its own empty cache folder
// (XDG_CACHE_HOME), so that the desktop's thumbnail cache of the machine
// running the tests is neither read nor written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class tisolatedcache : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vantlo-disklib-cache-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (::mkdtemp(buf.data()) == nullptr) std::abort();
    path_ = buf.data();
    ::setenv("XDG_CACHE_HOME", path_.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

 private:
  std::string path_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new tisolatedcache);

}  // namespace
