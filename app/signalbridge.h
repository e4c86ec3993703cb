#pragma once

#include <QObject>

class QSocketNotifier;

namespace vantlo {

// Turns SIGTERM and SIGINT into a Qt signal on the GUI thread. The signal
// handler only writes a byte to a pipe (the one thing that is safe there);
// a socket notifier on the other end emits terminationRequested, so the
// window can close in order, as a desktop logout expects.
class tsignalbridge : public QObject {
  Q_OBJECT
 public:
  explicit tsignalbridge(QObject* parent = nullptr);
  ~tsignalbridge() override;
  bool Installed() const { return notifier_ != nullptr; }

 signals:
  void terminationRequested(int signalNumber);

 private:
  void OnReadable();
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vantlo
