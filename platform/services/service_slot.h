#pragma once
// The per-process instance of a small service (message box, event log, help
// viewer): a default implementation until another is installed — the Qt front
// end installs its dialogs, tests install recording fakes. ScopedService
// installs one for a scope and puts the previous one back.
#include <memory>
#include <mutex>
#include <utility>

namespace brevora::services {

template <class Service, class Default>
class ServiceSlot {
 public:
  std::shared_ptr<Service> Get() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!current_) current_ = std::make_shared<Default>();
    return current_;
  }
  // nullptr goes back to the default. Returns the previous instance.
  std::shared_ptr<Service> Install(std::shared_ptr<Service> service) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(current_, service);
    return service;
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<Service> current_;
};

template <class Service>
class ScopedService {
 public:
  using Installer = std::shared_ptr<Service> (*)(std::shared_ptr<Service>);
  ScopedService(Installer install, std::shared_ptr<Service> service)
      : install_(install), previous_(install(std::move(service))) {}
  ~ScopedService() { install_(std::move(previous_)); }
  ScopedService(const ScopedService&) = delete;
  ScopedService& operator=(const ScopedService&) = delete;

 private:
  Installer install_;
  std::shared_ptr<Service> previous_;
};

}  // namespace brevora::services
