#include "audio/EncodedLoudness.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/LoudnessMeter.h"
#include "audio/Mp3Decoder.h"

namespace pwx {

namespace {

// How far the measure may fall behind the encoder: a few seconds of MP3.
constexpr std::size_t kMostQueuedBytes = 1024 * 1024;

}  // namespace

struct EncodedLoudnessMeter::Worker {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::string> queue;
  std::size_t queuedBytes = 0;
  bool closed = false;   // nothing more comes
  bool stopped = false;  // the thread has ended
  std::exception_ptr error;
  EncodedLoudness result;
  std::thread thread;

  void Run() {
    try {
      Measure();
    } catch (...) {
      std::lock_guard lock(mutex);
      error = std::current_exception();
    }
    std::lock_guard lock(mutex);
    stopped = true;
    queue.clear();
    changed.notify_all();
  }

  void Measure() {
    Mp3Decoder decoder;
    std::optional<LoudnessMeter> meter;
    std::vector<float> samples;
    for (;;) {
      std::string bytes;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return !queue.empty() || closed; });
        if (queue.empty()) break;
        bytes = std::move(queue.front());
        queue.pop_front();
        queuedBytes -= bytes.size();
        changed.notify_all();
      }
      decoder.Feed(bytes);
      samples.clear();
      decoder.DecodeInto(samples);
      const std::optional<SoundFormat> format = decoder.Format();
      if (!format) continue;
      if (!meter) meter.emplace(format->Rate, format->Channels, PeakMeasure::True);
      meter->Add(samples.data(), samples.size() / static_cast<std::size_t>(format->Channels));
    }
    if (meter) result = {meter->IntegratedLufs(), meter->PeakDb()};
  }

  void Close() {
    {
      std::lock_guard lock(mutex);
      closed = true;
    }
    changed.notify_all();
    if (thread.joinable()) thread.join();
  }
};

EncodedLoudnessMeter::EncodedLoudnessMeter() : worker_(std::make_unique<Worker>()) {
  worker_->thread = std::thread([worker = worker_.get()] { worker->Run(); });
}

EncodedLoudnessMeter::~EncodedLoudnessMeter() {
  worker_->Close();
}

void EncodedLoudnessMeter::Feed(std::string_view bytes) {
  Worker& w = *worker_;
  std::unique_lock lock(w.mutex);
  w.changed.wait(lock, [&] { return w.queuedBytes < kMostQueuedBytes || w.stopped; });
  if (w.stopped) return;  // Finish raises what stopped it
  w.queue.emplace_back(bytes);
  w.queuedBytes += bytes.size();
  w.changed.notify_all();
}

EncodedLoudness EncodedLoudnessMeter::Finish() {
  worker_->Close();
  if (worker_->error) std::rethrow_exception(worker_->error);
  return worker_->result;
}

}  // namespace pwx
