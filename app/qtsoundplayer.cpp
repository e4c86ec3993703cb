#include "app/qtsoundplayer.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include "app/core/wavlength.h"

namespace vantlo {

tqtsoundplayer::tqtsoundplayer() = default;
tqtsoundplayer::~tqtsoundplayer() = default;

bool tqtsoundplayer::HasAudioOutput() { return !QMediaDevices::audioOutputs().isEmpty(); }

void tqtsoundplayer::PlayAndWait(const std::string& file) {
  effect_.reset();  // the sound played before is closed
  if (file.empty() || !QCoreApplication::instance()) return;
  const std::optional<std::int64_t> length = WavLengthMs(file);
  if (!length || !HasAudioOutput()) return;

  effect_ = std::make_unique<QSoundEffect>();
  QSoundEffect& effect = *effect_;
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  bool started = false;
  auto startWhenReady = [&] {
    if (effect.status() == QSoundEffect::Error) {
      loop.quit();
    } else if (effect.status() == QSoundEffect::Ready && !started) {
      started = true;
      effect.play();
    }
  };
  QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, startWhenReady);
  QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (started && !effect.isPlaying()) loop.quit();
  });
  effect.setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
  // Loading counts against the same bound as playing.
  deadline.start(static_cast<int>(std::min<std::int64_t>(*length + 1000, 24 * 3600 * 1000)));
  startWhenReady();
  if (effect.status() != QSoundEffect::Error) loop.exec();
  effect.stop();
}

}  // namespace vantlo
