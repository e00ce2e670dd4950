#include "liba/Thread.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr std::u16string_view qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";

class Writer : public liba::Thread {
public:
    char16_t letter = u'a';

protected:
    void run() override
    {
        const std::u16string line = std::u16string(40, letter) + u"\n";
        for (int i = 0; i < 200 && !is_stop_requested(); ++i)
            os::log() << line;
    }
};

}

// Writers keep tracing while the switch goes off and on under them: no line
// is torn and no stream vanishes under a writer.
TEST(LogThreads, WritersSurviveSwitching)
{
    test::TempDir dir;
    test::EnvironmentOverride app_path("ORVANTA_APP_PATH", dir.path().c_str());
    os::ScopedRegistryFile registry(dir.file("registry"));
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 1));

    Writer writers[3];
    for (int i = 0; i < 3; ++i) {
        writers[i].letter = static_cast<char16_t>(u'a' + i);
        ASSERT_TRUE(writers[i].start());
    }
    for (std::uint32_t i = 0; i < 20; ++i)
        os::registry_write_dword(qiro, u"Log", i % 2 == 0 ? 0 : 1);
    for (auto& w : writers)
        w.join();
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 1));
    os::log() << u"end\n";
    os::log().flush();

    const std::string file = dir.file(std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt");
    const std::string bytes = test::read_file(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.size() % 2, 0u);
    // Every line is whole: 40 equal letters, or the last line.
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u'\n', start);
        ASSERT_NE(end, std::u16string::npos);
        const std::u16string line = text.substr(start, end - start);
        if (line != u"end") {
            EXPECT_EQ(line, std::u16string(40, line[0]));
        }
        start = end + 1;
    }
    os::registry_write_dword(qiro, u"Log", 0);
    os::log();
}
