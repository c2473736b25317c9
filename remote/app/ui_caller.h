#pragma once
// UiCaller: runs a piece of work on the thread of a QObject (the window's
// thread) for another thread, which waits for the result. Waits can be given
// up: Cancel() makes every pending and later wait return its "cancelled"
// value at once, so the window's thread can stop and join a worker that is
// waiting for it (a question still on screen) without a deadlock. Work whose
// waiter gave up before it started is not run.
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace brevora::remote::app {

class UiCaller {
 public:
  explicit UiCaller(QObject& context) : context_(&context), control_(std::make_shared<Control>()) {}

  // Runs `work` on the context's thread (at once when called there) and
  // returns its result, or `cancelled` when waits are cancelled.
  template <class R>
  R Call(std::function<R()> work, R cancelled) {
    if (QThread::currentThread() == context_->thread()) return work();
    struct Pending {
      std::optional<R> result;
      bool abandoned = false;
    };
    auto pending = std::make_shared<Pending>();
    auto control = control_;
    {
      std::lock_guard lock(control->mutex);
      if (control->cancelled) return cancelled;
    }
    QMetaObject::invokeMethod(
        context_,
        [pending, control, work = std::move(work)] {
          {
            std::lock_guard lock(control->mutex);
            if (pending->abandoned) return;
          }
          R result = work();
          {
            std::lock_guard lock(control->mutex);
            pending->result = std::move(result);
          }
          control->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(control->mutex);
    control->changed.wait(lock, [&] { return pending->result.has_value() || control->cancelled; });
    if (pending->result) return std::move(*pending->result);
    pending->abandoned = true;
    return cancelled;
  }

  // Pending and later waits give up until Resume.
  void Cancel() {
    {
      std::lock_guard lock(control_->mutex);
      control_->cancelled = true;
    }
    control_->changed.notify_all();
  }
  void Resume() {
    std::lock_guard lock(control_->mutex);
    control_->cancelled = false;
  }

 private:
  struct Control {
    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
  };
  QObject* context_;
  std::shared_ptr<Control> control_;
};

}  // namespace brevora::remote::app
