// Webcam mode's output file and program hook. The output file is the one a web page shows: it is
// written under its name with "_" appended and then put in place with one rename, so a web server
// reading it sees either the last picture or the new one, never half a file and never none. The
// program after each cycle is started with the picture's path as its one argument, without a
// shell, so a path with blanks or shell characters reaches it as it is.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace vantlo {

class tfilenamer;

// A webcam step that failed, with the text for the user.
class twebcamerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The output file of a shot: the output file setting; empty: the numbered name (webcam prefix,
// `counter`, "JPG"); a name without "/" goes into the output folder (with the daily folder). The
// file name the program builds is lower-cased; a folder the user chose is kept as it is. Ensures
// the daily folder.
std::string WebcamOutputPath(const std::string& setting, tfilenamer& namer, long counter);

// Writes `bytes` to PATH_ (flushed to disk) and renames it over PATH. Throws twebcamerror naming
// the file and the system's reason; PATH is then the previous picture, untouched.
void WriteWebcamOutput(const std::string& path, std::span<const std::uint8_t> bytes);

// Starts `program` with `picture` as its one argument and does not wait for it (the child is
// reaped when it ends, so none is left behind as a zombie). Throws twebcamerror when it cannot
// be started.
void RunWebcamProgram(const std::string& program, const std::string& picture);

}  // namespace vantlo
