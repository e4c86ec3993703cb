// Commands that read the camera's state: info, list, test.
#include <cstdio>

#include "tools/cli/commands.h"

namespace vantlo::cli {

int RunInfo(CameraSession& session, const Arguments& args) {
  ExpectArguments("info", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  std::string family = session.FamilyName();
  int count = engine.GetPictureCount();
  double volts = engine.GetBatteryVoltage();
  std::printf("family: %s\n", family.c_str());
  std::printf("file system: %s\n", engine.HasFileSystem() ? "yes" : "no");
  std::printf("pictures: %d\n", count);
  std::printf("battery: %.2f V\n", volts);
  return 0;
}

int RunList(CameraSession& session, const Arguments& args) {
  ExpectArguments("list", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  std::string family = session.FamilyName();
  if (family == "filesystem") {
    std::vector<std::string> files;
    engine.ListFiles(files);
    for (size_t i = 0; i < files.size(); ++i) std::printf("%zu %s\n", i + 1, files[i].c_str());
    return 0;
  }
  int count = engine.GetPictureCount();
  for (int n = 1; n <= count; ++n) {
    if (family == "classic")
      std::printf("%d %s\n", n, engine.IsFinePicture(n) ? "Fine Mode" : "Normal Mode");
    else
      std::printf("%d picture\n", n);
  }
  return 0;
}

int RunTest(CameraSession& session, const Arguments& args) {
  ExpectArguments("test", args, 0);
  tqvProtocolEngine& engine = session.EngineUnchecked();
  std::string firstByte;
  int errorCode = 0;
  int status = engine.TestLink(firstByte, errorCode);
  std::printf("%s\n", tqvProtocolEngine::TestLinkText(status).c_str());
  if (status == 2)
    std::printf("port: %s\n", engine.Port().LastErrorText().c_str());
  else if (status != 1 && errorCode != 0)
    std::printf("error code: %d\n", errorCode);
  return status == 1 ? 0 : 1;
}

}  // namespace vantlo::cli
