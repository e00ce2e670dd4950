#include "platform/core/SharedMemory.h"

#include "platform/core/RuntimeDirectory.h"
#include "tests/support/Child.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

class SharedMemoryTest : public ::testing::Test {
protected:
    static std::string object_file(std::u16string_view name)
    {
        return runtime_file("shm-", name);
    }

    static bool all(const SharedMemory& block, unsigned char byte)
    {
        return std::all_of(
            block.data(), block.data() + block.size(), [&](unsigned char b) { return b == byte; });
    }

    // Whether opening the name starts its block afresh: made by this opening, all zeros.
    static bool opens_afresh(std::u16string_view name, std::size_t size)
    {
        auto block = SharedMemory::open(name, size);
        return block && block->created() && all(*block, 0);
    }

    test::TempDir dir;
    test::EnvironmentOverride runtime { "XDG_RUNTIME_DIR", dir.path().c_str() };
};

TEST_F(SharedMemoryTest, OpeningsOfANameShareOnePrivateBlockThatGoesWithTheLast)
{
    auto first = SharedMemory::open(u"Block", 1028);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->created());
    EXPECT_EQ(first->size(), 1028u);
    EXPECT_TRUE(all(*first, 0));
    struct stat st;
    ASSERT_EQ(stat(object_file(u"Block").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_uid, geteuid());

    first->data()[1027] = 7;
    auto second = SharedMemory::open(u"Block", 1028);
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->created());
    EXPECT_EQ(second->data()[1027], 7);
    second->data()[0] = 9;
    EXPECT_EQ(first->data()[0], 9);

    EXPECT_TRUE(opens_afresh(u"Other block", 1028));
    // Another size of a block that is in use is not that block.
    EXPECT_FALSE(SharedMemory::open(u"Block", 2000));

    first.reset();
    EXPECT_EQ(stat(object_file(u"Block").c_str(), &st), 0) << "still open in the second";
    second.reset();
    EXPECT_NE(stat(object_file(u"Block").c_str(), &st), 0) << "the last one removes the name";
    EXPECT_TRUE(opens_afresh(u"Block", 1028));
}

TEST_F(SharedMemoryTest, AKilledHoldersBlockStartsAfreshForTheNextOpener)
{
    {
        test::Child holder({ PLATFORM_PEER, "share", "Block", "64" });
        ASSERT_EQ(holder.read_line(), "created");
        auto joined = SharedMemory::open(u"Block", 64);
        ASSERT_TRUE(joined);
        EXPECT_FALSE(joined->created());
        EXPECT_TRUE(all(*joined, 0xab));
        holder.kill(SIGKILL);
        holder.wait();
        EXPECT_TRUE(all(*joined, 0xab)) << "kept while we hold it";
    }
    test::Child holder({ PLATFORM_PEER, "share", "Block", "64" });
    ASSERT_EQ(holder.read_line(), "created");
    holder.kill(SIGKILL);
    holder.wait();
    struct stat st;
    ASSERT_EQ(stat(object_file(u"Block").c_str(), &st), 0) << "a killed holder leaves the name";
    EXPECT_TRUE(opens_afresh(u"Block", 64));
}

// Another user cannot make the block's name first: it lives in our private folder. Should
// a file of another owner be found there all the same, it is refused and left alone.
TEST_F(SharedMemoryTest, AnotherUserCannotTakeTheNameAndTheirFileIsNeverUsed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const std::string file = object_file(u"Block");
    ASSERT_FALSE(file.empty());
    chmod(dir.path().c_str(), 0711); // only the runtime folder itself stays private
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        _exit(fd < 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user made the name";
    EXPECT_TRUE(opens_afresh(u"Block", 64));

    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, 65534, 65534), 0);
    ASSERT_EQ(ftruncate(fd, 64), 0);
    close(fd);
    EXPECT_FALSE(SharedMemory::open(u"Block", 64));
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u) << "left as it was";
    unlink(file.c_str());
}

TEST_F(SharedMemoryTest, NoPrivateRuntimeDirectoryMeansNoBlock)
{
    test::TempDir shared;
    chmod(shared.path().c_str(), 0777);
    const std::string open_folder = shared.path() + "/orvanta";
    mkdir(open_folder.c_str(), 0777);
    chmod(open_folder.c_str(), 0777);
    test::EnvironmentOverride elsewhere("XDG_RUNTIME_DIR", shared.path().c_str());
    EXPECT_FALSE(SharedMemory::open(u"Block", 64));
}

}
