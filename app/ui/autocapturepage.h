// The AutoCapture page (TabSheet8, opened from the menus; it has no tab): the preview of the
// picture being captured, Start/Stop, "< Settings", the choice of source ("Serial" or
// "USB / Card"), the message label and the four status lights. Start runs the serial run
// (tautocapture) or the card run (tcardcapture) with busy slot A held; the page is their host:
// it shows the lights and label as the status display sets them, plays the sounds, shows the
// pictures and the messages.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/core/autocapstatus.h"
#include "app/ui/windowpage.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vantlo {

class TJPEGImage;
class Tautocapturesettings;
class Tusbautocapsettings;
class tbitmap;
class troundled;
class tsoundplayer;
class twindowhost;

class tautocapturepage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  // `player` null: the page plays its sounds with Qt Multimedia.
  explicit tautocapturepage(twindowhost& host, tsoundplayer* player = nullptr);
  ~tautocapturepage() override;

  int PageNumber() const override { return 8; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "AutoCapture"; }
  bool HasTab() const override { return false; }
  void AddMenuCommands(const twindowmenus& menus) override;
  void ApplySettings(tsettingsrecords& records) override;
  void ReadSettings(tsettingsrecords& records) override;
  void Entered() override;  // TabSheet8Enter
  // While a run goes on the window may not close: the run is stopped, and once it has ended
  // the page closes the window.
  bool MayClose() override;

  // Handlers named after their controls and menu items.
  void button1click();            // Button1, "Run &AutoCapture": Start or Stop
  void StartAutoCapture1Click();  // the "AutoCapture" tool button
  void AutoCapture1Click();       // "A&utoCapture": shows the page
  void Button12Click();           // "< Settings", "AutoCapture..."
  void AutoCaptureSettings1Click();
  void AutoCapturesettingsforUSBCard1Click();

  bool Running() const { return running_; }
  const tautocapstatus& Status() const { return status_; }

  // What a run and the settings dialogs use to send, print and set up; empty: the window's own
  // (the host's Internet features, printer and Page Setup). The printer set-up is the window's
  // to hand in; without it the dialog's button is disabled.
  std::function<void(const std::string& path)> SendFile;
  std::function<void(const TJPEGImage& picture)> Print;
  std::function<void()> InternetSetup;
  std::function<void()> PrinterSetup;
  std::function<void()> PageSetup;

  QGroupBox* GroupBox = nullptr;
  QLabel* Image12 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button12 = nullptr;
  QRadioButton* RadioButton17 = nullptr;  // "Serial"
  QRadioButton* RadioButton18 = nullptr;  // "USB / Card"
  QLabel* Label37 = nullptr;
  troundled* RoundLed10 = nullptr;  // waiting for connection
  troundled* RoundLed7 = nullptr;   // camera connected
  troundled* RoundLed8 = nullptr;   // capture in progress
  troundled* RoundLed9 = nullptr;   // all pictures captured

  static constexpr const char* kNoSaveQuestion =
      "With your current settings, AutoCapture will not save pictures on disk, but will delete "
      "them from the camera. Is this what you want?";

 private:
  void ShowLights(const tautocaplights& lights);
  void ShowPreview(const tbitmap& thumbnail, bool movie);
  void RunSerial();
  void RunCard();
  void Finished(const std::string& folder);

  twindowhost& host_;
  std::unique_ptr<tsoundplayer> ownPlayer_;
  tautocapsounds sounds_;
  tautocapstatus status_;
  bool running_ = false;
  bool closeWhenStopped_ = false;
  std::unique_ptr<Tautocapturesettings> serialDialog_;
  std::unique_ptr<Tusbautocapsettings> cardDialog_;
};

}  // namespace vantlo
