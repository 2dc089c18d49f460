// Runs the kyn executable with arguments and optional standard input and
// collects its exit status, standard output and standard error; a temporary
// folder and file helpers for the tests that give kyn files.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kyntest {

// A folder in /tmp, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/kyn-cli-XXXXXX";
    if (mkdtemp(tmpl)) path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // The path of name inside the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes the bytes to name inside the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string p = File(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

struct KynResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline KynResult RunKyn(const std::vector<std::string>& args, const std::string& input = {},
                        const std::string& workdir = {}) {
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    std::string exe = KYN_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  KynResult r;
  size_t written = 0;
  if (input.empty()) { close(in[1]); in[1] = -1; }
  bool outOpen = true, errOpen = true;
  while (outOpen || errOpen || in[1] >= 0) {
    pollfd fds[3];
    int n = 0;
    if (outOpen) fds[n++] = {out[0], POLLIN, 0};
    if (errOpen) fds[n++] = {err[0], POLLIN, 0};
    if (in[1] >= 0) fds[n++] = {in[1], POLLOUT, 0};
    if (poll(fds, static_cast<nfds_t>(n), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < n; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == in[1]) {
        const ssize_t w = write(in[1], input.data() + written, input.size() - written);
        if (w > 0) written += static_cast<size_t>(w);
        if (w < 0 || written == input.size()) { close(in[1]); in[1] = -1; }
        continue;
      }
      char buf[65536];
      const ssize_t got = read(fds[i].fd, buf, sizeof buf);
      std::string& dst = fds[i].fd == out[0] ? r.out : r.err;
      if (got > 0) dst.append(buf, static_cast<size_t>(got));
      else (fds[i].fd == out[0] ? outOpen : errOpen) = false;
    }
  }
  close(out[0]);
  close(err[0]);
  int st = 0;
  waitpid(pid, &st, 0);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  return r;
}

}  // namespace kyntest
