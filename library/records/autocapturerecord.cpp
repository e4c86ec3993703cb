#include "library/records/autocapturerecord.h"

namespace vantlo {

std::string tautocapturerecord::SoundFile(tautocapsound s) const {
  switch (s) {
    case tautocapsound::Connected:
      return Str<1, 255>();
    case tautocapsound::AllCaptured:
      return Str<257, 255>();
    case tautocapsound::Disconnected:
      return Str<513, 255>();
    case tautocapsound::Error:
      return Str<769, 255>();
  }
  return {};
}

void tautocapturerecord::SetSoundFile(tautocapsound s, std::string_view file) {
  switch (s) {
    case tautocapsound::Connected:
      SetStr<1, 255>(file);
      break;
    case tautocapsound::AllCaptured:
      SetStr<257, 255>(file);
      break;
    case tautocapsound::Disconnected:
      SetStr<513, 255>(file);
      break;
    case tautocapsound::Error:
      SetStr<769, 255>(file);
      break;
  }
}

bool tautocapturerecord::PlaySound(tautocapsound s) const {
  switch (s) {
    case tautocapsound::Connected:
      return Bool<1025>();
    case tautocapsound::AllCaptured:
      return Bool<1026>();
    case tautocapsound::Disconnected:
      return Bool<1027>();
    case tautocapsound::Error:
      return Bool<1028>();
  }
  return false;
}

void tautocapturerecord::SetPlaySound(tautocapsound s, bool v) {
  switch (s) {
    case tautocapsound::Connected:
      SetBool<1025>(v);
      break;
    case tautocapsound::AllCaptured:
      SetBool<1026>(v);
      break;
    case tautocapsound::Disconnected:
      SetBool<1027>(v);
      break;
    case tautocapsound::Error:
      SetBool<1028>(v);
      break;
  }
}

int tautocapturerecord::OutputSize() const {
  return recordbytes::IndexOr(I32<1296>(), kOutputSizes, 0);
}

int tautocapturerecord::UsbDrive() const {
  const std::int32_t v = I32<1564>();
  return v >= 0 && v <= kMaxDrive ? v : 0;
}

int tautocapturerecord::ExpandAmount() const {
  return recordbytes::ClampTo<int>(I32<1568>(), 0, 50);
}
void tautocapturerecord::SetExpandAmount(int v) { SetI32<1568>(recordbytes::ClampTo(v, 0, 50)); }
int tautocapturerecord::JpegQuality() const {
  return recordbytes::ClampTo<int>(I32<1572>(), 1, 100);
}
void tautocapturerecord::SetJpegQuality(int v) { SetI32<1572>(recordbytes::ClampTo(v, 1, 100)); }

}  // namespace vantlo
