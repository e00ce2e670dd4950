#include "model/PlayOrder.h"

#include "platform/core/Clock.h"

#include <algorithm>
#include <random>

namespace {

constexpr int round_count = 5;

std::minstd_rand& engine()
{
    static std::minstd_rand generator(platform::tick_count());
    return generator;
}

}

void PlayOrder::seed(std::uint32_t seed)
{
    engine().seed(seed);
}

void PlayOrder::clear()
{
    *this = PlayOrder();
}

void PlayOrder::build(int item_count, int current, PlayMode mode)
{
    const int number = static_cast<int>(mode);
    m_shuffle = mode == PlayMode::PlaylistShuffle;
    m_wrap = number >= static_cast<int>(PlayMode::PlaylistRepeat);
    // Guarded against overflow: a count that cannot be held is no order.
    m_count = m_shuffle && item_count <= INT32_MAX / round_count ? round_count * item_count : item_count;
    m_item_count = item_count;
    if (item_count <= 0 || (m_shuffle && m_count == item_count)) {
        clear();
        return;
    }
    m_entries.resize(static_cast<std::size_t>(m_count));
    for (int i = 0; i < m_count; ++i)
        m_entries[static_cast<std::size_t>(i)] = i % item_count;
    const bool known = current >= 0 && current < item_count;
    if (!m_shuffle) {
        m_position = known ? current : 0;
        return;
    }
    shuffle_rounds();
    if (known)
        rotate_to(current);
    m_position = 0;
}

void PlayOrder::shuffle_rounds()
{
    for (int round = 0; round < round_count; ++round) {
        auto first = m_entries.begin() + std::ptrdiff_t(round) * m_item_count;
        std::shuffle(first, first + m_item_count, engine());
    }
}

// Adds one offset to every entry, so the order starts with the current item
// and each round stays a permutation.
void PlayOrder::rotate_to(int current)
{
    const int n = m_item_count;
    int d = current - m_entries.front();
    if (d < 0)
        d = n - (-d % n);
    for (int& entry : m_entries)
        entry = (entry + d) % n;
}

void PlayOrder::rebuild(PlayMode mode)
{
    if (m_count <= 0)
        return;
    const int current = m_entries[static_cast<std::size_t>(m_position % m_count)];
    build(m_item_count, current, mode);
}

int PlayOrder::advance(int step)
{
    if (m_count < 1)
        return 0;
    const std::int64_t moved = std::int64_t(m_position) + step;
    if (m_wrap)
        m_position = static_cast<int>(std::clamp<std::int64_t>(moved, 0, INT32_MAX));
    else
        m_position = static_cast<int>(std::clamp<std::int64_t>(moved, 0, m_count - 1));
    return m_entries[static_cast<std::size_t>(m_position % m_count)];
}

bool PlayOrder::has_next() const
{
    return m_count >= 1 && (m_wrap || m_position < m_count - 1);
}
