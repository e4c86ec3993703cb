// tfetchworkflow: the camera commands of the "Camera" page as one headless class, used by the main
// window and by vantlo-cli alike: fetch the current, all, selected pictures or a picture by
// number; take a picture; delete selected pictures and delete all pictures.
//
// Each fetched picture goes through the camera thumbnail manager (cache or camera), is decoded by
// the engine's pipeline with the picture settings copied in first, turned to the configured
// orientation, captioned, corrected by the stored correction mode, handed to the host's "show"
// callback and saved as CAM and/or JPEG under its generated name through tpicturesaver (the one
// overwrite rule for every file). A movie of a file-system camera is saved as AVI byte for byte.
//
// The workflow talks to its host only through tfetchhost: progress, the stop-request flag, a
// message sink, questions and the show callback. Loops test the stop flag between pictures, so
// Stop ends them after the picture being fetched.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/core/captions.h"
#include "app/core/clock.h"
#include "app/core/picturesaver.h"
#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"

namespace vantlo {

class tqvProtocolEngine;
class tthumbmanager;
class tpicturepipeline;
struct tsettingsrecords;

// What a fetch does with each picture besides saving it, filled from the stored records by
// FetchSettingsFrom (or set directly by tests and the command line).
struct tfetchsettings {
  // Engine picture settings (copied into the pipeline before every decode).
  int jpegQuality = 85;         // 1..100 (0 is passed as 1)
  std::uint8_t outputSize = 0;  // 0..7, "Default" ... "Quarter Size"
  bool plainStretch = true;     // always on in the window
  bool alwaysReencode = false;
  bool colourExpand = false;
  int colourExpandPercent = 10;  // 0..50
  bool progressive = false;

  // Orientation code: 0 "Normal", 1 a quarter turn clockwise, 2 upside down, 3 a quarter turn
  // counter-clockwise.
  int orientation = 0;
  tcaptionsetting caption;  // the interactive caption setting
  // The correction after each fetch ("Off", "Auto", "Manual" with its strength 0..20).
  tcorrectionchoice correction{tcorrectionchoice::Off, 10};

  bool askBeforeDelete = true;  // "Always ask before deleting a picture"
};

// Copies the picture settings into the pipeline that decodes the next picture (a quality of 0
// counts as 1).
void ApplyPictureSettings(const tfetchsettings& settings, tpicturepipeline& pipeline);

// The settings from the stored records: CONFIGD5 (picture settings, delete confirmation), FTPCONFIG
// (orientation), CAPDATA (interactive caption), EXTRA (correction mode and strength).
tfetchsettings FetchSettingsFrom(const tsettingsrecords& records);

// The selection of the camera grid: one flag per picture number 1..300.
class tcameraselection {
 public:
  static constexpr int kMax = 300;
  bool IsSelected(int n) const { return n >= 1 && n <= kMax && flags_[n] != 0; }
  void Set(int n, bool on);  // ignores n outside 1..300
  void Toggle(int n);
  void SelectAll(int count);  // flags 1..count set (count kept to 0..300)
  void SelectNone();
  void Invert(int count);  // flags 1..count inverted
  bool Any() const;
  // Selected numbers, ascending; only those up to `count` when count >= 0.
  std::vector<int> Selected(int count = -1) const;

 private:
  std::array<std::uint8_t, kMax + 1> flags_{};
};

// What the window shows: the current picture kind as fetching and saving see it.
enum class tshownkind {
  none,
  cameraPicture,  // fetched from the camera
  jpegFile,       // a JPEG file opened from disk
  camFile,        // a CAM file opened from disk
  contactSheet,
  webcamPicture,
  moviePreview,  // the preview of a movie fetched from the camera
};

enum class tmessagekind { information, warning, error };

// What the show callback gets.
struct tshownpicture {
  int number = 0;                               // camera picture number
  tshownkind kind = tshownkind::cameraPicture;  // or tshownkind::moviePreview
  TJPEGImage image;                             // what to show (for a movie, its preview)
  tbitmap uncorrected;          // the picture before the correction (for the correction tab)
  int correctionStrength = -1;  // strength applied; -1: none ("Off", or a movie)
  std::size_t sizeBytes = 0;    // size of the decoded picture as a JPEG stream
  std::string description;      // "picture #" + number
  std::string movieFile;        // a movie: the AVI file name (the current file)
  std::vector<std::uint8_t> movieData;  // a movie: the AVI data as fetched
};

// The host's side of a run. Every member may be left empty (null): no progress shown, never
// stopped, messages dropped, no one to ask (overwrite: "No"; caption prompt: no caption;
// delete confirmation: "No"), nothing shown.
struct tfetchhost {
  // Progress bar position (0..100), status text, picture number. "Ready" ends every fetch.
  std::function<void(int position, const std::string& text, int n)> progress;
  // Processes pending events and returns the stop-request flag (tested between pictures).
  std::function<bool()> stopRequested;
  // Information, warning and error boxes (exact texts).
  std::function<void(tmessagekind kind, const std::string& text)> message;
  // The fetched picture, oriented, captioned and corrected, to show as the current picture.
  // A movie is shown twice: its preview before the transfer, then again with the AVI data and
  // file name once it is saved.
  std::function<void(const tshownpicture& picture)> show;
  // "Do you want to overwrite ..." (Toverdeldlg); null: "No".
  toverwritequestion* overwrite = nullptr;
  // "Prompt each time" captions (Tcapprompt); null: no caption.
  tcaptionprompt* captionPrompt = nullptr;
  // Tconfirmdelete for picture n: true for "Yes". `alwaysAsk` comes in with the setting and the
  // dialog's check box state goes back in it whichever button closed the dialog. Empty: "No".
  std::function<bool(int n, bool& alwaysAsk)> confirmDelete;
  // A Yes/No/Cancel confirmation ("Are you sure that you want to delete all the pictures from
  // the camera?"): true only for "Yes". Empty: "No".
  std::function<bool(const std::string& text)> confirm;
  // "Yes to All" switched the "Overwriting file" confirmation off (show it on the Saving page).
  std::function<void()> onConfirmOverwriteOff;
};

struct tfetchfailure {
  int number = 0;
  std::string message;
};

// What a command did. `saved`/`skipped` are file names; `fetched` the picture numbers fetched
// (shown); `failed` the pictures that failed with the message; `deleted` the camera numbers
// deleted (as numbered at the time of deletion); `stopped` when the stop flag ended a loop.
// A picture that failed after one of its files was complete on disk (the JPEG write failed after
// the CAM file) is in `failed`, and that file in `saved`.
struct tfetchresult {
  std::vector<std::string> saved;
  std::vector<std::string> skipped;
  std::vector<int> fetched;
  std::vector<tfetchfailure> failed;
  std::vector<int> deleted;
  bool stopped = false;
  void Add(const tfetchresult& other);
};

class tfetchworkflow {
 public:
  // Nothing passed by reference is owned; all must outlive the workflow. The settings are read
  // at every picture (the window may change them between calls). The workflow writes back only
  // `settings.askBeforeDelete` (the Tconfirmdelete check box), `saveOptions.confirmOverwrite`
  // ("Yes to All") and what the naming routine writes back. Saving goes through tpicturesaver
  // with the host's overwrite question. `clock` gives the caption's date and time.
  tfetchworkflow(tqvProtocolEngine& engine, tthumbmanager& manager, tfilenamer& namer,
                 tsaveoptions& saveOptions, tfetchsettings& settings, tfetchhost host = {},
                 tlocalclock clock = SystemLocalTime);

  tfetchhost& Host() { return host_; }

  // The fetch of one picture n (nothing for n = 0). Throws on errors (camera, decode, saving,
  // "Picture number out of range" outside 1..count), after progress "Ready"; the caller shows
  // the error. Decodes with the manager's pipeline (the engine in the window).
  tfetchresult FetchPicture(int n);
  // The same fetch for "Redisplay" and the resize's fresh start: the picture is shown again,
  // nothing is written and no overwrite question is asked.
  tfetchresult RedisplayPicture(int n);

  // The multi-picture commands: camera errors do not escape; they go to the message sink as an
  // error, are listed in `failed` and end the command (keepGoing: later pictures are still
  // fetched, except after a lost connection).
  // The grid's current picture: fetched when it lies in 1..count.
  tfetchresult FetchCurrent(int n);
  // "All Camera Pictures": 1..count, the stop flag tested before and after each picture.
  tfetchresult FetchAll(bool keepGoing = false);
  // "Selected Camera Pictures", ascending. Nothing selected: the information
  // "Select one or more Camera Thumbnails to display using the panel on the right".
  tfetchresult FetchSelected(const tcameraselection& selection, bool keepGoing = false);
  // The "Fetch" of "Show Picture by Number": count 0 gives the warning "The camera memory is
  // empty"; n outside 1..count gives "Picture number out of range".
  tfetchresult FetchByNumber(int n);

  // "Take Picture": battery check, 500 ms, take, 3000 ms, then the new picture count.
  int TakePicture();

  // "Delete Selected Pictures": k from 1 to 300 with d deleted so far; each selected k up to the
  // count is asked about (when askBeforeDelete) as picture k - d and deleted when confirmed;
  // flag k is cleared in every case. Then the count is read again and the camera reset.
  // `checkBattery`: the menu/button path checks the battery first (the Delete key does not).
  // Nothing selected: the information "Select one or more Camera Thumbnails to delete using
  // the panel on the right". Errors propagate (the flags of the pictures handled are cleared).
  tfetchresult DeleteSelected(tcameraselection& selection, bool checkBattery = true);
  // "Delete All Pictures": only after "Yes" to the confirmation; battery check, delete through
  // the manager, camera reset. Returns false when not confirmed.
  bool DeleteAll();

  // Saving on (the default): each fetch saves as the save options say, and a movie as AVI.
  // Off: nothing is written and no daily folder made; the host keeps what `show` gives it (the
  // command line's single fetch into a named file).
  void SetSaving(bool on) { saving_ = on; }

  // The last picture fetched and shown (0 none); the AVI file of the last movie saved.
  int CurrentPicture() const { return currentPicture_; }
  const std::string& CurrentFile() const { return currentFile_; }

  static constexpr const char* kSelectToDisplay =
      "Select one or more Camera Thumbnails to display using the panel on the right";
  static constexpr const char* kSelectToDelete =
      "Select one or more Camera Thumbnails to delete using the panel on the right";
  static constexpr const char* kMemoryEmpty = "The camera memory is empty";
  static constexpr const char* kDeleteAllQuestion =
      "Are you sure that you want to delete all the pictures from the camera?";

 private:
  void Progress(int position, const std::string& text, int n);
  bool StopRequested();
  void Message(tmessagekind kind, const std::string& text);
  void ApplyPictureSettings();
  // FetchPicture adding to `result` as it goes, so what was saved before a failure is kept.
  void FetchPictureInto(int n, tfetchresult& result);
  bool FetchMovie(int n, tfetchresult& result);
  void FetchStill(int n, tfetchresult& result);
  // Fetches `numbers` in order with the stop tests; catches failures into the result.
  tfetchresult FetchList(const std::vector<int>& numbers, bool keepGoing);
  void Fail(int n, const std::exception& e, tfetchresult& result);
  // The picture count through the manager; a count cut to 300 is reported as a warning.
  int RefreshCount();
  bool CountOrFail(int& count, tfetchresult& result);
  tpicturesaver Saver();

  tqvProtocolEngine& engine_;
  tthumbmanager& manager_;
  tfilenamer& namer_;
  tsaveoptions& saveOptions_;
  tfetchsettings& settings_;
  tfetchhost host_;
  tlocalclock clock_;
  int currentPicture_ = 0;
  std::string currentFile_;
  bool saving_ = true;
};

}  // namespace vantlo
