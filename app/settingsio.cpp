#include "settingsio.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "library/regconfig.h"

namespace vantlo {

struct tsettingsio::tstore {
  tregconfig reg;
};

tsettingsio::tsettingsio() : store_(std::make_unique<tstore>()) {}
tsettingsio::~tsettingsio() = default;

void tsettingsio::ReadAll(tsettingsrecords& r, const std::function<void(const char*)>& trace,
                          const std::function<void()>& onAutoCapture) {
  trace("init1");
  trace("init2");
  trace("init3");
  trace("init4");
  {
    std::error_code ec;
    firstRun_ = !std::filesystem::exists(store_->reg.PathOf("CONFIGD5"), ec);
  }
  store_->reg.ReadConfig(r.config);
  trace("init5");
  store_->reg.ReadFtpConfig(r.ftp);
  store_->reg.ReadAutoCapture(r.autocapture);
  onAutoCapture();
  trace("init6");
  store_->reg.ReadCapData(r.capdata);
  trace("init7");
  store_->reg.ReadExtra(r.extra);
  trace("init8");
  store_->reg.ReadDiskMan(r.diskman);
  trace("init9");
  store_->reg.ReadContact(r.contact);
  trace("registry read OK");
}

void tsettingsio::Write(const std::string& name, tsettingsrecords& r) {
  auto& reg = store_->reg;
  if (name == "CONFIGD5")
    reg.WriteConfig(r.config);
  else if (name == "FTPCONFIG")
    reg.WriteFtpConfig(r.ftp);
  else if (name == "AUTOCAPTURE")
    reg.WriteAutoCapture(r.autocapture);
  else if (name == "CAPDATA")
    reg.WriteCapData(r.capdata);
  else if (name == "EXTRA")
    reg.WriteExtra(r.extra);
  else if (name == "DISKMAN")
    reg.WriteDiskMan(r.diskman);
  else if (name == "CONTACTD5")
    reg.WriteContact(r.contact);
  else
    throw std::invalid_argument("unknown settings record " + name);
}

std::string tsettingsio::Folder() const { return store_->reg.Folder(); }

}  // namespace vantlo
