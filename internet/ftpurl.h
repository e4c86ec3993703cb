// Host names, URLs and remote names of FTP uploads. A host name is a plain
// name or address ("ftp.example.com", "192.0.2.7", "[2001:db8::7]"), with an
// optional ":port" (21 when none is given). Written as "ftps://name" it means
// FTP over explicit TLS (AUTH TLS, certificate checked), as "sftp://name" SFTP
// (port 22 by default). The URLs built here are what libcurl is handed; the
// display URL is only ever shown.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantlo {

enum class tftpscheme { Ftp, FtpTls, Sftp };

struct tftpendpoint {
  tftpscheme scheme = tftpscheme::Ftp;
  std::string host;  // without brackets for an IPv6 address
  int port = 21;
};

// nullopt for an empty or malformed host name (spaces, control characters,
// another scheme, a port outside 1..65535).
std::optional<tftpendpoint> ParseFtpHost(std::string_view text);

// "ftp://host:port" (also for explicit TLS) or "sftp://host:port".
std::string CurlBaseUrl(const tftpendpoint& endpoint);

// The path part of a URL that makes libcurl (single-CWD method) change to
// `directory` exactly as given and then name `file` in it: "/" + the
// percent-encoded directory + "/" + the percent-encoded file. An empty
// directory stays in the login folder. For SFTP a relative directory is taken
// below the login folder ("/~/").
std::string CurlPath(tftpscheme scheme, std::string_view directory, std::string_view file);

// The name a file gets on the server: `name` after its last "\" or "/".
std::string RemoteLeafName(std::string_view name);

// "ftp://" + host + ":21/" + directory + remote name, where the directory
// loses one leading "/" and gains a trailing "/" when it is longer than one
// character and does not end in "/". A host with its own port or scheme shows
// them instead of "ftp://" and ":21".
std::string DisplayUrl(std::string_view host, std::string_view directory,
                       std::string_view remoteName);

}  // namespace vantlo
