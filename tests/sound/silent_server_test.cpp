// The audio output with a sound server that accepts the connection and
// never answers: no call may hold up its caller for long, the channels keep
// time without the device, and the output lets go at the end without
// waiting for the server.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "app/qt_audio_output.h"
#include "sound/channel.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

// The kernel completes a connection to a listening socket by itself, so a
// socket that is never accepted is a server that never answers.
class SilentServer {
 public:
  SilentServer() : path_(std::filesystem::temp_directory_path() / ("wuffel-silent-" + std::to_string(::getpid()))) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.c_str(), sizeof(address.sun_path) - 1);
    ::unlink(path_.c_str());
    listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(fd_, 16) == 0;
  }
  // The socket stays open until the process ends: closed, it would wake
  // the output's thread while the process tears down.
  ~SilentServer() { ::unlink(path_.c_str()); }
  bool listening() const { return listening_; }
  std::string address() const { return "unix:" + path_.string(); }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  bool listening_ = false;
};

// Runs `call` on a thread of its own; false when it has not returned after
// 10 s (it is left running then).
bool returns(std::function<void()> call) {
  std::packaged_task<void()> task(std::move(call));
  std::future<void> done = task.get_future();
  std::thread(std::move(task)).detach();
  return done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

TEST(SilentSoundServer, TheGamePlaysOnSilentlyAndTheOutputLetsGoAtOnce) {
  QtAudioOutput output;
  WallClock clock;
  WaveFileLoader loader;  // the files' own format, as no device tells another
  SoundChannels channels(clock, loader, output);
  SoundChannel& ball = channels[ChannelId::MPlayerBall];
  SoundChannel& over = channels[ChannelId::MPlayerOver];
  ball.open();
  over.open();

  ASSERT_TRUE(returns([&] { over.play(); })) << "the first sound waits for the server";
  ASSERT_TRUE(returns([&] {
    ball.play();
    over.stop();
    ball.stop();
    over.play();
  })) << "later sounds wait for the server";
  EXPECT_FALSE(output.hasDevice());
  EXPECT_TRUE(over.isSounding()) << "the channels keep time without the device";

  bool letGo = true;
  ASSERT_TRUE(returns([&] { letGo = output.shutDown(std::chrono::steady_clock::now() + std::chrono::milliseconds(50)); }))
      << "shutting down waits for the server";
  EXPECT_FALSE(letGo) << "the thread stuck in the server must be reported as left running";
  channels.closeAll();
}

}  // namespace
}  // namespace wuffel

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wuffel::SilentServer server;
  if (!server.listening()) {
    std::fprintf(stderr, "cannot listen on a Unix socket\n");
    return 1;
  }
  // Before Qt looks for audio devices.
  ::setenv("PULSE_SERVER", server.address().c_str(), 1);
  int result = 0;
  {
    QCoreApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  // As the window program does when its output was left waiting for the
  // server: static destructors would pull the ground from under it.
  std::fflush(nullptr);
  std::_Exit(result);
}
