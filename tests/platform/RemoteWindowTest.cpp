#include "platform/core/RemoteWindow.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/NamedMutex.h"
#include "platform/core/RuntimeDirectory.h"
#include "platform/core/Window.h"
#include "tests/support/Child.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

constexpr std::uint32_t patient_ms = 10000;

class RemoteWindow : public ::testing::Test {
protected:
    RemoteWindow() { setenv("XDG_RUNTIME_DIR", m_dir.path().c_str(), 1); }

    ~RemoteWindow() override { unsetenv("XDG_RUNTIME_DIR"); }

    std::unique_ptr<test::Child> serve(const std::string& class_name)
    {
        auto child
            = std::make_unique<test::Child>(std::vector<std::string> { PLATFORM_PEER, "serve", class_name });
        EXPECT_EQ(child->read_line(), "ready");
        return child;
    }

    RemoteReply send_text(std::u16string_view class_name, std::u16string_view text, std::uintptr_t word = 0,
        std::uint32_t timeout = patient_ms)
    {
        CopyData data { word, static_cast<std::uint32_t>(text.size() * 2), text.data() };
        return send_to_other_process(class_name, msg::copy_data, 0, &data, timeout);
    }

private:
    test::TempDir m_dir;
};

TEST_F(RemoteWindow, CopyDataReachesTheTopLevelWindowOnItsThread)
{
    auto peer = serve("PeerClass");
    // Class names match without regard to case; characters outside the BMP travel intact.
    RemoteReply reply = send_text(u"peerCLASS", u"a\U0001F3B5", 7);
    EXPECT_EQ(reply.status, RemoteStatus::delivered);
    EXPECT_EQ(reply.result, 7);
    EXPECT_EQ(peer->read_line(), "copy main gui 7 61003cd8b5df");

    reply = send_text(u"PeerClass", u"");
    EXPECT_EQ(reply.status, RemoteStatus::delivered);
    EXPECT_EQ(reply.result, 1);
    EXPECT_EQ(peer->read_line(), "copy main gui 0 -");

    reply = send_to_other_process(u"PeerClass", msg::user_command, 21, nullptr, patient_ms);
    EXPECT_EQ(reply.status, RemoteStatus::delivered);
    EXPECT_EQ(reply.result, 42);
    EXPECT_EQ(peer->read_line(), "command main gui 21");

    peer->close_stdin();
    EXPECT_EQ(peer->read_line(), "bye");
    EXPECT_EQ(peer->wait(), 0);
    EXPECT_EQ(send_text(u"PeerClass", u"x").status, RemoteStatus::no_window);
}

TEST_F(RemoteWindow, OtherMessagesAndMissingClassesGoNowhere)
{
    auto peer = serve("PeerClass");
    EXPECT_EQ(send_text(u"OtherClass", u"x").status, RemoteStatus::no_window);
    EXPECT_EQ(send_to_other_process(u"PeerClass", 1030, 0, nullptr, patient_ms).status, RemoteStatus::failed);
    EXPECT_EQ(send_to_other_process(u"PeerClass", msg::copy_data, 0, nullptr, patient_ms).status,
        RemoteStatus::failed);
}

TEST_F(RemoteWindow, AKilledReceiverNeitherHangsNorBlocksTheNextOne)
{
    auto peer = serve("PeerClass");
    peer->kill(SIGKILL);
    peer->wait();
    EXPECT_EQ(send_text(u"PeerClass", u"x").status, RemoteStatus::no_window);
    auto next = serve("PeerClass");
    EXPECT_EQ(send_text(u"PeerClass", u"y").status, RemoteStatus::delivered);
    EXPECT_EQ(next->read_line(), "copy main gui 0 7900");
}

TEST_F(RemoteWindow, AHungReceiverLeavesTheSendUnansweredAfterTheTimeout)
{
    auto peer = serve("PeerClass");
    peer->kill(SIGSTOP);
    EXPECT_EQ(send_text(u"PeerClass", u"x", 0, 200).status, RemoteStatus::unanswered);
    peer->kill(SIGCONT);
}

TEST_F(RemoteWindow, ARequestWhoseSenderGaveUpNeverRunsLater)
{
    auto peer = serve("PeerClass");
    peer->write("busy\n");
    ASSERT_EQ(peer->read_line(), "busy");
    EXPECT_EQ(send_text(u"PeerClass", u"late", 0, 200).status, RemoteStatus::unanswered);
    peer->write("free\n");
    EXPECT_EQ(send_text(u"PeerClass", u"next").status, RemoteStatus::delivered);
    EXPECT_EQ(peer->read_line(), "copy main gui 0 6e00650078007400") << "only the request still wanted ran";
}

TEST_F(RemoteWindow, IdleConnectionsHoldUpNobody)
{
    auto peer = serve("PeerClass");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, runtime_file("window-", u"PeerClass").c_str(), sizeof address.sun_path - 1);
    std::vector<int> idle;
    for (int i = 0; i < 8; ++i) { // each would hold a one-at-a-time server for 2 s
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        idle.push_back(fd);
    }
    EXPECT_EQ(send_text(u"PeerClass", u"z", 0, 5000).status, RemoteStatus::delivered);
    EXPECT_EQ(peer->read_line(), "copy main gui 0 7a00");
    for (int fd : idle)
        close(fd);
}

// Raw bytes from a client that does not follow the protocol.
void send_raw(const std::string& path, const std::string& bytes)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    shutdown(fd, SHUT_WR);
    char sink[64];
    while (recv(fd, sink, sizeof sink, 0) > 0) { }
    close(fd);
}

TEST_F(RemoteWindow, MalformedRequestsAreRefusedAndServingGoesOn)
{
    auto peer = serve("PeerClass");
    std::string path = runtime_file("window-", u"PeerClass");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    std::string header(40, '\0');
    std::memcpy(header.data(), "ORVW", 4);
    header[4] = 1;
    header[8] = 74;
    std::string huge = header;
    huge[12] = 4; // a class name of 4 bytes ...
    std::memset(huge.data() + 32, 1, 1);
    std::memset(huge.data() + 36, 0xff, 4); // ... and 4 GiB of data
    std::string wrong_class = header;
    wrong_class[12] = 4;
    wrong_class[32] = 1;
    wrong_class += "Nope";
    for (const std::string& bytes : { std::string(), std::string("garbage"), header.substr(0, 20), huge,
             wrong_class, std::string(4096, '\xff') })
        send_raw(path, bytes);
    EXPECT_EQ(send_text(u"PeerClass", u"z").status, RemoteStatus::delivered);
    EXPECT_EQ(peer->read_line(), "copy main gui 0 7a00");
}

TEST_F(RemoteWindow, AConnectionFromAnotherUserIsDroppedUnheard)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    auto peer = serve("PeerClass");
    // As if our private folder had been opened to everyone.
    const std::string path = runtime_file("window-", u"PeerClass");
    const std::string folder = runtime_directory();
    chmod(folder.substr(0, folder.rfind('/')).c_str(), 0711);
    chmod(folder.c_str(), 0711);
    chmod(path.c_str(), 0666);
    std::string request(40, '\0');
    std::memcpy(request.data(), "ORVW", 4);
    request[4] = 1;
    request[8] = 0x01; // the command message, 1025
    request[9] = 0x04;
    request[12] = 9;
    request[16] = 5;
    request += "PeerClass";
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            _exit(4);
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char reply[16];
        _exit(recv(fd, reply, sizeof reply, 0) > 0 ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(folder.c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "connected, and no answer";
    EXPECT_EQ(send_to_other_process(u"PeerClass", msg::user_command, 6, nullptr, patient_ms).result, 12);
    EXPECT_EQ(peer->read_line(), "command main gui 6") << "the foreign command never ran";
}

TEST_F(RemoteWindow, AWaitForAWindowEndsWhenOneComesOrTheTimeIsUp)
{
    EXPECT_FALSE(wait_for_other_process_window(u"PeerClass", 50));
    register_window_class({ u"OwnWaited", {}, true });
    Window own = create_window(u"OwnWaited");
    EXPECT_FALSE(wait_for_other_process_window(u"OwnWaited", 50)) << "ours is not another process's";
    destroy_window(own);
    auto peer = serve("PeerClass");
    EXPECT_TRUE(wait_for_other_process_window(u"peerclass", 50));
    // Nothing was sent: the next command is the first the peer sees.
    EXPECT_EQ(send_to_other_process(u"PeerClass", msg::user_command, 3, nullptr, patient_ms).result, 6);
    EXPECT_EQ(peer->read_line(), "command main gui 3");
}

TEST_F(RemoteWindow, WindowsOfThisProcessAreNotOtherProcesses)
{
    register_window_class({ u"OwnReachable", {}, true });
    Window own = create_window(u"OwnReachable");
    EXPECT_EQ(send_text(u"OwnReachable", u"x").status, RemoteStatus::no_window);
    destroy_window(own);
}

TEST_F(RemoteWindow, NamedMutexIsSharedAndFreedWhenItsHolderDies)
{
    test::Child holder({ PLATFORM_PEER, "lock", "Orvanta Lock" });
    ASSERT_EQ(holder.read_line(), "locked");
    auto mutex = NamedMutex::open(u"orvanta lock");
    ASSERT_TRUE(mutex);
    EXPECT_FALSE(mutex->try_lock());
    holder.kill(SIGKILL);
    holder.wait();
    EXPECT_TRUE(mutex->lock());
    EXPECT_TRUE(mutex->is_held());
    mutex->unlock();

    auto other = NamedMutex::open(u"Another Lock");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->try_lock());
}

TEST_F(RemoteWindow, NoPrivateFolderMeansNoMutexAndNoSend)
{
    setenv("XDG_RUNTIME_DIR", "/proc/self", 1); // cannot hold our folder
    unsetenv("XDG_RUNTIME_DIR");
    std::string fallback = runtime_directory();
    EXPECT_EQ(fallback, "/tmp/orvanta-" + std::to_string(geteuid()));

    test::TempDir shared;
    chmod(shared.path().c_str(), 0777);
    std::string open_folder = shared.path() + "/orvanta";
    mkdir(open_folder.c_str(), 0777);
    chmod(open_folder.c_str(), 0777);
    setenv("XDG_RUNTIME_DIR", shared.path().c_str(), 1);
    EXPECT_EQ(runtime_directory(), "");
    EXPECT_FALSE(NamedMutex::open(u"x"));
    EXPECT_EQ(send_text(u"PeerClass", u"x").status, RemoteStatus::failed);
}

}
