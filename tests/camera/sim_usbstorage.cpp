// The simulated camera's USB storage for webcam mode: the storage unit alone (mount state, the
// key sequences, pictures kept across unmounts, host deletions, delayed toggles, whole files
// only), then the key letters sent by the protocol engine to a running simulated camera.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "picture/jpegimage.h"
#include "simulator/simcamera.h"
#include "simulator/simusbstorage.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using camsim::UsbStorage;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A folder of its own under the system's temp folder, removed with everything in it.
class ttempfolder {
 public:
  ttempfolder() {
    std::string pattern = (fs::temp_directory_path() / "vantlo-usb-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ttempfolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    names.insert(it->path().filename().string());
  return names;
}

void Keys(UsbStorage& usb, const std::string& letters) {
  for (char c : letters) usb.Key(c);
}

// Two small distinct pictures the camera "holds" at start.
std::vector<Bytes> TwoPictures() { return {camsim::UsbPictureJpeg(1), camsim::UsbPictureJpeg(2)}; }

template <typename P>
bool Eventually(P predicate, milliseconds limit = milliseconds(5000)) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    if (predicate()) return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return predicate();
}

// ---- the storage unit ----

TEST(UsbStorage, StartsMountedWithTheCamerasPicturesAndNothingLeftFromBefore) {
  ttempfolder tmp;
  const fs::path dir = tmp.Path() / "drive";
  fs::create_directories(dir / "DCIM" / "100CASIO");
  std::ofstream(dir / "DCIM" / "100CASIO" / "CIMG0042.JPG") << "stale";
  std::ofstream(dir / "DCIM" / "OTHER.TXT") << "stale";

  const auto pictures = TwoPictures();
  UsbStorage usb(dir, pictures);
  EXPECT_TRUE(usb.Mounted());
  EXPECT_EQ(Names(dir / "DCIM"), std::set<std::string>{"100CASIO"});
  EXPECT_EQ(Names(usb.PictureFolder()), (std::set<std::string>{"CIMG0001.JPG", "CIMG0002.JPG"}));
  EXPECT_EQ(ReadBytes(usb.PictureFolder() / "CIMG0001.JPG"), pictures[0]);
  EXPECT_EQ(ReadBytes(usb.PictureFolder() / "CIMG0002.JPG"), pictures[1]);
  EXPECT_EQ(Names(dir), std::set<std::string>{"DCIM"});  // no temporary files left behind

  // A camera with no pictures shows an empty picture folder.
  UsbStorage empty(tmp.Path() / "empty", {});
  EXPECT_TRUE(empty.Mounted());
  EXPECT_TRUE(fs::is_directory(empty.PictureFolder()));
  EXPECT_TRUE(Names(empty.PictureFolder()).empty());
}

TEST(UsbStorage, MmUnmountsRemovingDcimAndMountsWithThePicturesBack) {
  ttempfolder tmp;
  const auto pictures = TwoPictures();
  UsbStorage usb(tmp.Path(), pictures);

  EXPECT_EQ(usb.Key('M'), UsbStorage::KeyEvent::none);
  EXPECT_TRUE(usb.Mounted());  // half a sequence does nothing
  EXPECT_EQ(usb.Key('m'), UsbStorage::KeyEvent::toggle);
  EXPECT_FALSE(usb.Mounted());
  EXPECT_FALSE(fs::exists(tmp.Path() / "DCIM"));
  EXPECT_EQ(usb.RememberedCount(), 2);

  Keys(usb, "Mm");
  EXPECT_TRUE(usb.Mounted());
  EXPECT_EQ(Names(usb.PictureFolder()), (std::set<std::string>{"CIMG0001.JPG", "CIMG0002.JPG"}));
  EXPECT_EQ(ReadBytes(usb.PictureFolder() / "CIMG0002.JPG"), pictures[1]);
  EXPECT_EQ(Names(tmp.Path()), std::set<std::string>{"DCIM"});

  // Unmount removes everything under DCIM, the host's own folders and files too.
  fs::create_directories(tmp.Path() / "DCIM" / "MISC" / "DEEP");
  std::ofstream(tmp.Path() / "DCIM" / "MISC" / "DEEP" / "NOTE.TXT") << "x";
  Keys(usb, "Mm");
  EXPECT_FALSE(fs::exists(tmp.Path() / "DCIM"));
  EXPECT_EQ(usb.RememberedCount(), 2);  // only the picture folder's files stay in the camera
}

TEST(UsbStorage, ShutterTakesTheNextNumberAtOnceWhenMountedOrOnTheNextMount) {
  ttempfolder tmp;
  UsbStorage usb(tmp.Path(), TwoPictures());

  // Mounted: the picture appears at once, one above the highest number present.
  Keys(usb, "AaB");
  EXPECT_EQ(Names(usb.PictureFolder()).size(), 2u);  // not before the release
  EXPECT_EQ(usb.Key('b'), UsbStorage::KeyEvent::shutter);
  EXPECT_TRUE(fs::exists(usb.PictureFolder() / "CIMG0003.JPG"));

  // Numbers follow the highest present, not the count: a gap stays, a host file raises them.
  fs::remove(usb.PictureFolder() / "CIMG0001.JPG");
  std::ofstream(usb.PictureFolder() / "CIMG0007.JPG") << "copied by the host";
  Keys(usb, "AaBb");
  EXPECT_TRUE(fs::exists(usb.PictureFolder() / "CIMG0008.JPG"));

  // Unmounted: nothing appears until the next mount; the number follows the remembered ones.
  Keys(usb, "Mm");
  Keys(usb, "AaBb");
  EXPECT_FALSE(fs::exists(tmp.Path() / "DCIM"));
  EXPECT_EQ(usb.RememberedCount(), 5);
  Keys(usb, "Mm");
  EXPECT_EQ(Names(usb.PictureFolder()),
            (std::set<std::string>{"CIMG0002.JPG", "CIMG0003.JPG", "CIMG0007.JPG", "CIMG0008.JPG",
                                   "CIMG0009.JPG"}));

  // Every picture taken is a whole 640 x 480 JPEG.
  for (const char* name : {"CIMG0003.JPG", "CIMG0009.JPG"}) {
    const Bytes data = ReadBytes(usb.PictureFolder() / name);
    int w = 0, h = 0;
    ASSERT_TRUE(JpegFrameSize(data, w, h)) << name;
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    tbitmap decoded = DecodeJpeg(data, JpegScale::jsEighth);
    EXPECT_EQ(decoded.Width(), 80) << name;
    EXPECT_EQ(decoded.Height(), 60) << name;
  }
  EXPECT_EQ(Names(tmp.Path()), std::set<std::string>{"DCIM"});

  // The camera's own shutter button adds pictures the same way.
  EXPECT_EQ(usb.TakePicture(), 10);
  EXPECT_TRUE(fs::exists(usb.PictureFolder() / "CIMG0010.JPG"));
}

TEST(UsbStorage, FilesTheHostDeletedStayDeletedAcrossUnmountAndMount) {
  ttempfolder tmp;
  UsbStorage usb(tmp.Path(),
                 {camsim::UsbPictureJpeg(1), camsim::UsbPictureJpeg(2), camsim::UsbPictureJpeg(3)});
  fs::remove(usb.PictureFolder() / "CIMG0002.JPG");
  Keys(usb, "Mm");
  EXPECT_EQ(usb.RememberedCount(), 2);
  Keys(usb, "Mm");
  EXPECT_EQ(Names(usb.PictureFolder()), (std::set<std::string>{"CIMG0001.JPG", "CIMG0003.JPG"}));

  // The host empties the camera: after a toggle pair it stays empty, and numbering restarts.
  for (const auto& name : Names(usb.PictureFolder())) fs::remove(usb.PictureFolder() / name);
  Keys(usb, "MmMm");
  EXPECT_TRUE(usb.Mounted());
  EXPECT_TRUE(Names(usb.PictureFolder()).empty());
  Keys(usb, "AaBb");
  EXPECT_EQ(Names(usb.PictureFolder()), std::set<std::string>{"CIMG0001.JPG"});
}

TEST(UsbStorage, LettersOutOfOrderTakeNoPictureAndToggleNothing) {
  ttempfolder tmp;
  UsbStorage usb(tmp.Path(), {});
  for (const char* letters :
       {"ABab", "aAbB", "AabB", "AaBB", "mM", "MxM", "Ma", "A", "Aa", "AaB"}) {
    for (const char* p = letters; *p; ++p)
      EXPECT_NE(usb.Key(*p), UsbStorage::KeyEvent::shutter) << letters;
    // A lone "x" ends whatever was under way, so the next string starts afresh.
    EXPECT_EQ(usb.Key('x'), UsbStorage::KeyEvent::none);
  }
  EXPECT_TRUE(usb.Mounted());
  EXPECT_TRUE(Names(usb.PictureFolder()).empty());

  // A start letter out of place starts a new sequence: "A a" then "A a B b" is one picture,
  // and a shutter left half done gives way to "M m".
  Keys(usb, "AaAaBb");
  EXPECT_EQ(Names(usb.PictureFolder()), std::set<std::string>{"CIMG0001.JPG"});
  Keys(usb, "AaBMm");
  EXPECT_FALSE(usb.Mounted());
  EXPECT_EQ(usb.RememberedCount(), 1);
}

TEST(UsbStorage, ToggleWaitsForTheDelay) {
  ttempfolder tmp;
  UsbStorage usb(tmp.Path(), TwoPictures(), 200);
  const auto t0 = Clock::now();
  usb.Key('M', t0);
  EXPECT_EQ(usb.Key('m', t0), UsbStorage::KeyEvent::toggle);
  EXPECT_TRUE(usb.Mounted());
  EXPECT_EQ(usb.PendingToggles(), 1);
  usb.Poll(t0 + milliseconds(199));
  EXPECT_TRUE(usb.Mounted());
  EXPECT_TRUE(fs::exists(usb.PictureFolder()));
  usb.Poll(t0 + milliseconds(200));
  EXPECT_FALSE(usb.Mounted());
  EXPECT_FALSE(fs::exists(tmp.Path() / "DCIM"));

  // Two toggles queued take effect in turn, each at its own time.
  usb.Key('M', t0 + milliseconds(300));
  usb.Key('m', t0 + milliseconds(300));
  usb.Key('M', t0 + milliseconds(400));
  usb.Key('m', t0 + milliseconds(400));
  EXPECT_EQ(usb.PendingToggles(), 2);
  usb.Poll(t0 + milliseconds(550));
  EXPECT_TRUE(usb.Mounted());
  EXPECT_EQ(Names(usb.PictureFolder()).size(), 2u);
  usb.Poll(t0 + milliseconds(600));
  EXPECT_FALSE(usb.Mounted());
  EXPECT_EQ(usb.PendingToggles(), 0);
}

// ---- through the simulated camera and the protocol engine ----

class tusbcamera {
 public:
  explicit tusbcamera(camsim::Options options)
      : camera(std::move(options)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter) {}
  ~tusbcamera() { camera.Stop(); }

  camsim::SimulatedCamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine;
};

camsim::Options UsbOptions(const fs::path& dir, camsim::Family family) {
  camsim::Options o;
  o.family = family;
  o.count = 2;
  o.usbStorageDir = dir.string();
  return o;
}

TEST(SimUsbStorage, KeyLettersFromTheEngineUnmountMountAndTakePictures) {
  for (auto family : {camsim::Family::classic, camsim::Family::filesystem}) {
    SCOPED_TRACE(static_cast<int>(family));
    ttempfolder tmp;
    tusbcamera f(UsbOptions(tmp.Path(), family));
    const fs::path folder = tmp.Path() / "DCIM" / "100CASIO";
    EXPECT_EQ(Names(folder), (std::set<std::string>{"CIMG0001.JPG", "CIMG0002.JPG"}));

    f.engine.SendRaw("M");
    f.engine.SendRaw("m");
    EXPECT_TRUE(Eventually([&] { return !fs::exists(tmp.Path() / "DCIM"); }));
    // The camera still talks its protocol after the raw letters.
    EXPECT_EQ(f.engine.GetPictureCount(), 2);

    for (const char* key : {"A", "a", "B", "b"}) f.engine.SendRaw(key);
    // The letters came before the count's enquiry, so the camera has taken the picture by then.
    EXPECT_EQ(f.engine.GetPictureCount(), 3);
    EXPECT_FALSE(fs::exists(tmp.Path() / "DCIM"));

    f.engine.SendRaw("M");
    f.engine.SendRaw("m");
    EXPECT_TRUE(Eventually([&] { return fs::exists(folder / "CIMG0003.JPG"); }));
    EXPECT_EQ(Names(folder),
              (std::set<std::string>{"CIMG0001.JPG", "CIMG0002.JPG", "CIMG0003.JPG"}));
    int w = 0, h = 0;
    EXPECT_TRUE(JpegFrameSize(ReadBytes(folder / "CIMG0003.JPG"), w, h));
    EXPECT_EQ(f.engine.GetPictureCount(), 3);
  }
}

TEST(SimUsbStorage, KeysAreHeardAt9600WhileTheLinkRunsFaster) {
  ttempfolder tmp;
  tusbcamera f(UsbOptions(tmp.Path(), camsim::Family::extended));
  f.engine.ApplySpeed(12);
  ASSERT_TRUE(Eventually([&] { return f.camera.BaudRate() == 115200; }));
  f.engine.SendRaw("M");
  f.engine.SendRaw("m");
  EXPECT_TRUE(Eventually([&] { return !fs::exists(tmp.Path() / "DCIM"); }));
}

TEST(SimUsbStorage, DelayedMountAndCameraWithoutUsbStorageIgnoresTheLetters) {
  ttempfolder tmp;
  {
    camsim::Options o = UsbOptions(tmp.Path() / "delayed", camsim::Family::classic);
    o.usbDelayMs = 300;
    tusbcamera f(o);
    f.engine.SendRaw("M");
    f.engine.SendRaw("m");
    EXPECT_TRUE(Eventually([&] { return !fs::exists(tmp.Path() / "delayed" / "DCIM"); }));
  }
  camsim::Options plain;
  plain.count = 2;
  tusbcamera f(plain);
  for (const char* key : {"M", "m", "A", "a", "B", "b"}) f.engine.SendRaw(key);
  EXPECT_EQ(f.engine.GetPictureCount(), 2);
  EXPECT_EQ(f.camera.PictureCount(), 2);
}

}  // namespace
}  // namespace vantlo
