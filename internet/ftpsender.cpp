#include "internet/ftpsender.h"

namespace vantlo {

namespace {

constexpr const char* kRegisterProblem =
    "Vantlo had a problem registering the FTP client. Contact Corvane for help";

}  // namespace

// The dial-up steps report into the log, the status line and the window.
class tftpsender::treport : public tdialupreport {
 public:
  explicit treport(tftpsender& s) : s_(s) {}
  void Log(const std::string& text) override { s_.LogFtp(text); }
  void Status(const std::string& text) override { s_.view_.StatusLine(text); }
  void ProcessEvents() override { s_.view_.ProcessEvents(); }
  void Wait(int milliseconds) override { s_.view_.Wait(milliseconds); }

 private:
  tftpsender& s_;
};

tftpsender::tftpsender(tftpview& view, tftplog& log, tdialupconnector& dialup,
                       tmakeclient makeClient)
    : view_(view), log_(log), dialup_(dialup), makeClient_(std::move(makeClient)) {}

tftpsender::~tftpsender() {
  if (client_) {
    client_->OnReply = nullptr;
    client_->OnCommand = nullptr;
    client_->OnError = nullptr;
    client_->OnProgress = nullptr;
  }
}

TFTP* tftpsender::Client() {
  if (!client_ && !clientFailed_) {
    try {
      client_ = makeClient_();
    } catch (const tftpclienterror& e) {
      clientFailed_ = true;
      view_.ErrorBox(e.what());
    }
    if (!client_ && !clientFailed_) {
      clientFailed_ = true;
      view_.ErrorBox(kRegisterProblem);
    }
  }
  return client_.get();
}

std::string tftpsender::IdleStatus() const {
  return view_.CaptureModeRunning() ? "Vantlo Active" : "Ready";
}

void tftpsender::LogFtp(const std::string& message) {
  if (settings_.showProgress && !message.empty()) log_.Add(message);
}

HostInformation tftpsender::HostDetails() {
  HostInformation info;
  if (settings_.useHostInfoFile) {
    std::string illegal;
    if (!LoadHostInformationFile(settings_.hostInfoFile, info, &illegal)) {
      if (!illegal.empty()) view_.ErrorBox(illegal);
      throw tftpsenderror("Error loading Host Information File : " + settings_.hostInfoFile);
    }
    return info;
  }
  info.HostName = settings_.host;
  info.UserName = settings_.user;
  info.Password = settings_.password;
  info.Directory = settings_.directory;
  info.Send = true;
  return info;
}

void tftpsender::RouteEvents() {
  TFTP* c = client_.get();
  c->OnReply = [this](const std::string& reply) { LogFtp(reply); };
  c->OnCommand = [this](const std::string& command) { LogFtp(command); };
  c->OnProgress = [this](std::uint64_t sent, std::uint64_t total) {
    view_.ProcessEvents();
    if (OnProgress) OnProgress(sent, total);
  };
}

bool tftpsender::ConnectFtp(const std::string& host, const std::string& user,
                            const std::string& directory, const std::string& password) {
  TFTP* c = Client();
  if (!c) throw tftpsenderror(kRegisterProblem);
  RouteEvents();
  if (settings_.showProgress) {
    view_.ShowProgressWindow();
    log_.Clear();
  }
  if (settings_.DialUp()) {
    treport report(*this);
    if (!dialup_.EnsureUp(settings_.DialChoice(), report)) return false;
  }
  LogFtp("Connecting to FTP server");
  view_.StatusLine("Connecting to FTP server");
  c->SetFirewall(settings_.firewall.use ? settings_.firewall : tftpfirewall{});
  c->OnError = nullptr;
  const tftpopenresult result = c->Open(host, user, password, directory);
  switch (result) {
    case tftpopenresult::Ok:
      c->ClearErrors();
      view_.StatusLine("Connected to FTP server");
      return true;
    case tftpopenresult::ConnectFailed:
      LogFtp("Error connecting");
      view_.StatusLine("Error connecting");
      throw tftpsenderror("Error connecting to host : " + host);
    case tftpopenresult::LoginFailed:
      view_.StatusLine("Error connecting to host");
      throw tftpsenderror("Error logging in to FTP server as user : " + user);
    case tftpopenresult::DirectoryFailed:
      // The picture would otherwise land in the log-in folder.
      view_.StatusLine("Error connecting to host");
      throw tftpsenderror("Error changing to directory on FTP server : " + directory);
    case tftpopenresult::TypeFailed:
      // A picture sent in text mode arrives damaged.
      view_.StatusLine("Error connecting to host");
      throw tftpsenderror("Error setting binary transfer mode on FTP server : " + host);
    case tftpopenresult::Cancelled:
      view_.StatusLine("Error connecting to host");
      throw tftpsenderror("FTP connection stopped");
  }
  return false;
}

bool tftpsender::PutFile(const std::string& localPath, const std::string& remoteName) {
  TFTP* c = Client();
  if (!c) return false;
  RouteEvents();
  const std::string remote = RemoteLeafName(remoteName);
  reportErrors_ = true;
  lastError_.clear();
  c->OnError = [this](int number, const std::string& description, const std::string& source) {
    lastError_ = description;
    if (reportErrors_) ReportFtpError(number, description, source);
  };
  LogFtp("SENDING (local) " + localPath + " (remote) " + remote);
  const bool ok = c->Put(localPath, remote);
  c->OnError = nullptr;
  reportErrors_ = false;
  return ok;
}

void tftpsender::DisconnectFtp() {
  if (client_) client_->Quit();
  if (dialup_.DialledByUs()) {
    view_.StatusLine("Hanging up connection");
    try {
      dialup_.HangUp();
    } catch (const std::exception&) {
      // A failed hang-up keeps the connection known, to try again next time.
    }
    view_.StatusLine(IdleStatus());
  } else if (!settings_.DialUp()) {
    view_.StatusLine(IdleStatus());
  }
  view_.HideProgressWindow();
}

tftpsendresult tftpsender::SendPictureByFtp(const std::string& localPath, tftpsendkind kind) {
  tftpsendresult result;
  const std::string localName = RemoteLeafName(localPath);
  const HostInformation info = HostDetails();
  if (!info.Send && kind != tftpsendkind::SlideShow) {
    result.status = tftpsendresult::NotSent;
    return result;
  }
  if (info.HostName.empty() || info.UserName.empty())
    throw tftpsenderror("No host or username specified");
  view_.StatusLabel("Sending picture with FTP");

  std::string remote = localName;
  if (kind == tftpsendkind::SlideShow) {
    if (!settings_.slideShowRemoteName.empty()) remote = settings_.slideShowRemoteName;
  } else if (settings_.useHostInfoFile) {
    if (!info.FileName.empty()) remote = info.FileName;
  } else if (kind == tftpsendkind::Webcam && !settings_.webcamRemoteFile.empty()) {
    remote = settings_.webcamRemoteFile;
  }
  remote = RemoteLeafName(remote);
  result.remoteName = remote;
  if (kind != tftpsendkind::SlideShow)
    view_.StatusLabel(DisplayUrl(info.HostName, info.Directory, remote));

  if (!Client()) {
    result.message = kRegisterProblem;
    return result;
  }
  try {
    if (!ConnectFtp(info.HostName, info.UserName, info.Directory, info.Password)) {
      // The dial-up gave up quietly; its status line stays.
      DisconnectFtp();
      result.message = "Error dialing connection";
      return result;
    }
  } catch (const std::exception& e) {
    DisconnectFtp();
    if (kind == tftpsendkind::Webcam) throw;
    result.message = e.what();
    view_.StatusLine(result.message);
    if (settings_.showProgress) view_.ErrorBox(result.message);
    return result;
  }
  const bool sent = PutFile(localPath, remote);
  const std::string reason = sent ? std::string() : lastError_;
  client_->Quit();
  view_.StatusLine("FTP Disconnected");
  DisconnectFtp();
  if (!sent) {
    // Told once, and never as success.
    result.message =
        "Error sending " + localName + " by FTP" + (reason.empty() ? "" : ": " + reason);
    view_.StatusLine(result.message);
    return result;
  }
  result.status = tftpsendresult::Sent;
  return result;
}

void tftpsender::ReportFtpError(int number, const std::string& description,
                                const std::string& source) {
  if (!settings_.showProgress || !client_) return;
  view_.ErrorBox("Notified FTP Error: Code " + std::to_string(number) + " - " + description +
                 " (from " + source + ")");
  if (settings_.firewall.use) view_.ErrorBox("Firewall Status : " + client_->FirewallStatus());
  view_.ErrorBox("Protocol state is " + client_->ProtocolStateText());
  view_.ErrorBox("Reply  is " + client_->ReplyText());
  view_.ErrorBox("State  is " + client_->StateText());
  // The collection holds the error just notified last; the others came
  // before it.
  const auto& errors = client_->Errors();
  const std::size_t others = errors.empty() ? 0 : errors.size() - 1;
  view_.ErrorBox("There are " + std::to_string(others) + " other errors");
  for (std::size_t i = 0; i < others; ++i)
    view_.ErrorBox("FTP Error: Code " + std::to_string(errors[i].code) + " - " +
                   errors[i].description);
  if (others > 0) client_->ClearErrors();
}

void tftpsender::Cancel() {
  reportErrors_ = false;  // a stopped transfer is no error to report
  if (client_) client_->Cancel();
}

void tftpsender::Drop() {
  if (client_) client_->Drop();
}

}  // namespace vantlo
