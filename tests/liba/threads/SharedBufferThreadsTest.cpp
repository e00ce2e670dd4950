#include "liba/SharedBuffer.h"
#include "liba/Thread.h"

#include <gtest/gtest.h>
#include <numeric>
#include <vector>

TEST(SharedBuffer, HandlesCopiedAcrossThreadsFreeTheBlockOnce)
{
    std::vector<std::uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);
    struct Reader : liba::Thread {
        liba::SharedBuffer buffer;
        long sum = 0;
        void run() override
        {
            for (int i = 0; i < 500; ++i) {
                liba::SharedBuffer copy(buffer);
                liba::SharedBuffer part(copy, 16, 32);
                sum += part.data()[0];
                if (i % 50 == 0) {
                    part.fill(0xEE); // detaches: the shared bytes stay as they were
                    if (part.data()[0] != 0xEE || copy.data()[16] != 16)
                        sum = -1000000;
                }
            }
        }
    };
    std::vector<Reader> readers(4);
    {
        liba::SharedBuffer shared(bytes.size(), bytes.data());
        for (auto& r : readers)
            r.buffer = shared;
        for (auto& r : readers)
            ASSERT_TRUE(r.start());
    }
    for (auto& r : readers) {
        r.join();
        EXPECT_EQ(r.sum, 500 * 16);
        EXPECT_EQ(r.buffer.data()[16], 16);
    }
}
