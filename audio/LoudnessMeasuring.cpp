#include "audio/LoudnessMeasuring.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/ClipIntake.h"
#include "common/EditorError.h"

namespace pwx {

struct LoudnessMeasuring::Worker {
  struct Job {
    int Number = 0;
    std::string Path;
    unsigned Generation = 0;
  };

  mutable std::mutex mutex;
  std::condition_variable changed;
  std::deque<Job> waiting;
  std::map<int, Reading> readings;
  std::map<int, unsigned> generations;  // grows whenever a number is measured anew or dropped
  std::optional<Job> current;
  std::atomic<bool> cancelCurrent = false;
  std::function<void()> listener;
  bool stopping = false;
  std::thread thread;

  // With the lock held: what was under way or waiting for `number` is of no use any more.
  void Forget(int number) {
    ++generations[number];
    std::erase_if(waiting, [&](const Job& job) { return job.Number == number; });
    if (current && current->Number == number) cancelCurrent = true;
    readings.erase(number);
  }

  void Run() {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stopping || !waiting.empty(); });
      if (stopping) return;
      current = std::move(waiting.front());
      waiting.pop_front();
      cancelCurrent = false;
      const Job job = *current;
      lock.unlock();
      Reading reading;
      try {
        const std::optional<ClipLoudness> loudness =
            MeasureClipLoudness(job.Path, {{}, &cancelCurrent});
        reading.Now = loudness ? State::Measured : State::Unknown;
        if (loudness) reading.Loudness = *loudness;
      } catch (const EditorError&) {
        reading.Now = State::Failed;  // a file that does not decode has no loudness to show
      }
      lock.lock();
      current.reset();
      const bool stillWanted = generations[job.Number] == job.Generation;
      if (stillWanted && reading.Now != State::Unknown) readings[job.Number] = reading;
      const std::function<void()> tell = stillWanted ? listener : nullptr;
      changed.notify_all();
      if (tell) {
        lock.unlock();
        tell();
        lock.lock();
      }
    }
  }
};

LoudnessMeasuring::LoudnessMeasuring(std::function<void()> measured)
    : worker_(std::make_unique<Worker>()) {
  worker_->listener = std::move(measured);
}

LoudnessMeasuring::~LoudnessMeasuring() {
  {
    std::lock_guard lock(worker_->mutex);
    worker_->stopping = true;
    worker_->cancelCurrent = true;
  }
  worker_->changed.notify_all();
  if (worker_->thread.joinable()) worker_->thread.join();
}

void LoudnessMeasuring::SetListener(std::function<void()> measured) {
  std::lock_guard lock(worker_->mutex);
  worker_->listener = std::move(measured);
}

void LoudnessMeasuring::Start(int number, const std::string& path) {
  Worker& w = *worker_;
  {
    std::lock_guard lock(w.mutex);
    w.Forget(number);
    w.readings[number].Now = State::Measuring;
    w.waiting.push_back({number, path, w.generations[number]});
    if (!w.thread.joinable()) w.thread = std::thread([&w] { w.Run(); });
  }
  w.changed.notify_all();
}

void LoudnessMeasuring::Drop(int number) {
  std::lock_guard lock(worker_->mutex);
  worker_->Forget(number);
}

void LoudnessMeasuring::DropAll() {
  Worker& w = *worker_;
  std::lock_guard lock(w.mutex);
  std::vector<int> numbers;
  for (const auto& [number, reading] : w.readings) numbers.push_back(number);
  for (const Worker::Job& job : w.waiting) numbers.push_back(job.Number);
  if (w.current) numbers.push_back(w.current->Number);
  for (const int number : numbers) w.Forget(number);
}

LoudnessMeasuring::Reading LoudnessMeasuring::Of(int number) const {
  std::lock_guard lock(worker_->mutex);
  const auto found = worker_->readings.find(number);
  return found == worker_->readings.end() ? Reading{} : found->second;
}

void LoudnessMeasuring::WaitUntilIdle() {
  Worker& w = *worker_;
  std::unique_lock lock(w.mutex);
  w.changed.wait(lock, [&] { return w.waiting.empty() && !w.current; });
}

}  // namespace pwx
