// What a page of the main window reaches of the window: the settings records, the busy
// register, the stop request, the progress report and status line, the camera link and the
// camera thumbnail manager on its engine, the picture view, the page controls, the contact
// sheet manager, the printer and the Internet features. TForm1 implements it; page tests
// implement it with a few fields and no window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace vantlo {

class tacprinter;
class tbusyregister;
class tcameralink;
class tconman;
class tcreatedfolders;
class tinternetfeatures;
class tpictureview;
class tprogressreport;
class tstoprequest;
class tthumbmanager;
class twebcamsettings;
struct tsettingsrecords;

class twindowhost {
 public:
  virtual ~twindowhost() = default;

  // The window: the parent of a page's dialogs and message boxes.
  virtual QWidget* Window() = 0;

  // The seven settings records the window holds.
  virtual tsettingsrecords& Settings() = 0;
  // Every page's controls into the records (a command reads its settings from them).
  virtual void CollectSettings() = 0;
  // A command wrote settings back into the records: the pages show what they display of them.
  virtual void SettingsChanged() = 0;

  virtual tbusyregister& Busy() = 0;
  virtual tstoprequest& StopRequest() = 0;
  // Progress bar and status text; StatusText puts `text` into the status line as it is.
  virtual tprogressreport& Progress() = 0;
  virtual void StatusText(const std::string& text) = 0;
  // The status line's picture name and size: "Showing " and the path, and the size (an empty
  // path or no bytes: none); SetPictureText puts a text of its own in the name's place.
  virtual void SetCurrentPicture(const std::string& path, std::uint64_t bytes) = 0;
  virtual void SetPictureText(const std::string& text) = 0;

  // The camera link; null once the close has freed the engine.
  virtual tcameralink* CameraLink() = 0;
  // The camera thumbnail manager on the link's engine, made during start-up; null without one.
  virtual tthumbmanager* CameraThumbnails() = 0;
  // The picture view of the "Picture" page, which shows every picture of the window.
  virtual tpictureview& PictureView() = 0;

  // Shows page `number` of the right-hand page control (the numbers stored in the settings:
  // 1 "Camera", 3 "Setup", 5 "Saving", ...); other numbers leave the page as it is.
  virtual void ShowPage(int number) = 0;
  // The number of the right-hand page shown.
  virtual int ShownPage() const = 0;
  // The left-hand page control: show the "Picture" page; is the "Browse" page shown.
  virtual void ShowPicturePage() = 0;
  virtual bool BrowsePageShown() const = 0;

  // A command wrote these files (full paths): a page that lists their folder shows them now.
  virtual void FilesWritten(const std::vector<std::string>& paths) = 0;
  // The folders the window made (daily folders), removed at close when empty.
  virtual tcreatedfolders& CreatedFolders() = 0;

  // The screen's colour depth in bits per pixel (AddPicture and PrintPicture draw in a
  // palette's colours at 8 or less).
  virtual int ColourDepth() const = 0;
  // The contact sheet manager, for the whole run, configured from CONTACTD5; the window saves
  // every sheet it finishes (the next "CS" name, asking first when "Contact Sheets" is off).
  virtual tconman& ContactSheet() = 0;
  // The printer with its print buffer, for the whole run, laid out as "Page Setup" says.
  virtual tacprinter& Printer() = 0;
  // Before printing: gives the printer its device, the system's default print queue or, when
  // there is none and the user agrees, PDF files. False when there is nowhere to print.
  virtual bool PreparePrinter() = 0;
  // FTP sending and dial-up, made on first use (SendFiles, SendPicture, the FTP dialogs).
  virtual tinternetfeatures& Internet() = 0;
  // The webcam scheduler's settings block, for the whole run (copied from CONFIGD5 at start-up
  // and back at close).
  virtual twebcamsettings& WebcamBlock() = 0;

  // The pictures selected on the Browse page (full paths, in the browser's order); none when
  // the window has no Browse page.
  virtual std::vector<std::string> SelectedDiskPictures() { return {}; }
  // Stops the Browse page's thumbnail loading (a playback must not compete with it).
  virtual void StopDiskThumbnails() {}
};

}  // namespace vantlo
