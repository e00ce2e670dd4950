#pragma once

#include <atomic>
#include <cstdint>
#include <gtest/gtest.h>
#include <thread>

namespace test {

// One thread pulls as the player does while this one asks and seeks as the
// user interface does; every answer must stay within the file.
template<typename Reader>
void pull_while_seeking(Reader& reader, std::int32_t request, std::size_t unit)
{
    std::atomic<bool> done { false };
    std::atomic<int> bad { 0 };
    std::thread player([&] {
        while (!done.load()) {
            auto chunk = reader.get_data(request);
            if (chunk.size() % unit != 0)
                ++bad;
        }
    });
    const std::int64_t length = reader.get_length_bytes();
    for (int i = 0; i < 500; ++i) {
        std::int64_t at = reader.get_position_bytes();
        if (at < 0 || at > length || reader.get_length_bytes() != length)
            ++bad;
        reader.is_end();
        reader.get_position();
        reader.seek_bytes(i * 7919 % (length + 1));
    }
    done = true;
    player.join();
    EXPECT_EQ(bad.load(), 0);
}

}
