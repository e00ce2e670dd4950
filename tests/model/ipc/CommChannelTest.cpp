// The Today item's channel between two processes: the program's side
// (comm_server: the document, the nine commands, a message loop) and the
// item's (comm_client: one command each), on SDL's disk audio driver.
#include "os/Registry.h"
#include "platform/core/RegistryStore.h"
#include "tests/audio/DecodedAudio.h"
#include "tests/audio/RecordedFile.h"
#include "tests/support/Child.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const idle = "state=1 path= length=-1 position=-1 format=2 rate=0 bits=0 kbps=0 stereo=2 ms=0";

class CommChannel : public ::testing::Test {
protected:
    CommChannel()
    {
        mkdir(dir.file("run").c_str(), 0700);
    }

    // The program's side, once it answers.
    std::unique_ptr<test::Child> serve()
    {
        auto server = std::make_unique<test::Child>(std::vector<std::string> { COMM_SERVER });
        EXPECT_EQ(server->read_line(), "started");
        EXPECT_EQ(server->read_line(), "ready");
        return server;
    }

    // One command as the Today item sends it: its output lines.
    std::string send(const std::string& command, const std::string& request = "")
    {
        return test::run_tool({ COMM_CLIENT, command, request }).out;
    }

    // The status line of a status request.
    std::string status()
    {
        const std::string out = send("status", "n");
        const std::string head = "result 1 reply 1\n";
        return out.starts_with(head) ? out.substr(head.size(), out.size() - head.size() - 1)
                                     : "no status: " + out;
    }

    // The field of a status line.
    static std::string field(const std::string& line, const std::string& name)
    {
        const auto at = line.find(" " + name + "=");
        if (at == std::string::npos)
            return line.starts_with(name + "=")
                ? line.substr(name.size() + 1, line.find(' ') - name.size() - 1)
                : "";
        const auto begin = at + name.size() + 2;
        return line.substr(begin, line.find(' ', begin) - begin);
    }

    // A 16-bit WAV file of sox's with a tone.
    std::string tone(const std::string& name, const char* rate, const char* channels, const char* seconds)
    {
        return test::make_file(dir, name,
            { "sox", "-n", "-r", rate, "-c", channels, "-b", "16", "%o", "synth", seconds, "sine", "440" });
    }

    // What the microphone hears: 16-bit samples of a tone, as the recorder opens it.
    void microphone(const char* rate, const char* channels)
    {
        test::make_file(dir, "in.raw",
            { "sox", "-n", "-r", rate, "-b", "16", "-c", channels, "-e", "signed", "-t", "raw", "%o", "synth",
                "4", "sine", "660", "vol", "0.4" });
    }

    // Installs the program as the item finds it: "orvanta" in the folder of
    // the string "InstlDir" under the application's key.
    void install()
    {
        const std::string bin = dir.file("bin");
        mkdir(bin.c_str(), 0700);
        ASSERT_EQ(symlink(COMM_SERVER, (bin + "/orvanta").c_str()), 0);
        ASSERT_TRUE(os::registry_write_string(
            u"HKEY_LOCAL_MACHINE\\Software\\Apps\\Qiro Orvanta", u"InstlDir", test::u16(bin)));
    }

    test::TempDir dir;
    os::ScopedRegistryFile registry_store { dir.file("registry") };
    test::EnvironmentOverride runtime { "XDG_RUNTIME_DIR", dir.file("run").c_str() };
    test::EnvironmentOverride registry { "ORVANTA_REGISTRY_FILE", dir.file("registry").c_str() };
    test::EnvironmentOverride app { "ORVANTA_APP_PATH", dir.path().c_str() };
    test::EnvironmentOverride home { "HOME", dir.path().c_str() };
    test::EnvironmentOverride config { "XDG_CONFIG_HOME", dir.file("config").c_str() };
    test::EnvironmentOverride data { "XDG_DATA_HOME", dir.file("data").c_str() };
    test::EnvironmentOverride audio { "SDL_AUDIODRIVER", "disk" };
    test::EnvironmentOverride output { "SDL_DISKAUDIOFILE", dir.file("out.raw").c_str() };
    test::EnvironmentOverride input { "SDL_DISKAUDIOFILEIN", dir.file("in.raw").c_str() };
    // Real time, as a device plays and a microphone fills its buffers.
    test::EnvironmentOverride delay { "SDL_DISKAUDIODELAY", nullptr };
};

TEST_F(CommChannel, RequestsAreAnsweredOneAfterAnotherWithTheirReplies)
{
    if (!test::have_tool("sox"))
        GTEST_SKIP() << "sox makes the file";
    // Long enough to play on while the requests come in one by one.
    const std::string wav = tone("tone.wav", "22050", "2", "30");
    auto server = serve();
    EXPECT_EQ(status(), idle);
    EXPECT_EQ(send("status", "y"), std::string("result 1 reply 1\n") + idle + "\n");
    EXPECT_EQ(server->read_line(), "show");

    // A file path, a comma and "y": selected, played, the window brought up.
    EXPECT_EQ(send("play_file", wav + ",y"), "result 1 reply 1\n");
    EXPECT_EQ(server->read_line(), "show");
    EXPECT_EQ(server->read_line(), "select " + wav);
    EXPECT_EQ(server->read_line(), "play");
    std::string playing = status();
    EXPECT_EQ(field(playing, "state"), "2") << playing;
    EXPECT_EQ(field(playing, "path"), wav);
    EXPECT_EQ(field(playing, "format"), "1");
    EXPECT_EQ(field(playing, "rate"), "22050");
    EXPECT_EQ(field(playing, "bits"), "16");
    EXPECT_EQ(field(playing, "kbps"), "705");
    EXPECT_EQ(field(playing, "stereo"), "1");
    EXPECT_EQ(field(playing, "length"), std::to_string(30 * 22050 * 4));

    EXPECT_EQ(send("pause", "n"), "result 1 reply 1\n");
    EXPECT_EQ(field(status(), "state"), "4");
    EXPECT_EQ(send("pause"), "result 1 reply 1\n");
    EXPECT_EQ(field(status(), "state"), "2");
    EXPECT_EQ(send("play_offset", "+1"), "result 1 reply 1\n") << "the play mode repeats the one item";
    EXPECT_EQ(field(status(), "state"), "2");
    EXPECT_EQ(send("stop", "n"), "result 1 reply 1\n");
    EXPECT_EQ(status(), idle);
    EXPECT_EQ(send("stop"), "result 1 reply 0\n") << "nothing to stop";

    // Refused: a flag cut by its width, a number that is none, a preset
    // beyond the table. Nothing is done, not even the window brought up.
    EXPECT_EQ(send("play_file", wav + ",yes"), "result 1 reply 0\n");
    EXPECT_EQ(send("play_offset", "one,y"), "result 1 reply 0\n");
    EXPECT_EQ(send("record", dir.file("x.wav") + ",9,y"), "result 1 reply 0\n");
    EXPECT_EQ(server->read_line(), "show") << "only the record request got this far";
    // Without the flag the file plays and the window stays as it is.
    EXPECT_EQ(send("play_file", wav), "result 1 reply 1\n");
    EXPECT_EQ(server->read_line(), "select " + wav);
    EXPECT_EQ(server->read_line(), "play");
    EXPECT_EQ(send("stop"), "result 1 reply 1\n");

    // An id without a handler: 0, and no program to start.
    EXPECT_EQ(send("9"), "result 0 reply none\n");
    server->close_stdin();
    EXPECT_EQ(server->read_line(), "bye");
}

// Waits while the status line's position in milliseconds is below the time.
bool wait_for_ms(const std::function<std::string()>& status, int ms)
{
    for (int i = 0; i < 300; ++i) {
        const std::string line = status();
        const auto at = line.find(" ms=");
        if (at != std::string::npos && std::stoi(line.substr(at + 4)) >= ms)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST_F(CommChannel, ARecordingStartedThroughTheChannelIsQueriedStoppedAndPlayed)
{
    if (!test::have_tool("sox") || !test::have_tool("ffprobe") || !test::have_tool("ffmpeg"))
        GTEST_SKIP() << "sox, ffprobe and ffmpeg make and check the files";
    // The microphone in the format of preset 5, 16-bit mono at 11025 Hz.
    microphone("11025", "1");
    auto server = serve();
    const std::string wav = dir.file("rec.wav");
    EXPECT_EQ(send("record", wav + ",5,y"), "result 1 reply 1\n");
    EXPECT_EQ(server->read_line(), "show");
    EXPECT_EQ(server->read_line(), "select " + wav);
    ASSERT_TRUE(wait_for_ms([&] { return status(); }, 1200));
    const std::string recording = status();
    EXPECT_EQ(field(recording, "state"), "3") << recording;
    EXPECT_EQ(field(recording, "path"), wav);
    EXPECT_EQ(field(recording, "format"), "1");
    EXPECT_EQ(field(recording, "rate"), "11025");
    EXPECT_EQ(field(recording, "bits"), "16");
    EXPECT_EQ(field(recording, "stereo"), "0");
    EXPECT_GT(std::stoi(field(recording, "length")), 0);
    EXPECT_EQ(field(recording, "position"), field(recording, "length"));
    EXPECT_EQ(send("pause"), "result 1 reply 1\n");
    EXPECT_EQ(field(status(), "state"), "5");
    EXPECT_EQ(send("pause"), "result 1 reply 1\n");
    EXPECT_EQ(send("stop"), "result 1 reply 1\n");
    EXPECT_EQ(status(), idle);

    // The preset's format, not the settings': 16-bit mono at 11025 Hz.
    EXPECT_EQ(test::probe_stream(wav), "pcm_s16le,11025,1\n");
    const auto recorded = test::decode_s16(wav);
    ASSERT_GE(recorded.size(), 11025u);
    EXPECT_NEAR(test::rms(recorded, 2000, 10000), 9300.0, 1500.0);

    // Played back through the channel: the recording reaches the device whole.
    EXPECT_EQ(send("play_file", wav), "result 1 reply 1\n");
    EXPECT_EQ(server->read_line(), "select " + wav);
    EXPECT_EQ(server->read_line(), "play");
    EXPECT_EQ(field(status(), "state"), "2");
    for (int i = 0; i < 200 && status() != idle; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(status(), idle);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000)); // the last buffers play out
    std::string expected(reinterpret_cast<const char*>(recorded.data()), recorded.size() * 2);
    EXPECT_NE(test::read_file(dir.file("out.raw")).find(expected), std::string::npos);
    server->close_stdin();
    EXPECT_EQ(server->read_line(), "bye");
}

TEST_F(CommChannel, AnInsertGoesInAtTheStartOfTheSampleFrameItNames)
{
    if (!test::have_tool("sox") || !test::have_tool("ffprobe"))
        GTEST_SKIP() << "sox and ffprobe make and check the files";
    // 16-bit stereo: four bytes a frame. The part is recorded in the file's format.
    const std::string target = tone("target.wav", "11025", "2", "1");
    microphone("11025", "2");
    auto server = serve();
    EXPECT_EQ(send("record_insert", target + ",1001"), "result 1 reply 1\n");
    EXPECT_EQ(server->read_line(), "select " + target);
    EXPECT_TRUE(wait_for_ms([&] { return status(); }, 500));
    EXPECT_EQ(send("stop"), "result 1 reply 1\n");
    // The marks of the part stand where it went in: at the frame, not a byte into it.
    const std::string marks = test::read_file(target + ".bm");
    EXPECT_NE(marks.find("Position=\"1000\""), std::string::npos) << marks;
    EXPECT_EQ(marks.find("Position=\"1001\""), std::string::npos) << marks;
    EXPECT_EQ(test::probe_stream(target), "pcm_s16le,11025,2\n");
}

TEST_F(CommChannel, EachPresetRecordsInItsOwnFormat)
{
    if (!test::have_tool("sox") || !test::have_tool("ffprobe"))
        GTEST_SKIP() << "sox and ffprobe make and check the files";
    microphone("44100", "1"); // read in each preset's own format
    auto server = serve();

    const struct {
        const char* preset;
        const char* file;
        const char* probe;
    } cases[] = {
        { "0", "p0.mp3", "mp3,8000,1\n" },
        { "3", "p3.mp3", "mp3,22050,1\n" },
        { "4", "p4.wav", "pcm_u8,11025,1\n" },
        { "8", "p8.wav", "pcm_u8,44100,1\n" },
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        const std::string path = dir.file(c.file);
        EXPECT_EQ(send("record", path + "," + c.preset), "result 1 reply 1\n");
        EXPECT_EQ(server->read_line(), "select " + path);
        EXPECT_TRUE(wait_for_ms([&] { return status(); }, 500));
        EXPECT_EQ(send("stop"), "result 1 reply 1\n");
        EXPECT_EQ(test::probe_stream(path), c.probe);
    }
}

TEST_F(CommChannel, WithoutAnAnsweringWindowTheProgramIsStartedHiddenAndAskedAgain)
{
    // Not installed: nothing to start.
    EXPECT_EQ(send("status"), "result 0 reply none\n");

    install();
    {
        test::Child client({ COMM_CLIENT, "status", "n" });
        // The started program shares the client's output.
        EXPECT_EQ(client.read_line(), "started -hide");
        EXPECT_EQ(client.read_line(), "ready");
        EXPECT_EQ(client.read_line(), "result 1 reply 1");
        EXPECT_EQ(client.read_line(), idle);
        EXPECT_EQ(client.wait(), 0);
    } // its input closes: the program ends

    // A command that a running program does not know answers 0: the program
    // is started once more (and finds itself answered for) and asked again.
    auto server = serve();
    test::Child client({ COMM_CLIENT, "12" });
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i)
        lines.push_back(client.read_line());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string> { "ready", "result 0 reply none", "started -hide" }));
}

}
