// Where printed pages go. tacprinter draws each page only when it is sent, onto a device that
// opens a document (one print job), gives a painter sized in device pixels, and ends or aborts
// the document. The real device is a QPrinter (qprinterdevice.h); tests use their own.
#pragma once

#include <QSize>
#include <stdexcept>
#include <string>

class QPainter;

namespace vantlo {

// A failure of the printing service, with the user's text.
class tprintererror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class tprintdevice {
 public:
  virtual ~tprintdevice() = default;
  // The printable page in device pixels.
  virtual QSize PageSize() const = 0;
  virtual bool Landscape() const = 0;
  // Opens a document (one print job) named `title` and returns the painter for its page.
  // Throws tprintererror when the job cannot be opened.
  virtual QPainter& BeginDocument(const std::string& title) = 0;
  // Ends the document: the page goes to the printer. Throws tprintererror on failure.
  virtual void EndDocument() = 0;
  // Drops an open document; nothing is printed.
  virtual void AbortDocument() = 0;
};

}  // namespace vantlo
