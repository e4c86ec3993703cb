// tcardcapture: AutoCapture from a USB camera or a memory card seen as a folder holding DCIM.
// One pass: wait for the card, copy its pictures (or its whole DCIM tree) into the output folder
// under AutoCapture's names or the card's own names, then optionally delete from the card.
//
// Nothing on the card is deleted unless its copy was verified: each copy is written atomically
// and read back and compared byte for byte with the card's file, and the output folder's file
// system is flushed to disk once (syncfs) before the card is touched. A copy that does not verify ends the run with "Error saving file NAME --
// AutoCapture Aborted" and the card stays as it was. A name already taken in the output folder is
// never overwritten: a file with the same content counts as saved already; one with other content
// (CIMG0001.JPG of 100CASIO and of 101CASIO) makes the copy take the next free name
// (cimg0001_1.jpg). Only the files copied and verified are deleted from the card, so files the
// run does not copy (MISC, print orders, sound memos) stay.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/autocapstatus.h"
#include "app/core/fetchworkflow.h"
#include "app/core/naming.h"
#include "app/core/verifiedwrite.h"

namespace vantlo {

class tautocapturerecord;

struct tcardcapturehost {
  // "Connect USB or insert card" (information, OK/Cancel): true for OK. Empty: Cancel.
  std::function<bool(const std::string& text)> askConnect;
  // Information, warning and error boxes with their exact texts.
  std::function<void(tmessagekind kind, const std::string& text)> message;
  // Processes pending events (the window stays alive during the copy).
  std::function<void()> processEvents;
  // A file was copied and verified.
  std::function<void(const std::string& path)> fileWritten;
  // The run has ended after copying: show the target folder in the disk browser.
  std::function<void(const std::string& targetFolder)> finished;
};

struct tcardcaptureresult {
  std::vector<std::string> saved;    // copies made and verified
  std::vector<std::string> skipped;  // card files whose content was already there
  std::vector<std::string> failed;   // card files whose copy could not be made or verified
  std::vector<std::string> deleted;  // card files deleted after copying
  bool cancelled = false;            // "Connect USB or insert card" was cancelled
};

class tcardcapture {
 public:
  // `cardRoot`: the folder the drive stands for (a mount point or a folder the user named);
  // empty when the USB drive is not set up (the record's drive 0, or a letter that stands for no
  // folder). `writer` null: the atomic writer.
  tcardcapture(const tautocapturerecord& record, tfilenamer& namer, tautocapstatus& status,
               std::string cardRoot, tcardcapturehost host = {}, tfilewriter* writer = nullptr);

  // The whole pass. Throws tautocaptureerror (autocapture.h) for a copy that does not verify or
  // a target folder that cannot be made; the card is then left untouched.
  tcardcaptureresult Run();

  static constexpr const char* kNotSetUp =
      "The USB / Card us not set up. Click \"Settings\" to configure.";
  static constexpr const char* kConnect = "Connect USB or insert card";

 private:
  // Copies `source` to the free form of `target` (see the top); adds to the result. Throws on
  // a copy that does not verify.
  void CopyOne(const std::string& source, const std::string& target);
  void CopyTree(const std::string& from, const std::string& to);
  void DeleteCopied(bool removeEmptyFolders, const std::string& cameraFolder,
                    const std::string& targetFolder);
  void Events();

  const tautocapturerecord& record_;
  tfilenamer& namer_;
  tautocapstatus& status_;
  std::string cardRoot_;
  tcardcapturehost host_;
  tatomicwriter atomicWriter_{tdurability::deferred};  // flushed once before deleting
  tfilewriter& writer_;
  tcardcaptureresult result_;
  std::vector<std::string> copiedSources_;  // card files whose copy is verified
};

// The name `target` would take in the output folder for a copy of `source`: the target itself
// when it is free or already holds the same bytes, otherwise NAME_1.EXT, NAME_2.EXT, ... up to
// the first that is free or holds the same bytes. `same` tells which.
std::string CopyTargetFor(const std::vector<std::uint8_t>& source, const std::string& target,
                          bool& same);

// A regular file of the card read whole, never through a symbolic link. Throws tfileerror.
std::vector<std::uint8_t> ReadCardFile(const std::string& path);

}  // namespace vantlo
