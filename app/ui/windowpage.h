// A page of the main window: it builds and owns its widgets, adds its commands to the window's
// menus, copies the settings records to its controls and back, and may hold the close back.
// The window keeps one list of its pages and loops over it for the page controls, the menus,
// the settings and closing; a page reaches the window only through twindowhost.
#pragma once

#include <QString>

class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace vantlo {

struct tsettingsrecords;

// The window's menu bar and tool bar, where pages add their commands.
struct twindowmenus {
  QMenuBar* bar = nullptr;
  QToolBar* toolBar = nullptr;
  QMenu* thumbnails = nullptr;   // the tool bar's "Thumbnails" button
  QMenu* show = nullptr;         // the tool bar's "Show" button
  QMenu* autoCapture = nullptr;  // the tool bar's "AutoCapture" button
  // The menu of the bar with this title (made at the end of the bar when there is none).
  QMenu* Menu(const QString& title) const;
};

class twindowpage {
 public:
  virtual ~twindowpage() = default;

  // The page's number on the right-hand page control (pagecontrol1) as the settings store it:
  // 1 "Camera", 2, 3 "Setup", 4 " Files ", 5 "Saving", 6 "Vantlo", 7 "Image", 8 "AutoCapture",
  // 9 "Rotate", 10 "Touch", 11 "Correction", 13 "Movie". 0: a page of the left-hand page
  // control (PageControl2: "Browse", "Picture").
  virtual int PageNumber() const = 0;
  virtual QWidget* Widget() = 0;
  // The tab's caption; a page without a tab is opened by the menus only.
  virtual QString TabText() const = 0;
  virtual bool HasTab() const { return true; }
  // On the right: the page is happy with the narrow right panel.
  virtual bool NarrowPanel() const { return false; }

  // The page's commands into the window's menus (called once, in page-list order).
  virtual void AddMenuCommands(const twindowmenus& menus) { (void)menus; }
  // Settings to controls (the records may be corrected on the way, as for a port that does not
  // exist); controls to settings.
  virtual void ApplySettings(tsettingsrecords& records) { (void)records; }
  virtual void ReadSettings(tsettingsrecords& records) { (void)records; }
  // A command wrote into the records while the page's controls kept their values: the page
  // shows the values a command may change (the output folder, the overwrite confirmation).
  virtual void SettingsChanged(const tsettingsrecords& records) { (void)records; }

  // The page became the current page of its page control (its enter handler), and stopped
  // being it.
  virtual void Entered() {}
  virtual void Left() {}
  // The window has been shown (FormShow); the deferred start a second later.
  virtual void WindowShown() {}
  virtual void DeferredStart() {}
  // Whether the window may close now; a page that says no ends its work and closes the window
  // itself once it has.
  virtual bool MayClose() { return true; }
  // The window is closing: the page lets go of the camera link and hides its windows.
  virtual void Closing() {}
};

}  // namespace vantlo
