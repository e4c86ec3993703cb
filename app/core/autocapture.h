// tautocapture: the serial AutoCapture run, the unattended capture station over the serial link.
// It waits until a camera answers, takes every picture out of it (walking the picture folders of
// a file-system camera), saves each as thumbnail, CAM file, JPEG and/or the single output file
// under AutoCapture's names, captions, shows, sends and prints it, optionally deletes it from the
// camera, and then stops or keeps polling for new pictures.
//
// A picture is deleted from the camera only after every file written for it has been read back
// and found to hold what was meant; a file that does not stops the run with "Error saving file
// NAME -- AutoCapture Aborted" and nothing more is deleted. After each delete the camera's count
// must have dropped by one, otherwise the same picture would be fetched and saved for ever: the
// run stops with kDeleteNotDone.
//
// The run is window-free: it reaches the window (or vantlo-cli) only through tautocapturehost and
// the status display, and every fixed wait goes through the engine's waiter.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/autocapstatus.h"
#include "app/core/captions.h"
#include "app/core/clock.h"
#include "app/core/fetchworkflow.h"
#include "app/core/naming.h"
#include "app/core/verifiedwrite.h"
#include "picture/bitmap.h"
#include "picture/jpegimage.h"

namespace vantlo {

class tqvProtocolEngine;
class tautocapturerecord;

// A failure that ends an AutoCapture run with the text for the user.
class tautocaptureerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Error saving file " + name + " -- AutoCapture Aborted".
std::string SaveErrorText(const std::string& name);

// The four sounds and their switches from the record.
tautocapsounds SoundsFrom(const tautocapturerecord& record);

// The host's side of a run. Every member may be empty: nothing shown, never stopped.
struct tautocapturehost {
  // Status line text and progress bar position.
  std::function<void(int position, const std::string& text)> progress;
  // Processes pending events and returns the stop-request flag.
  std::function<bool()> processEvents;
  // Sets (true) or clears (false) the stop-request flag.
  std::function<void(bool)> setStop;
  // PumpingWait: events processed until `ms` have passed or the stop flag is set. Empty: returns
  // at once (tests; the headless station paces itself with the camera's answers).
  std::function<void(int ms)> pumpingWait;
  // Information, warning and error boxes with their exact texts.
  std::function<void(tmessagekind kind, const std::string& text)> message;
  // The thumbnail into the page's preview (Image12), with the movie mark.
  std::function<void(const tbitmap& thumbnail, bool movie)> preview;
  // The captioned picture as the current picture (the webcam/AutoCapture kind) with its number.
  std::function<void(const TJPEGImage& picture, long number)> show;
  // A file was written and verified.
  std::function<void(const std::string& path)> fileWritten;
  // Sends the file by FTP (the window's Internet sending).
  std::function<void(const std::string& path)> sendFile;
  // Adds the picture to the print buffer.
  std::function<void(const TJPEGImage& picture)> print;
  // The run has ended: show the output folder (kind 9) in the disk browser.
  std::function<void(const std::string& outputFolder)> finished;
  // "Prompt each time" captions; null: no caption.
  tcaptionprompt* captionPrompt = nullptr;
};

// What a run did.
struct tautocaptureresult {
  std::vector<std::string> saved;  // every file written and verified, in order
  int captured = 0;                // pictures (and movies) saved
  int deleted = 0;                 // pictures deleted from the camera
};

class tautocapture {
 public:
  // Nothing is owned; all must outlive the run. `record` is read at every use (and step one may
  // switch "delete after saving" off in it); `pictureSettings` gives the decoding and JPEG
  // settings and the interactive caption; `writer` null: the atomic writer.
  tautocapture(tqvProtocolEngine& engine, tautocapturerecord& record, tfilenamer& namer,
               const tfetchsettings& pictureSettings, tautocapstatus& status,
               tautocapturehost host = {}, tfilewriter* writer = nullptr,
               tlocalclock clock = SystemLocalTime);

  // The whole run, until the stop-request flag ends it. Throws tautocaptureerror for a file that
  // could not be saved and for a delete the camera did not do, and the camera's exceptions;
  // after the end of the loop (and on the way out of an error) progress "Ready", status
  // stopped, `finished`, and the camera is reset.
  tautocaptureresult Run();

  // "First free number": from 0 up, the first n for which none of the kind 5 (prefix) or 6
  // (date) names with "JPG", "CAM" and "AVI" exists. Ensures the daily folder.
  long FirstFreeNumber();
  // The single output file: the name from the record with ".jpg"; a name without "/" goes into
  // the output folder (with the daily folder).
  std::string SingleOutputFile();

  static constexpr const char* kDeleteNotDone =
      "The camera did not delete the picture that was saved -- AutoCapture Aborted";

 private:
  void Progress(int position, const std::string& text);
  bool Events();
  void SetStop(bool on);
  void PumpingWait(int ms);
  tnamekind PictureKind() const;
  // Waits until a camera answers or the stop flag is set; true when one answers.
  bool WaitForCamera();
  // Selects folder f of a file-system camera, kept within its folder list; false when the camera
  // has no folder.
  bool SelectFolder();
  // Captures picture `n` (index i + 1, or 1 when deleting); false when the stop flag ended it.
  bool Capture(int n, int count);
  void SaveVerified(const std::string& path, std::span<const std::uint8_t> bytes,
                    bool retryOnce = false);
  void DeleteFirstPicture(int count);
  std::vector<std::uint8_t> JpegOf(const tbitmap& bitmap) const;
  std::vector<std::uint8_t> SingleFileBytes(const TJPEGImage& picture) const;
  void Finish();

  tqvProtocolEngine& engine_;
  tautocapturerecord& record_;
  tfilenamer& namer_;
  const tfetchsettings& pictureSettings_;
  tautocapstatus& status_;
  tautocapturehost host_;
  tatomicwriter atomicWriter_;
  tfilewriter& writer_;
  tlocalclock clock_;

  long number_ = 0;         // N, the next file number
  int index_ = 0;           // i, pictures taken from the present camera folder
  std::size_t folder_ = 0;  // f, for a camera that keeps folders
  std::vector<std::string> folders_;
  bool checkedDelete_ = false;  // the file-system camera's delete rule was applied
  tautocaptureresult result_;
};

}  // namespace vantlo
