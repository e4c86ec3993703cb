// Commands that change the camera: delete, delete-all, take, reset, off.
#include <cstdio>

#include "tools/cli/commands.h"

namespace vantlo::cli {

namespace {

constexpr const char* kNoSerialDelete =
    "It is not possible to delete pictures from this camera using the serial link";

// Deleting from a file-system camera over the serial link is not possible; the engine sends
// nothing, so say so instead of reporting success.
bool RefuseFileSystemDelete(CameraSession& session) {
  if (session.FamilyName() != "filesystem") return false;
  std::fprintf(stderr, "%s\n", kNoSerialDelete);
  return true;
}

}  // namespace

int RunDelete(CameraSession& session, const Arguments& args) {
  ExpectArguments("delete", args, 1);
  int n = ParseNumber(args[0], "picture number", 0, 65535);
  tqvProtocolEngine& engine = session.Engine();
  if (RefuseFileSystemDelete(session)) return 1;
  engine.CheckBattery();
  if (n < 1 || n > engine.GetPictureCount()) throw tqvbadpicnum();
  engine.DeletePicture(n);
  std::printf("deleted picture %d; pictures: %d\n", n, engine.GetPictureCount());
  return 0;
}

int RunDeleteAll(CameraSession& session, const Arguments& args) {
  ExpectArguments("delete-all", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  if (RefuseFileSystemDelete(session)) return 1;
  engine.CheckBattery();
  engine.DeleteAllPictures();
  std::printf("pictures: %d\n", engine.GetPictureCount());
  return 0;
}

int RunTake(CameraSession& session, const Arguments& args) {
  ExpectArguments("take", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  engine.CheckBattery();
  engine.TakePicture();
  std::printf("pictures: %d\n", engine.GetPictureCount());
  return 0;
}

int RunReset(CameraSession& session, const Arguments& args) {
  ExpectArguments("reset", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  if (!engine.CheckCamera()) throw tqvnotconnected();
  engine.ResetCamera();
  std::printf("camera reset\n");
  return 0;
}

int RunOff(CameraSession& session, const Arguments& args) {
  ExpectArguments("off", args, 0);
  tqvProtocolEngine& engine = session.Engine();
  if (!engine.CheckCamera()) throw tqvnotconnected();
  engine.PowerOff();
  std::printf("camera switched off\n");
  return 0;
}

}  // namespace vantlo::cli
