// A store folder that other processes use at the same time: the messaging
// client saves while the tool reads, and saves get killed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "rulestore/CKillFile.h"
#include "tests/rulestore/StoreFixtures.h"

using namespace storetest;
using Names = std::vector<std::string>;

namespace {

// A child process running work(stopRequested) until the parent stops it. The
// child tells the parent once it has started (work calls ready()).
class ChildProcess {
 public:
  using Work = std::function<int(const std::function<bool()>& stopRequested, const std::function<void()>& ready)>;

  explicit ChildProcess(const Work& work) {
    int readyPipe[2];
    int stopPipe[2];
    if (::pipe(readyPipe) != 0 || ::pipe(stopPipe) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(readyPipe[0]);
      ::close(stopPipe[1]);
      ::fcntl(stopPipe[0], F_SETFL, O_NONBLOCK);
      auto stopRequested = [fd = stopPipe[0]] {
        char byte = 0;
        return ::read(fd, &byte, 1) == 0;  // the parent closed its end
      };
      auto ready = [fd = readyPipe[1]] { (void)!::write(fd, "r", 1); };
      ::_exit(work(stopRequested, ready));
    }
    ::close(readyPipe[1]);
    ::close(stopPipe[0]);
    stopFd_ = stopPipe[1];
    char byte = 0;
    started_ = pid_ > 0 && ::read(readyPipe[0], &byte, 1) == 1;
    ::close(readyPipe[0]);
  }
  ~ChildProcess() { stop(); }

  bool started() const { return started_; }
  pid_t pid() const { return pid_; }
  // Asks the child to end and waits for it; its exit code, -1 when it failed.
  int stop() {
    if (stopFd_ >= 0) ::close(stopFd_);
    stopFd_ = -1;
    if (pid_ <= 0) return -1;
    int status = 0;
    const bool ended = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int stopFd_ = -1;
  bool started_ = false;
};

// The id of a process that has ended.
pid_t endedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

std::set<std::string> fileNames(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& [name, contents] : snapshot(folder)) names.insert(name);
  return names;
}

}  // namespace

// Every read meets the other process's save at some point; a read that falls
// between the renames of one save reads the pair again instead of refusing it.
TEST(StoreSharedFolder, ReadsRacingASaveLoopInAnotherProcessSeeAWholeStore) {
  ScratchFolder folder(fastScratchBase());
  ASSERT_TRUE(fillStore(folder.path(), {{"one", "", 1, {{"Subject", 1}}}, {"two", "Mail/bob", 2, {{"From", 3}}}}));
  const std::string path = folder.path();
  ChildProcess saver([&path](const std::function<bool()>& stopRequested, const std::function<void()>& ready) {
    for (int save = 0; save < 1000000 && !stopRequested(); ++save) {
      CKillFile store;
      if (!store.LoadData(path.c_str(), true, "*") || !store.SaveData(false)) return 1;
      if (save == 0) ready();
    }
    return 0;
  });
  ASSERT_TRUE(saver.started());
  int refused = 0;
  for (int read = 0; read < 1500; ++read) {
    const Names names = loadedNames(path, "*");
    if (names != Names{"one", "two"}) ++refused;
  }
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(saver.stop(), 0);
}

TEST(StoreSharedFolder, SaveRemovesFilesOfKilledSavesOnlyAndKeepsTheLockFile) {
  ScratchFolder folder(fastScratchBase());
  ASSERT_TRUE(fillStore(folder.path(), {{"one", ""}}));
  const std::string gone = std::to_string(endedProcess());
  ChildProcess running([](const std::function<bool()>& stopRequested, const std::function<void()>& ready) {
    ready();
    while (!stopRequested()) ::usleep(1000);
    return 0;
  });
  ASSERT_TRUE(running.started());
  const std::string live = std::to_string(running.pid());
  for (const std::string& name :
       {"RULES.DAT.tmp" + gone + "-3", "CONDITNS.DAT.tmp" + gone + "-4", "RULES.DAT.tmp" + live + "-0",
        "CONDITNS.DAT.tmp" + live + "-1", "RULES.DAT.tmp" + gone + "-x", "notes.tmp" + gone + "-1",
        std::string("RULES.DAT.new-0123456789abcdef"), std::string("RULES.DAT.new"), std::string("RULES.DAT.new-x")})
    writeFile(folder.file(name), "partial");

  CKillFile store;
  ASSERT_TRUE(store.LoadData(folder.path().c_str(), true, "*"));
  store.Add(makeRule({"two", ""}));
  ASSERT_TRUE(store.SaveData(false));
  // The running save's files, names not of the store's form and the lock
  // file are kept; pending rules files of cut-off saves go.
  EXPECT_EQ(fileNames(folder.path()),
            (std::set<std::string>{"CONDITNS.DAT", "RULES.DAT", "RULES.LCK", "RULES.DAT.tmp" + live + "-0",
                                   "CONDITNS.DAT.tmp" + live + "-1", "RULES.DAT.tmp" + gone + "-x",
                                   "notes.tmp" + gone + "-1", "RULES.DAT.new-x"}));
  EXPECT_EQ(loadedNames(folder.path(), "*"), (Names{"one", "two"}));
  EXPECT_EQ(running.stop(), 0);
}
