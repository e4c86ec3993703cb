#include "internet/ftpclient.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantlo {

namespace {

constexpr const char* kRegisterProblem =
    "Vantlo had a problem registering the FTP client. Contact Corvane for help";
constexpr const char* kSource = "TFTP";

bool GlobalInit() {
  static const bool ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ok;
}

// Text that goes into a command line: a CR, LF or NUL would let a name add
// commands of its own.
bool SafeForCommand(const std::string& s) {
  return s.find_first_of("\r\n", 0) == std::string::npos && s.find('\0') == std::string::npos;
}

std::string UpperVerb(const std::string& line) {
  std::string verb;
  for (char c : line) {
    if (c == ' ' || c == '\r' || c == '\n') break;
    verb += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return verb;
}

std::string WithPort(const tftpendpoint& e) {
  std::string h = e.host.find(':') != std::string::npos ? "[" + e.host + "]" : e.host;
  if (e.port != 21) h += ":" + std::to_string(e.port);
  return h;
}

// The folder named by a 257 reply: the text between the first pair of
// quotes, with doubled quotes standing for one.
std::string QuotedFolder(const std::string& reply) {
  const auto open = reply.find('"');
  if (open == std::string::npos) return {};
  std::string out;
  for (std::size_t i = open + 1; i < reply.size(); ++i) {
    if (reply[i] == '"') {
      if (i + 1 < reply.size() && reply[i + 1] == '"') {
        out += '"';
        ++i;
        continue;
      }
      return out;
    }
    out += reply[i];
  }
  return {};
}

std::size_t DiscardBody(char*, std::size_t size, std::size_t n, void*) { return size * n; }

std::size_t ReadFile(char* buffer, std::size_t size, std::size_t n, void* file) {
  const std::size_t got = std::fread(buffer, size, n, static_cast<FILE*>(file));
  if (got == 0 && std::ferror(static_cast<FILE*>(file))) return CURL_READFUNC_ABORT;
  return got;
}

// Accept only a host key that matches known_hosts.
int CheckHostKey(CURL*, const curl_khkey*, const curl_khkey*, curl_khmatch match, void*) {
  return match == CURLKHMATCH_OK ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
}

struct tslist {
  curl_slist* list = nullptr;
  tslist() = default;
  tslist(const tslist&) = delete;
  tslist& operator=(const tslist&) = delete;
  ~tslist() { curl_slist_free_all(list); }
  bool Add(const std::string& s) {
    curl_slist* next = curl_slist_append(list, s.c_str());
    if (!next) return false;
    list = next;
    return true;
  }
};

}  // namespace

// The easy handle and the lists it points at; the handle goes first, as its
// cleanup may still talk to the server (QUIT).
struct TFTP::thandle {
  CURL* curl = nullptr;
  tslist quote;
  tslist postquote;
  char error[CURL_ERROR_SIZE] = {};
  thandle() : curl(curl_easy_init()) {}
  thandle(const thandle&) = delete;
  thandle& operator=(const thandle&) = delete;
  ~thandle() {
    if (curl) curl_easy_cleanup(curl);
  }
};

struct tftpcallbacks {
  static int Debug(CURL*, curl_infotype type, char* data, std::size_t size, void* self) {
    auto* c = static_cast<TFTP*>(self);
    if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT) return 0;
    std::string text(data, size);
    std::size_t start = 0;
    while (start < text.size()) {
      auto end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
      if (!line.empty()) {
        if (type == CURLINFO_HEADER_IN)
          c->Reply(line);
        else
          c->Command(line);
      }
      start = end + 1;
    }
    return 0;
  }

  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t ulTotal, curl_off_t ulNow) {
    auto* c = static_cast<TFTP*>(self);
    if (c->cancel_) return 1;
    // While connecting nothing is sent yet: (0, 0), so a window still gets
    // its events and a Stop can end a slow connect.
    if (c->OnProgress) {
      const bool put = c->step_ == TFTP::tstep::Put;
      c->OnProgress(put ? static_cast<std::uint64_t>(ulNow) : 0,
                    put ? static_cast<std::uint64_t>(ulTotal) : 0);
    }
    return c->cancel_ ? 1 : 0;
  }

  static curl_socket_t OpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
    auto* c = static_cast<TFTP*>(self);
    // In an upload the control connection already stands, so the first thing
    // on the wire is a command and its reply; a socket before any reply is a
    // new control connection. Through a firewall that one would not get past
    // the firewall's log-in, so it is refused and the caller opens again.
    if (c->step_ == TFTP::tstep::Put && c->viaFirewall_ && c->repliesThisCall_ == 0) {
      c->refusedNewConnection_ = true;
      return CURL_SOCKET_BAD;
    }
    const int fd = socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (fd >= 0) c->sockets_.insert(fd);
    return fd;
  }

  static int CloseSocket(void* self, curl_socket_t fd) {
    static_cast<TFTP*>(self)->sockets_.erase(fd);
    return close(fd);
  }
};

TFTP::TFTP() {
  if (!GlobalInit()) throw tftpclienterror(kRegisterProblem);
  ResetHandle();
}

TFTP::~TFTP() {
  // The handle's cleanup still reports its QUIT; nobody listens any more.
  OnReply = nullptr;
  OnCommand = nullptr;
  OnError = nullptr;
  OnProgress = nullptr;
  handle_.reset();
}

void TFTP::ResetHandle() {
  auto fresh = std::make_unique<thandle>();
  if (!fresh->curl) throw tftpclienterror(kRegisterProblem);
  handle_ = std::move(fresh);  // the old handle quits its connection
  sockets_.clear();
  connected_ = false;
  loggedIn_ = false;
  dropped_ = false;
  CURL* h = handle_->curl;
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, handle_->error);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);  // all of it goes to the debug callback
  curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, &tftpcallbacks::Debug);
  curl_easy_setopt(h, CURLOPT_DEBUGDATA, this);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &DiscardBody);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &tftpcallbacks::Progress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, &tftpcallbacks::OpenSocket);
  curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, &tftpcallbacks::CloseSocket);
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, this);
  curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  curl_easy_setopt(h, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 30L);
  curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
  // A line that carries nothing for a minute counts as dropped.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(h, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp,sftp");
}

void TFTP::Reply(const std::string& line) {
  reply_ = line;
  ++repliesThisCall_;
  if (line.rfind("257", 0) == 0) workingDirectory_ = QuotedFolder(line);
  if (OnReply) OnReply(line);
}

void TFTP::Command(const std::string& line) {
  lastCommand_ = UpperVerb(line);
  const std::string shown = lastCommand_ == "PASS" ? "PASS ****" : line;
  if (OnCommand) OnCommand(shown);
}

void TFTP::Fail(int code, const std::string& description) {
  errors_.push_back({code, description});
  if (OnError) OnError(code, description, kSource);
}

void TFTP::FailCurl(int code) {
  std::string text =
      handle_->error[0] ? handle_->error : curl_easy_strerror(static_cast<CURLcode>(code));
  if (!reply_.empty() && text.find(reply_) == std::string::npos)
    text += " (last reply: " + reply_ + ")";
  Fail(code, text);
}

int TFTP::Perform(tstep step) {
  step_ = step;
  cancel_ = false;
  refusedNewConnection_ = false;
  repliesThisCall_ = 0;
  handle_->error[0] = 0;
  busy_ = true;
  const CURLcode rc = curl_easy_perform(handle_->curl);
  busy_ = false;
  if (dropped_ && rc == CURLE_OK) return CURLE_SEND_ERROR;
  return rc;
}

tftpopenresult TFTP::Open(const std::string& host, const std::string& user,
                          const std::string& password, const std::string& directory) {
  if (busy_) return tftpopenresult::ConnectFailed;
  Quit();
  host_ = host;
  user_ = user;
  password_ = password;
  directory_ = directory;
  workingDirectory_.clear();
  reply_.clear();
  const auto server = ParseFtpHost(host);
  if (!server || !SafeForCommand(directory)) {
    Fail(CURLE_URL_MALFORMAT, "Not a valid host name or folder: " + host);
    return tftpopenresult::ConnectFailed;
  }
  if (!SafeForCommand(user) || !SafeForCommand(password) || !SafeForCommand(firewall_.user) ||
      !SafeForCommand(firewall_.password)) {
    Fail(CURLE_LOGIN_DENIED, "A user name or password holds a line break");
    return tftpopenresult::LoginFailed;
  }
  // The firewall modes are FTP proxy conventions: for TLS and SFTP the
  // connection goes straight to the server.
  viaFirewall_ =
      firewall_.use && firewall_.mode != tfirewallmode::Off && server->scheme == tftpscheme::Ftp;
  target_ = *server;
  std::string loginUser = user, loginPassword = password;
  if (viaFirewall_) {
    auto fw = ParseFtpHost(firewall_.host);
    if (!fw || fw->scheme != tftpscheme::Ftp) {
      Fail(CURLE_URL_MALFORMAT, "Not a valid firewall host name: " + firewall_.host);
      return tftpopenresult::ConnectFailed;
    }
    if (firewall_.port > 0 && firewall_.port <= 65535) fw->port = firewall_.port;
    target_ = *fw;
    const std::string realHost = WithPort(*server);
    bool ok = true;
    switch (firewall_.mode) {
      case tfirewallmode::Site:
      case tfirewallmode::Open:
        loginUser = firewall_.user;
        loginPassword = firewall_.password;
        ok = handle_->quote.Add((firewall_.mode == tfirewallmode::Site ? "SITE " : "OPEN ") +
                                realHost) &&
             handle_->quote.Add("USER " + user) && handle_->quote.Add("PASS " + password);
        break;
      case tfirewallmode::UserLogin:
        loginUser = firewall_.user;
        loginPassword = firewall_.password;
        ok = handle_->quote.Add("USER " + user + "@" + realHost) &&
             handle_->quote.Add("PASS " + password);
        break;
      case tfirewallmode::UserNoLogin:
        loginUser = user + "@" + realHost;
        break;
      case tfirewallmode::Off:
        break;
    }
    if (!ok) {
      Fail(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
      return tftpopenresult::ConnectFailed;
    }
  }
  CURL* h = handle_->curl;
  if (server->scheme != tftpscheme::Sftp) {
    // The working folder is only asked for (its failure does not matter);
    // binary mode must be granted.
    if (!handle_->postquote.Add("*PWD") || !handle_->postquote.Add("TYPE I")) {
      Fail(CURLE_OUT_OF_MEMORY, curl_easy_strerror(CURLE_OUT_OF_MEMORY));
      return tftpopenresult::ConnectFailed;
    }
    curl_easy_setopt(h, CURLOPT_POSTQUOTE, handle_->postquote.list);
  }
  curl_easy_setopt(h, CURLOPT_QUOTE, handle_->quote.list);
  if (server->scheme == tftpscheme::FtpTls)
    curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  if (server->scheme == tftpscheme::Sftp) {
    curl_easy_setopt(h, CURLOPT_SSH_AUTH_TYPES,
                     static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    if (const char* home = std::getenv("HOME"))
      curl_easy_setopt(h, CURLOPT_SSH_KNOWNHOSTS,
                       (std::string(home) + "/.ssh/known_hosts").c_str());
    curl_easy_setopt(h, CURLOPT_SSH_KEYFUNCTION, &CheckHostKey);
  }
  curl_easy_setopt(h, CURLOPT_USERNAME, loginUser.c_str());
  curl_easy_setopt(h, CURLOPT_PASSWORD, loginPassword.c_str());
  const std::string url = CurlBaseUrl(target_) + CurlPath(server->scheme, directory, "");
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);

  const int rc = Perform(tstep::Open);
  // The log-in commands are for this connection only.
  curl_easy_setopt(h, CURLOPT_QUOTE, nullptr);
  curl_easy_setopt(h, CURLOPT_POSTQUOTE, nullptr);
  if (rc == CURLE_OK) {
    connected_ = true;
    loggedIn_ = true;
    return tftpopenresult::Ok;
  }
  tftpopenresult result = tftpopenresult::ConnectFailed;
  switch (rc) {
    case CURLE_ABORTED_BY_CALLBACK:
      result = tftpopenresult::Cancelled;
      break;
    case CURLE_LOGIN_DENIED:
      result = tftpopenresult::LoginFailed;
      break;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
      result = tftpopenresult::DirectoryFailed;
      break;
    case CURLE_FTP_COULDNT_SET_TYPE:
      result = tftpopenresult::TypeFailed;
      break;
    case CURLE_QUOTE_ERROR:
      if (lastCommand_ == "TYPE")
        result = tftpopenresult::TypeFailed;
      else if (lastCommand_ == "USER" || lastCommand_ == "PASS")
        result = tftpopenresult::LoginFailed;
      break;
    default:
      break;
  }
  FailCurl(rc);
  const bool wasLoggedIn =
      result == tftpopenresult::DirectoryFailed || result == tftpopenresult::TypeFailed;
  ResetHandle();
  loggedIn_ = wasLoggedIn;
  return result;
}

int TFTP::PerformPut(const std::string& url, void* file, std::int64_t size) {
  CURL* h = handle_->curl;
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h, CURLOPT_READFUNCTION, &ReadFile);
  curl_easy_setopt(h, CURLOPT_READDATA, file);
  curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
  const int rc = Perform(tstep::Put);
  curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);
  curl_easy_setopt(h, CURLOPT_READDATA, nullptr);
  return rc;
}

bool TFTP::Put(const std::string& localPath, const std::string& remoteName) {
  if (busy_) return false;
  if (!connected_) {
    Fail(CURLE_COULDNT_CONNECT, "Not connected to an FTP server");
    return false;
  }
  const std::string remote = RemoteLeafName(remoteName);
  if (remote.empty() || !SafeForCommand(remote)) {
    Fail(CURLE_URL_MALFORMAT, "Not a valid remote file name: " + remoteName);
    return false;
  }
  FILE* file = std::fopen(localPath.c_str(), "rb");
  struct stat st {};
  if (!file || fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = errno;
    if (file) std::fclose(file);
    Fail(CURLE_READ_ERROR, "Cannot read " + localPath + ": " + std::strerror(err ? err : EINVAL));
    return false;
  }
  const std::string url =
      CurlBaseUrl(target_) +
      CurlPath(target_.scheme == tftpscheme::Sftp ? tftpscheme::Sftp : tftpscheme::Ftp, directory_,
               remote);
  int rc = PerformPut(url, file, st.st_size);
  if (rc != CURLE_OK && refusedNewConnection_ && !cancel_) {
    // The server closed the connection since the last file: log in through
    // the firewall again and send once more.
    std::fclose(file);
    const auto saved = errors_.size();
    if (Open(host_, user_, password_, directory_) != tftpopenresult::Ok) return false;
    errors_.resize(saved);
    file = std::fopen(localPath.c_str(), "rb");
    if (!file) {
      Fail(CURLE_READ_ERROR, "Cannot read " + localPath + ": " + std::strerror(errno));
      return false;
    }
    rc = PerformPut(url, file, st.st_size);
  }
  std::fclose(file);
  if (rc == CURLE_OK) {
    curl_off_t sent = 0;
    curl_easy_getinfo(handle_->curl, CURLINFO_SIZE_UPLOAD_T, &sent);
    if (sent == st.st_size) return true;
    Fail(CURLE_PARTIAL_FILE, "Only " + std::to_string(sent) + " of " + std::to_string(st.st_size) +
                                 " bytes of " + localPath + " reached the server");
  } else {
    FailCurl(rc);
  }
  // After a failed upload the state of the connection is unknown: close it.
  ResetHandle();
  return false;
}

void TFTP::Quit() {
  if (busy_) return;  // a running transfer is stopped with Cancel or Drop
  if (connected_ || !sockets_.empty()) ResetHandle();
  connected_ = false;
  loggedIn_ = false;
}

void TFTP::Drop() {
  for (int fd : sockets_) shutdown(fd, SHUT_RDWR);
  dropped_ = true;
  cancel_ = true;
  if (!busy_) ResetHandle();
}

std::string TFTP::StateText() const { return connected_ ? "Connected" : "Not connected"; }

std::string TFTP::ProtocolStateText() const {
  switch (ProtocolState()) {
    case kLoggedIn:
      return "Logged in";
    case 1:
      return "Logged in, connection closed";
    default:
      return "Not logged in";
  }
}

std::string TFTP::FirewallStatus() const {
  if (!firewall_.use || firewall_.mode == tfirewallmode::Off) return "Not used";
  const int mode = static_cast<int>(firewall_.mode);
  return std::string(tftpconfigrecord::kFirewallModeNames[mode]) + " through " + firewall_.host +
         (firewall_.port > 0 ? ":" + std::to_string(firewall_.port) : std::string());
}

}  // namespace vantlo
