// Two processes with one terminal number, on the real file system: the folder
// list held by a running station keeps the second out until the first dies.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/env.h"
#include "store/folder_list.h"
#include "store/opener.h"
#include "store/opener_testutil.h"

namespace dodu::store {
namespace {

TEST(FolderListForkTest, ARunningTerminalKeepsASecondProcessOutUntilItDies) {
  char tmpl[] = "/tmp/dodu_folder_list_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  platform::RecordingSink sink;
  RecordingWaitObserver wait;
  OpenerContext ctx(*env, sink, wait);
  ctx.terminal = "07";
  ctx.installation_folder = ctx.data_folder = ctx.work_folder = dir;

  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    WorkAreas held;
    const char answer = ABERTURA(ctx, held, 0).ok() ? '1' : '0';
    if (write(ready[1], &answer, 1) != 1) _exit(2);
    char c;
    if (read(go[0], &c, 1) < 0) _exit(3);  // waits to be killed
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, '1');

  EXPECT_TRUE(IsTerminalRunning(ctx, "07"));
  WorkAreas mine;
  Status st = ABERTURA(ctx, mine, 0);
  EXPECT_TRUE(st.IsLocked()) << st.ToString();

  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_FALSE(IsTerminalRunning(ctx, "07"));
  OPENER_ASSERT_OK(ABERTURA(ctx, mine, 0));
  mine.CloseAll();

  Result<std::vector<platform::DirEntry>> entries = env->ListDir(dir);
  ASSERT_TRUE(entries.ok());
  for (const auto& e : *entries) EXPECT_TRUE(env->Remove(dir + "/" + e.name).ok());
  EXPECT_TRUE(env->RemoveDir(dir).ok());
  for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
}

}  // namespace
}  // namespace dodu::store
