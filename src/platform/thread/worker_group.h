// The workers a job has started, kept so that it can ask whether any still
// runs and end them all. Window thread only.
#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace orlu {

template <class Worker>
class WorkerGroup {
 public:
  WorkerGroup() = default;
  ~WorkerGroup() { Stop(); }
  WorkerGroup(const WorkerGroup&) = delete;
  WorkerGroup& operator=(const WorkerGroup&) = delete;

  // Keeps `worker` and starts it.
  void Start(std::unique_ptr<Worker> worker) {
    workers_.push_back(std::move(worker));
    workers_.back()->Start();
  }

  // True while a kept worker has not ended.
  bool Running() const {
    for (const auto& w : workers_) {
      if (!w->Finished()) return true;
    }
    return false;
  }

  // Releases the workers that have ended.
  void DropFinished() {
    std::erase_if(workers_, [](const std::unique_ptr<Worker>& w) { return w->Finished(); });
  }

  template <class Call>
  void ForEach(Call call) {
    for (auto& w : workers_) call(*w);
  }

  // Tells every worker to stop, all of them before the first wait so they end
  // side by side, then waits for each and releases them. The workers are
  // taken out first: the wait serves the window thread's queue, where a
  // handler may start or stop the group again.
  void Stop() {
    std::vector<std::unique_ptr<Worker>> workers = std::move(workers_);
    workers_.clear();
    for (auto& w : workers) w->Terminate();
    for (auto& w : workers) w->StopAndWait();
  }

  size_t Size() const { return workers_.size(); }

 private:
  std::vector<std::unique_ptr<Worker>> workers_;
};

// Waits for every worker kept in `workers` (slot k holds worker k of a
// group, or nothing) and empties its slot. Callers tell them all to stop first, so
// that they end side by side rather than one by one.
template <class Slots>
void JoinSlots(Slots& workers) {
  for (auto& worker : workers) {
    if (worker) {
      worker->StopAndWait();
      worker.reset();
    }
  }
}

}  // namespace orlu
