// PumpingWait, the tool buttons with pop-up menus and the signal bridge.
#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/pumpingwait.h"
#include "app/signalbridge.h"
#include "app/ui/popupbutton.h"

namespace vantlo {
namespace {

TEST(PumpingWait, ProcessesMessagesAndEndsOnTheStopRequest) {
  tstoprequest stop;
  bool ran = false;
  QTimer::singleShot(10, [&] {
    ran = true;
    stop.Set();
  });
  PumpingWait(600000, stop);  // would take ten minutes without the stop
  EXPECT_TRUE(ran);
  EXPECT_TRUE(stop.IsSet());
}

TEST(PumpingWait, WithTheStopAlreadySetProcessesPendingMessagesOnce) {
  tstoprequest stop;
  stop.Set();
  bool ran = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { ran = true; }, Qt::QueuedConnection);
  PumpingWait(600000, stop);
  EXPECT_TRUE(ran);
}

TEST(PopupButton, ClickRunsTheFirstEnabledItemShiftClickOpensTheMenu) {
  QMenu menu;
  int first = 0, second = 0;
  QAction* a = menu.addAction("First", [&] { ++first; });
  menu.addAction("Second", [&] { ++second; });
  tpopupbutton button("Tool", &menu);
  button.show();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  QTest::mouseClick(&button, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(first, 1);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
  QTest::mousePress(&button, Qt::RightButton);
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(first, 1);
  menu.hide();
  a->setEnabled(false);  // a disabled first item does nothing
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
}

TEST(SignalBridge, SigintArrivesAsASignalOnTheEventLoop) {
  tsignalbridge bridge;
  ASSERT_TRUE(bridge.Installed());
  QSignalSpy spy(&bridge, &tsignalbridge::terminationRequested);
  std::raise(SIGINT);
  EXPECT_TRUE(spy.wait(5000));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), SIGINT);
}

}  // namespace
}  // namespace vantlo
