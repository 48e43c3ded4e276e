#pragma once

#include <memory>
#include <string>

#include "audio/AudioPlayer.h"

namespace pwx {

// Makes the real player on its first use. Starting a media framework takes longer than
// building the whole window, and most sessions edit without auditioning a clip.
template <class Player>
class LazyAudioPlayer : public AudioPlayer {
 public:
  void SetFileName(const std::string& path) override { Get().SetFileName(path); }
  void Open() override { Get().Open(); }
  void Play() override { Get().Play(); }
  void Stop() override { Get().Stop(); }
  void Close() override {
    if (player_) player_->Close();
  }
  bool HasAudioOutput() override { return Get().HasAudioOutput(); }
  void SetFinishedHandler(std::function<void()> handler) override {
    finished_ = std::move(handler);
    if (player_) player_->SetFinishedHandler(finished_);
  }

 private:
  Player& Get() {
    if (!player_) {
      player_ = std::make_unique<Player>();
      player_->SetFinishedHandler(finished_);
    }
    return *player_;
  }

  std::unique_ptr<Player> player_;
  std::function<void()> finished_;
};

}  // namespace pwx
