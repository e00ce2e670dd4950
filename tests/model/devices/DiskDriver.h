#pragma once

#include "platform/media/sdl/SdlWaveDriver.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace test {

// SDL's disk driver with a new output file for every device opened, since
// each open empties the file it writes; the outputs in order are all that
// was played.
class DiskDriver final : public platform::WaveDriver {
public:
    explicit DiskDriver(const TempDir& dir)
        : m_dir(dir)
    {
    }

    std::unique_ptr<platform::WaveOut> open_output(
        const platform::WaveFormat& format, platform::WavePost post) override
    {
        std::lock_guard lock(m_lock);
        const std::string file = m_dir.file("out" + std::to_string(m_outputs.size()) + ".raw");
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        auto device = m_sdl.open_output(format, std::move(post));
        if (device)
            m_outputs.push_back(file);
        return device;
    }

    std::unique_ptr<platform::WaveIn> open_input(
        const platform::WaveFormat& format, platform::WavePost post) override
    {
        return m_sdl.open_input(format, std::move(post));
    }

    // Everything played so far, output after output.
    std::string played() const
    {
        std::lock_guard lock(m_lock);
        std::string all;
        for (const auto& file : m_outputs)
            all += read_file(file);
        return all;
    }

private:
    const TempDir& m_dir;
    platform::sdl::SdlWaveDriver m_sdl;
    mutable std::mutex m_lock;
    std::vector<std::string> m_outputs;
};

}
