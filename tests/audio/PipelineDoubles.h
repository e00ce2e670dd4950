#pragma once

#include "audio/PCMData.h"
#include "audio/Provider.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace test {

// A PCM chunk whose bytes count up from first, so slices can be told apart.
inline audio::PCMData counting_pcm(
    std::size_t bytes, int channels = 2, int bits = 16, int rate = 44100, std::uint8_t first = 0)
{
    liba::SharedBuffer buffer(bytes);
    std::uint8_t* p = buffer.make_unique();
    for (std::size_t i = 0; i < bytes; ++i)
        p[i] = static_cast<std::uint8_t>(first + i);
    return audio::PCMData(buffer, channels, bits, rate);
}

inline std::string bytes_of(const audio::DataBlock& block)
{
    return std::string(reinterpret_cast<const char*>(block.bytes()), block.size());
}

// Hands out a script of chunks, then empty ones; remembers what was asked.
template<typename T>
class ScriptedProvider : public audio::Provider<T> {
public:
    std::deque<T> script;
    std::vector<std::int32_t> requests;

    T get_data(std::int32_t size) override
    {
        requests.push_back(size);
        if (script.empty())
            return {};
        T next = script.front();
        script.pop_front();
        return next;
    }
};

// Keeps every chunk pushed into it.
template<typename T>
class Collector : public audio::Consumer<T> {
public:
    std::vector<T> received;

    void on_data(const T& data) override { received.push_back(data); }

    std::string all_bytes() const
    {
        std::string out;
        for (const auto& chunk : received)
            out += bytes_of(chunk);
        return out;
    }
};

}
