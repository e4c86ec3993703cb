#include "internet/ftpurl.h"

#include <cctype>

namespace vantlo {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

bool ParsePort(std::string_view digits, int& port) {
  if (digits.empty() || digits.size() > 5) return false;
  int v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < 1 || v > 65535) return false;
  port = v;
  return true;
}

// Host characters libcurl takes literally: letters, digits, "-", ".", "_"
// (and ":" inside brackets).
bool HostChar(char c, bool bracketed) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (std::isalnum(u) || c == '-' || c == '.' || c == '_') return true;
  return bracketed && (c == ':' || c == '%');
}

void AppendEncoded(std::string& out, std::string_view text) {
  static const char* const kHex = "0123456789ABCDEF";
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
}

}  // namespace

std::optional<tftpendpoint> ParseFtpHost(std::string_view text) {
  tftpendpoint e;
  if (StartsWithNoCase(text, "ftps://")) {
    e.scheme = tftpscheme::FtpTls;
    text.remove_prefix(7);
  } else if (StartsWithNoCase(text, "sftp://")) {
    e.scheme = tftpscheme::Sftp;
    e.port = 22;
    text.remove_prefix(7);
  } else if (StartsWithNoCase(text, "ftp://")) {
    text.remove_prefix(6);
  } else if (text.find("://") != std::string_view::npos) {
    return std::nullopt;
  }
  while (!text.empty() && text.back() == '/') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::string_view name = text;
  std::string_view port;
  bool bracketed = false;
  if (text.front() == '[') {
    const auto close = text.find(']');
    if (close == std::string_view::npos || close < 2) return std::nullopt;
    name = text.substr(1, close - 1);
    bracketed = true;
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      port = rest.substr(1);
      if (port.empty()) return std::nullopt;
    }
  } else {
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
      name = text.substr(0, colon);
      port = text.substr(colon + 1);
      if (port.empty()) return std::nullopt;
    }
  }
  if (name.empty()) return std::nullopt;
  for (char c : name)
    if (!HostChar(c, bracketed)) return std::nullopt;
  if (!port.empty() && !ParsePort(port, e.port)) return std::nullopt;
  e.host = std::string(name);
  return e;
}

std::string CurlBaseUrl(const tftpendpoint& endpoint) {
  std::string url = endpoint.scheme == tftpscheme::Sftp ? "sftp://" : "ftp://";
  if (endpoint.host.find(':') != std::string::npos)
    url += "[" + endpoint.host + "]";
  else
    url += endpoint.host;
  url += ":" + std::to_string(endpoint.port);
  return url;
}

std::string CurlPath(tftpscheme scheme, std::string_view directory, std::string_view file) {
  std::string path = "/";
  if (scheme == tftpscheme::Sftp) {
    // SFTP paths are absolute: a relative folder is below the login folder.
    if (directory.empty() || directory.front() != '/') path += "~/";
    // Each "/" separates folders; the rest of every part is encoded.
    std::size_t start = directory.empty() || directory.front() != '/' ? 0 : 1;
    while (start <= directory.size() && start < directory.size()) {
      auto slash = directory.find('/', start);
      if (slash == std::string_view::npos) slash = directory.size();
      AppendEncoded(path, directory.substr(start, slash - start));
      path += '/';
      start = slash + 1;
    }
  } else if (!directory.empty()) {
    // The single-CWD method sends everything before the last "/" in one
    // "CWD", so the folder travels as one encoded piece, slashes included.
    AppendEncoded(path, directory);
    path += '/';
  }
  AppendEncoded(path, file);
  return path;
}

std::string RemoteLeafName(std::string_view name) {
  const auto cut = name.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}

std::string DisplayUrl(std::string_view host, std::string_view directory,
                       std::string_view remoteName) {
  std::string url;
  if (auto e = ParseFtpHost(host)) {
    const char* scheme = e->scheme == tftpscheme::Sftp     ? "sftp://"
                         : e->scheme == tftpscheme::FtpTls ? "ftps://"
                                                           : "ftp://";
    url = scheme;
    url += e->host.find(':') != std::string::npos ? "[" + e->host + "]" : e->host;
    url += ":" + std::to_string(e->port) + "/";
  } else {
    url = "ftp://" + std::string(host) + ":21/";
  }
  std::string dir(directory);
  if (!dir.empty() && dir.front() == '/') dir.erase(0, 1);
  if (dir.size() > 1 && dir.back() != '/') dir += '/';
  return url + dir + std::string(remoteName);
}

}  // namespace vantlo
