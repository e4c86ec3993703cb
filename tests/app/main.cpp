#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Every test runs with its own settings folder, so no test reads or writes
// the user's settings.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configDir;
  qputenv("VANTLO_CONFIG_DIR", configDir.path().toUtf8());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
