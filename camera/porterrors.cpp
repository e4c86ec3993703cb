#include "camera/porterrors.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace vantlo {

int PortErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return 0;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return kErrorFileNotFound;
    case EBUSY:
    case EWOULDBLOCK:
      return kErrorAccessDenied;
    case EACCES:
    case EPERM:
    case EROFS:
      return kErrorPermission;
    case EIO:
      return kErrorNotReady;
    default:
      return kErrorSystemBit | (err & 0xFFFF);
  }
}

std::string PortErrorText(int code) {
  switch (code) {
    case 0:
      return "No Error";
    case 2:
      return "Port not found (2)";
    case 3:
      return "Port not found (3)";
    case 5:
      return "Already Open";
    case 6:
      return "Port not found (6)";
    case 21:
      return "Port not ready (21)";
    case 31:
      return "Port not found (31)";
    case kErrorPermission:
      return "Permission denied: your user must be a member of the group that owns the serial "
             "device (usually dialout)";
    default:
      if ((code & kErrorSystemBit) != 0 && (code & ~kErrorSystemBit) > 0)
        return std::strerror(code & ~kErrorSystemBit);
      return "Win32 code " + std::to_string(code);
  }
}

std::string PermissionErrorText(const std::string& device) {
  std::string owner = "dialout";
  struct stat st {};
  if (stat(device.c_str(), &st) == 0) {
    if (const struct group* g = getgrgid(st.st_gid); g != nullptr && g->gr_name != nullptr) {
      owner = g->gr_name;
    }
  }
  return "Permission denied on " + device + ": add your user to the group '" + owner +
         "' that owns it (sudo usermod -aG " + owner + " $USER) and log in again";
}

std::string LineErrorText(std::uint32_t errorMask, std::uint32_t statusBits, int errorCode) {
  std::string text;
  switch (errorMask) {
    case 1:
      text = "Receive Queue overflow ";
      break;
    case 2:
      text = "Receive Overrun Error";
      break;
    case 4:
      text = "Receive Parity Error";
      break;
    case 8:
      text = "Receive Framing error";
      break;
    case 16:
      text = "Break Detected";
      break;
    case 256:
      text = "TX Queue is full";
      break;
    case 512:
      text = "LPTx Timeout";
      break;
    case 1024:
      text = "LPTx I/O Error";
      break;
    case 2048:
      text = "LPTx Device not selected";
      break;
    case 4096:
      text = "LPTx Out-Of-Paper";
      break;
    case 32768:
      text = "Requested mode unsupported";
      break;
    default:
      text = "No error";
      break;
  }
  text += ';';
  static const char* const kStatusNames[] = {"fCtlHold",  "fDsrHold", "fRlsHold", "fXoffHold",
                                             "fXOffSent", "fEof",     "fTxim"};
  for (int bit = 0; bit < 7; ++bit) {
    if (statusBits & (1u << bit)) text += kStatusNames[bit];
  }
  text += ';';
  text += std::to_string(errorCode);
  return text;
}

}  // namespace vantlo
