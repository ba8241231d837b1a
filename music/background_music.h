// What the show asks of the background music (implemented by Bgm, bgm.h).
#pragma once

namespace kb::music {

class BackgroundMusic {
 public:
  virtual ~BackgroundMusic() = default;
  virtual void CdOpen() = 0;
  // One tick of the CD watch (every 200 ms); sets CdWatchActive.
  virtual void CdWatch() = 0;
  virtual void CdClose() = 0;
  // Whether the CD watch goes on: false once the CD device reported an error.
  virtual bool CdWatchActive() const = 0;
  virtual void Mp3Start() = 0;
  // One tick of the MP3 watch (every 1000 ms): restarts a file that stopped.
  virtual void Mp3Watch() = 0;
  virtual void Mp3Stop() = 0;
  virtual void WavStart() = 0;
  virtual void WavStop() = 0;
};

}  // namespace kb::music
