// A sound server that misbehaves, for tests and benchmarks of the program's
// sound under it. Listens on a Unix socket:
//   sound_server_stub SOCKET                      accepts and never answers
//   sound_server_stub SOCKET UPSTREAM DELAY_MS    passes each chunk on to the
//       real server at UPSTREAM (a socket path) and back, DELAY_MS late
// Ends with its parent.
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

sockaddr_un addressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  return address;
}

int listenOn(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const sockaddr_un address = addressOf(path);
  ::unlink(path.c_str());
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  return fd;
}

int connectTo(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const sockaddr_un address = addressOf(path);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
    return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

bool writeAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

// Reads what the clients send, so that they never block writing, and
// answers nothing.
[[noreturn]] void neverAnswer(int listener) {
  std::vector<pollfd> fds{{listener, POLLIN, 0}};
  char sink[4096];
  for (;;) {
    ::poll(fds.data(), fds.size(), -1);
    for (std::size_t i = fds.size(); i-- > 0;) {
      if (!fds[i].revents) continue;
      if (i == 0) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client >= 0) fds.push_back({client, POLLIN, 0});
      } else if (::read(fds[i].fd, sink, sizeof sink) <= 0) {
        ::close(fds[i].fd);
        fds.erase(fds.begin() + static_cast<long>(i));
      }
    }
  }
}

void passOnLate(int from, int to, std::chrono::milliseconds delay) {
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(from, chunk, sizeof chunk);
    if (n <= 0) break;
    std::this_thread::sleep_for(delay);
    if (!writeAll(to, chunk, n)) break;
  }
  ::shutdown(to, SHUT_WR);
}

[[noreturn]] void answerLate(int listener, const std::string& upstream, std::chrono::milliseconds delay) {
  for (;;) {
    const int client = ::accept(listener, nullptr, nullptr);
    if (client < 0) continue;
    const int server = connectTo(upstream);
    if (server < 0) {
      ::close(client);
      continue;
    }
    std::thread(passOnLate, client, server, delay).detach();
    std::thread(passOnLate, server, client, delay).detach();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: %s SOCKET [UPSTREAM DELAY_MS]\n", argv[0]);
    return 2;
  }
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  ::signal(SIGPIPE, SIG_IGN);
  const int listener = listenOn(argv[1]);
  if (argc == 2) neverAnswer(listener);
  answerLate(listener, argv[2], std::chrono::milliseconds(std::atoi(argv[3])));
}
