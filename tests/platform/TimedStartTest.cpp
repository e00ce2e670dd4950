#include "platform/core/Utf8.h"
#include "platform/core/posix/WaiterTimedStart.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <ctime>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

// The local time so many milliseconds from now.
platform::SystemTime in_ms(int milliseconds)
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long ms = now.tv_sec * 1000LL + now.tv_nsec / 1000000 + milliseconds;
    std::time_t when = std::time_t(ms / 1000);
    std::tm local {};
    localtime_r(&when, &local);
    platform::SystemTime time;
    time.year = std::uint16_t(local.tm_year + 1900);
    time.month = std::uint16_t(local.tm_mon + 1);
    time.day = std::uint16_t(local.tm_mday);
    time.hour = std::uint16_t(local.tm_hour);
    time.minute = std::uint16_t(local.tm_min);
    time.second = std::uint16_t(local.tm_sec);
    time.milliseconds = std::uint16_t(ms % 1000);
    return time;
}

long long realtime_ms()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// When the file was last written, in ms of the real-time clock.
long long written_ms(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return -1;
    return info.st_mtim.tv_sec * 1000LL + info.st_mtim.tv_nsec / 1000000;
}

bool appears(const std::string& path, int milliseconds)
{
    for (int i = 0; i < milliseconds / 10; ++i) {
        if (access(path.c_str(), F_OK) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return access(path.c_str(), F_OK) == 0;
}

// The recorder stands in for the program; each waiter takes the log name
// from the environment it was started in.
class TimedStart : public ::testing::Test {
protected:
    void start_in(int milliseconds, const std::string& log)
    {
        test::EnvironmentOverride where("ORVANTA_ARGV_LOG", log.c_str());
        EXPECT_TRUE(starts.run_app_at_time(program, in_ms(milliseconds)));
    }

    test::TempDir dir;
    platform::WaiterTimedStart starts { dir.file("registry") };
    const std::u16string program = platform::from_utf8(ORVANTA_ARGV_RECORDER);
};

}

TEST_F(TimedStart, StartsTheProgramWithItsArgumentAtTheTime)
{
    const std::string log = dir.file("started");
    const long long due = realtime_ms() + 1000;
    start_in(1000, log);
    ASSERT_TRUE(appears(log, 10000));
    // The file's own time says when the program ran, however loaded the machine.
    EXPECT_GE(written_ms(log), due - 20) << "not before its time";
    EXPECT_EQ(test::read_file(log), std::string("AppRunAtTime") + '\0');
}

TEST_F(TimedStart, ANewStartReplacesThePendingOneAndNoneCancelsIt)
{
    const std::string first = dir.file("first"), second = dir.file("second"), third = dir.file("third");
    start_in(1000, first);
    start_in(1200, second);
    ASSERT_TRUE(appears(second, 10000));
    EXPECT_FALSE(appears(first, 10));

    start_in(1000, third);
    // A later run of the program finds the waiter through the store.
    platform::WaiterTimedStart again(dir.file("registry"));
    EXPECT_TRUE(again.run_app_at_time(program, std::nullopt));
    EXPECT_FALSE(appears(third, 2000));
}

TEST_F(TimedStart, AStoredIdOfAnotherProcessIsLeftAlone)
{
    // The store names a process that is no waiter of ours: this test itself.
    platform::RegistryStore store(dir.file("registry"));
    ASSERT_TRUE(store.create_key(platform::RegistryRoot::current_user, u"Software\\Qiro\\RunAtTime"));
    const std::string text = std::to_string(getpid()) + " 1";
    std::vector<std::uint8_t> data;
    for (char c : text)
        data.insert(data.end(), { std::uint8_t(c), 0 });
    data.insert(data.end(), { 0, 0 });
    ASSERT_TRUE(store.set_value(platform::RegistryRoot::current_user, u"Software\\Qiro\\RunAtTime", program,
        platform::registry_string, data));
    EXPECT_TRUE(starts.run_app_at_time(program, std::nullopt));
    SUCCEED() << "still running";
}
