#include "platform/media/headless/ScriptedWaveDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace platform::headless {

class ScriptedWaveOut final : public WaveOut {
public:
    ScriptedWaveOut(ScriptedWaveDriver& driver, const WaveFormat& format, WavePost post)
        : WaveOut(format, std::move(post))
        , m_driver(driver)
    {
    }

    ~ScriptedWaveOut() override
    {
        m_driver.forget(this);
        shut_down();
    }

    void open() { post_open(); }

    size_t play(uint8_t* out, size_t bytes) { return render(out, bytes); }

    bool write(WaveBuffer& buffer) override
    {
        return log(WaveOut::write(buffer), "out write " + std::to_string(buffer.length));
    }

    bool pause() override { return log(WaveOut::pause(), "out pause"); }

    bool restart() override { return log(WaveOut::restart(), "out restart"); }

    bool reset() override { return log(WaveOut::reset(), "out reset"); }

    bool close() override { return log(WaveOut::close(), "out close"); }

    void set_volume(uint32_t volume) override
    {
        WaveOut::set_volume(volume);
        char text[32];
        std::snprintf(text, sizeof text, "out volume %08x", volume);
        m_driver.append(text);
    }

private:
    bool log(bool ok, std::string line)
    {
        m_driver.append(ok ? line : line + " failed");
        return ok;
    }

    ScriptedWaveDriver& m_driver;
};

class ScriptedWaveIn final : public WaveIn {
public:
    ScriptedWaveIn(ScriptedWaveDriver& driver, const WaveFormat& format, WavePost post)
        : WaveIn(format, std::move(post))
        , m_driver(driver)
    {
    }

    ~ScriptedWaveIn() override
    {
        m_driver.forget(this);
        shut_down();
    }

    void open() { post_open(); }

    void feed(const uint8_t* bytes, size_t size) { capture(bytes, size); }

    bool add_buffer(WaveBuffer& buffer) override
    {
        return log(WaveIn::add_buffer(buffer), "in add " + std::to_string(buffer.length));
    }

    bool start() override { return log(WaveIn::start(), "in start"); }

    bool stop() override { return log(WaveIn::stop(), "in stop"); }

    bool reset() override { return log(WaveIn::reset(), "in reset"); }

    bool close() override { return log(WaveIn::close(), "in close"); }

protected:
    bool start_transport() override
    {
        std::lock_guard lock(m_driver.m_lock);
        return !m_driver.m_start_fails;
    }

private:
    bool log(bool ok, std::string line)
    {
        m_driver.append(ok ? line : line + " failed");
        return ok;
    }

    ScriptedWaveDriver& m_driver;
};

namespace {

std::string describe(const char* direction, const WaveFormat& format)
{
    return std::string(direction) + " open " + std::to_string(format.sample_rate) + " "
        + std::to_string(format.bits_per_sample) + " " + std::to_string(format.channels);
}

}

ScriptedWaveDriver::~ScriptedWaveDriver() = default;

template<typename Device>
std::unique_ptr<Device> ScriptedWaveDriver::open(
    const char* direction, const WaveFormat& format, WavePost post, Device*& slot)
{
    std::string line = describe(direction, format);
    {
        std::lock_guard lock(m_lock);
        if (m_open_fails || !format.is_valid() || slot) {
            m_log.push_back(line + " failed");
            m_changed.notify_all();
            return nullptr;
        }
    }
    auto device = std::make_unique<Device>(*this, format, std::move(post));
    {
        std::lock_guard lock(m_lock);
        slot = device.get();
        m_log.push_back(line);
        m_changed.notify_all();
    }
    device->open();
    return device;
}

std::unique_ptr<WaveOut> ScriptedWaveDriver::open_output(const WaveFormat& format, WavePost post)
{
    return open("out", format, std::move(post), m_output);
}

std::unique_ptr<WaveIn> ScriptedWaveDriver::open_input(const WaveFormat& format, WavePost post)
{
    return open("in", format, std::move(post), m_input);
}

void ScriptedWaveDriver::set_open_fails(bool fails)
{
    std::lock_guard lock(m_lock);
    m_open_fails = fails;
}

void ScriptedWaveDriver::set_start_fails(bool fails)
{
    std::lock_guard lock(m_lock);
    m_start_fails = fails;
}

void ScriptedWaveDriver::append(std::string line)
{
    std::lock_guard lock(m_lock);
    m_log.push_back(std::move(line));
    m_changed.notify_all();
}

void ScriptedWaveDriver::forget(const void* device)
{
    std::lock_guard lock(m_lock);
    if (m_output == device)
        m_output = nullptr;
    if (m_input == device)
        m_input = nullptr;
    m_changed.notify_all();
}

std::vector<std::string> ScriptedWaveDriver::log() const
{
    std::lock_guard lock(m_lock);
    return m_log;
}

bool ScriptedWaveDriver::wait_for(const std::function<bool(const std::vector<std::string>&)>& done) const
{
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return done(m_log); });
}

bool ScriptedWaveDriver::wait_for_line(const std::string& line, int count) const
{
    return wait_for([&](const std::vector<std::string>& log) {
        return std::count(log.begin(), log.end(), line) >= count;
    });
}

int ScriptedWaveDriver::count(const std::string& line) const
{
    std::lock_guard lock(m_lock);
    return static_cast<int>(std::count(m_log.begin(), m_log.end(), line));
}

std::vector<uint8_t> ScriptedWaveDriver::play(size_t bytes)
{
    std::lock_guard lock(m_lock);
    if (!m_output)
        return {};
    std::vector<uint8_t> out(bytes);
    m_output->play(out.data(), out.size());
    return out;
}

std::vector<uint8_t> ScriptedWaveDriver::play_queued(size_t max_bytes)
{
    std::lock_guard lock(m_lock);
    if (!m_output)
        return {};
    std::vector<uint8_t> out(max_bytes);
    out.resize(m_output->play(out.data(), out.size()));
    return out;
}

bool ScriptedWaveDriver::capture(const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(m_lock);
    if (!m_input)
        return false;
    m_input->feed(bytes.data(), bytes.size());
    return true;
}

bool ScriptedWaveDriver::has_output() const
{
    std::lock_guard lock(m_lock);
    return m_output != nullptr;
}

bool ScriptedWaveDriver::has_input() const
{
    std::lock_guard lock(m_lock);
    return m_input != nullptr;
}

uint32_t ScriptedWaveDriver::output_volume() const
{
    std::lock_guard lock(m_lock);
    return m_output ? m_output->volume() : 0;
}

}
