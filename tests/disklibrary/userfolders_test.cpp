// The user's Pictures folder as the desktop names it: where an empty output folder saves and
// where the Browse page starts.
#include "library/userfolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>

#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteText;

// Sets an environment variable for one test and puts the old value back.
class tenv {
 public:
  tenv(const char* name, const std::string& value) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
    ::setenv(name, value.c_str(), 1);
  }
  ~tenv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserDirs, PicturesLineReadAsTheShellWould) {
  const std::string home = "/home/ann";
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", home),
            "/home/ann/Pictures");
  EXPECT_EQ(PicturesDirFromUserDirs("# written by xdg-user-dirs-update\n"
                                    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                    "XDG_PICTURES_DIR=\"$HOME/Bilder/\"\n",
                                    home),
            "/home/ann/Bilder");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/data/photos\"", home), "/data/photos");
  // The last line wins; relative values and other variables are not taken.
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", home),
            "/b");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"Pictures\"\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOMEPAGE/x\"\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs("#XDG_PICTURES_DIR=\"/commented\"\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs("", home), "");
}

TEST(UserDirs, PicturesFolderFromTheUserDirsFileElseHomePictures) {
  ttempfolder home;
  tenv h("HOME", home.path());
  tenv x("XDG_CONFIG_HOME", home / "cfg");
  EXPECT_EQ(UserHomeFolder(), home.path());
  EXPECT_EQ(UserPicturesFolder(), home / "Pictures");  // no user-dirs.dirs yet

  WriteText(home / "cfg/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n");
  EXPECT_EQ(UserPicturesFolder(), home / "Fotos");
  ASSERT_TRUE(EnsureUserPicturesFolder());  // made when missing
  struct stat st {};
  ASSERT_EQ(::stat((home / "Fotos").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_TRUE(EnsureUserPicturesFolder());  // and left as it is when there

  // A relative XDG_CONFIG_HOME is ignored, as the XDG rules say: ~/.config is read.
  tenv rel("XDG_CONFIG_HOME", "relative/cfg");
  WriteText(home / ".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Photos\"\n");
  EXPECT_EQ(UserPicturesFolder(), home / "Photos");

  // A file in the Pictures folder's place is not a folder.
  WriteText(home / "Photos", "not a folder");
  EXPECT_FALSE(EnsureUserPicturesFolder());
}

}  // namespace
}  // namespace vantlo
