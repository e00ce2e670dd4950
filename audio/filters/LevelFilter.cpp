#include "audio/filters/LevelFilter.h"

#include "audio/SampleFormat.h"
#include "liba/MutexLock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace audio {

namespace {

constexpr std::int32_t hump_limit = 49152;
// Frames per stretch of the peak search's summary.
constexpr std::int32_t stretch_length = 64;

std::int32_t saturate(std::int64_t value)
{
    return std::int32_t(std::clamp<std::int64_t>(value, -32768, 32767));
}

bool starts_half_wave(const std::int32_t* x, std::int32_t k)
{
    return std::int64_t { x[k - 1] } * x[k] <= 0;
}

// The first frame after t that starts a new half-wave, or frames.
std::int32_t half_wave_end(const std::int32_t* x, std::int32_t t, std::int32_t frames)
{
    std::int32_t e = t + 1;
    while (e < frames && !starts_half_wave(x, e))
        ++e;
    return e;
}

void apply_gain(std::int32_t* x, std::int32_t from, std::int32_t to, std::int64_t gain)
{
    for (std::int32_t i = from; i < to; ++i)
        x[i] = saturate(x[i] * gain / LevelFilter::unity_gain);
}

void ramp_gain(
    std::int32_t* x, std::int32_t from, std::int32_t to, std::int64_t from_gain, std::int64_t to_gain)
{
    std::int64_t n = to - from;
    for (std::int64_t i = 0; i < n; ++i)
        x[from + i]
            = saturate(x[from + i] * ((n - i) * from_gain + i * to_gain) / (n * LevelFilter::unity_gain));
}

struct ClippedRun {
    std::int32_t start;
    std::int32_t end;
    std::int32_t clip;
    double left;
    double right;
    double left_slope;
    double right_slope;
    double length;
    double top;
};

// The runs of three or more frames at full scale; a single frame off the clip
// level inside a run does not end it.
std::vector<ClippedRun> find_clipped_runs(const std::int32_t* x, std::int32_t n)
{
    auto at = [&](std::int32_t k) { return x[std::clamp(k, 0, n - 1)]; };
    std::vector<ClippedRun> runs;
    for (std::int32_t s = 0; s < n;) {
        std::int32_t c = x[s];
        if (c != 32767 && c != -32768) {
            ++s;
            continue;
        }
        std::int32_t k = s;
        while ((k + 1 < n && x[k + 1] == c) || (k + 2 < n && x[k + 2] == c))
            k += x[k + 1] == c ? 1 : 2;
        std::int32_t e = k + 1;
        if (e - s >= 3) {
            double a = std::max(std::abs(at(s - 1) - at(s - 2)), std::abs(c - at(s - 1)));
            double b = std::max(std::abs(at(e) - at(e + 1)), std::abs(c - at(e)));
            // Nothing to rebuild from when the run fills the whole half-wave.
            if (a + b > 0) {
                ClippedRun run { s, e, c, double(std::abs(at(s - 1))), double(std::abs(at(e))), a, b,
                    double(e - s + 1), 0 };
                double h = ((run.right - run.left) * 2 + run.length * b) / (a + b);
                run.top = std::min(std::trunc(a * h / 2 + run.left), double(hump_limit));
                runs.push_back(run);
            }
        }
        s = e;
    }
    return runs;
}

// Magnitude at step j of the run: a parabola leaving the left neighbour with
// its slope and landing on the right one with its own, flat at the hump limit.
double hump_value(const ClippedRun& run, double j)
{
    double a = run.left_slope;
    double b = run.right_slope;
    double h = ((run.right - run.left) * 2 + run.length * b) / (a + b);
    double rise = h;
    double fall = run.length - h;
    double top = run.left + a * h / 2;
    if (top >= hump_limit) {
        top = hump_limit;
        rise = 2 * (hump_limit - run.left) / a;
        fall = 2 * (hump_limit - run.right) / b;
    }
    double to_end = run.length - j;
    if (j < rise)
        return run.left + j * a - j * j * a / (2 * rise);
    if (to_end < fall)
        return run.right + to_end * b - to_end * to_end * b / (2 * fall);
    return top;
}

// Loads one channel from frame `first` on, on the 16-bit scale, and sums up
// each stretch of it by its largest magnitude; returns whether any sample
// stands at full scale (and might belong to a clipped run).
template<typename Format>
bool load_channel(const std::uint8_t* data, std::int32_t channels, std::int32_t channel, std::int32_t first,
    std::vector<std::int32_t>& x, std::vector<std::int32_t>& stretch_peaks)
{
    const auto frames = std::int32_t(x.size());
    const std::int32_t stride = channels * Format::bytes;
    const std::int32_t scale = Format::bytes == 1 ? 256 : 1;
    const std::uint8_t* from = data + channel * Format::bytes;
    stretch_peaks.assign(std::size_t((frames + stretch_length - 1) / stretch_length), 0);
    bool full_scale = false;
    for (std::int32_t start = first; start < frames;) {
        std::int32_t end = std::min(frames, (start / stretch_length + 1) * stretch_length);
        std::int32_t peak = 0;
        for (std::int32_t i = start; i < end; ++i) {
            std::int32_t value = Format::load(from + std::size_t(i) * std::size_t(stride)) * scale;
            x[std::size_t(i)] = value;
            peak = std::max(peak, std::abs(value));
        }
        stretch_peaks[std::size_t(start / stretch_length)] = peak;
        full_scale = full_scale || peak >= 32767;
        start = end;
    }
    return full_scale;
}

template<typename Format>
void store_channel(std::uint8_t* data, std::int32_t channels, std::int32_t channel,
    const std::vector<std::int32_t>& x, std::int32_t from, std::int32_t to)
{
    std::int32_t stride = channels * Format::bytes;
    for (std::size_t i = from; i < std::size_t(to); ++i) {
        std::int32_t value = Format::bytes == 1 ? std::clamp(x[i] >> 8, -128, 127) : saturate(x[i]);
        Format::store(data + i * stride + channel * Format::bytes, value);
    }
}

}

LevelFilter::LevelFilter()
{
    set_identity();
}

void LevelFilter::set_identity()
{
    for (std::int32_t i = 0; i < curve_size; ++i)
        m_curve[i] = i + 1;
}

void LevelFilter::set_table(const std::int32_t* table)
{
    liba::MutexLock lock(get_lock());
    m_identity = !table;
    if (table)
        std::copy(table, table + curve_size, m_curve);
    else
        set_identity();
}

bool LevelFilter::set_curve(std::int32_t amount, std::int32_t noise, std::int32_t ceiling)
{
    if (amount < -256 || amount > 256 || noise < 0 || noise > 256 || ceiling < 0 || ceiling > 256)
        return false;
    if (amount == 0 && noise == 0 && ceiling == 0) {
        set_table(nullptr);
        return true;
    }
    std::int32_t curve[curve_size];
    double e = amount <= 0 ? 1 - amount / 32.0 : 1 + amount / 32.0;
    for (std::int32_t x = 1; x <= curve_size; ++x) {
        double u = x * 0.00390625;
        if (amount <= 0)
            curve[x - 1] = 256 - std::int32_t(256 * std::pow(1 - std::pow(u, e), 1 / e));
        else
            curve[x - 1] = std::int32_t(256 * std::pow(1 - std::pow(1 - u, e), 1 / e));
    }

    std::int32_t knee = std::int32_t(16 * std::sqrt(double(noise)) + 1.0);
    std::int32_t knee_level = curve[std::min(knee, curve_size - 1)];
    for (std::int32_t i = 0; i < noise; ++i)
        curve[i] = 0;
    for (std::int32_t i = noise; i < knee && i < curve_size; ++i)
        curve[i] = ((i - noise) * knee_level) / (knee - noise);

    std::int32_t t = (256 - ceiling) * (256 - ceiling) / 256;
    for (std::int32_t& entry : curve) {
        if (entry > t)
            entry = t + ((entry - t) * (256 - t - ceiling)) / (256 - t) + 1;
    }

    liba::MutexLock lock(get_lock());
    std::copy(curve, curve + curve_size, m_curve);
    m_identity = false;
    return true;
}

void LevelFilter::reset()
{
    liba::MutexLock lock(get_lock());
    clear_state();
}

void LevelFilter::restart()
{
    liba::MutexLock lock(get_lock());
    m_gatherer.clear();
    clear_state();
}

double LevelFilter::held_seconds()
{
    liba::MutexLock lock(get_lock());
    return m_gatherer.pending_seconds() + m_gatherer.output_seconds();
}

void LevelFilter::clear_state()
{
    std::fill(std::begin(m_previous_peak), std::end(m_previous_peak), 0);
    std::fill(std::begin(m_position), std::end(m_position), 0);
    for (int c = 0; c < 2; ++c) {
        m_known[c].clear();
        m_measured[c].clear();
    }
}

std::int64_t LevelFilter::lookup(std::int32_t sample)
{
    liba::MutexLock lock(get_lock());
    return lookup_unlocked(sample);
}

std::int64_t LevelFilter::lookup_unlocked(std::int32_t sample) const
{
    std::int64_t m = std::min<std::int64_t>(std::abs(std::int64_t { sample }), 32768);
    std::int64_t i = m / 128;
    std::int64_t r = m % 128;
    std::int64_t lo = i == 0 ? 0 : m_curve[i - 1];
    std::int64_t hi = i == curve_size ? 256 : m_curve[i];
    std::int64_t v = 128 * ((128 - r) * lo + r * hi) * 128;
    constexpr std::int64_t full_scale = std::int64_t { 1 } << 29;
    return v == full_scale && sample >= 1 ? full_scale - 1 : v;
}

std::int64_t LevelFilter::gain_of(std::int32_t peak) const
{
    return peak == 0 ? 0 : lookup_unlocked(peak) / std::abs(std::int64_t { peak });
}

void LevelFilter::declip(std::int32_t* x, std::int32_t n)
{
    // Most half-waves are not clipped at all: spare them the run search.
    if (n < 3 || std::none_of(x, x + n, [](std::int32_t v) { return v == 32767 || v == -32768; }))
        return;
    std::vector<ClippedRun> runs = find_clipped_runs(x, n);
    const ClippedRun* highest = nullptr;
    for (const ClippedRun& run : runs) {
        if (!highest || run.top > highest->top)
            highest = &run;
    }
    if (!highest)
        return;
    std::int64_t clip = std::abs(highest->clip);
    auto top = std::int64_t(highest->top);
    if (clip >= top)
        return;
    std::int64_t q = clip * unity_gain / top;

    std::int32_t next = 0;
    for (const ClippedRun& run : runs) {
        for (; next < run.start; ++next)
            x[next] = std::int32_t(x[next] * q / unity_gain);
        std::int32_t sign = run.clip < 0 ? -1 : 1;
        for (std::int32_t j = 1; j < run.end - run.start + 1; ++j)
            x[run.start + j - 1] = sign * std::int32_t(hump_value(run, j) * (double(q) / unity_gain));
        next = run.end;
    }
    for (; next < n; ++next)
        x[next] = std::int32_t(x[next] * q / unity_gain);
}

LevelFilter::Fallback LevelFilter::walk(std::int32_t* x, std::int32_t frames, std::int32_t limit,
    std::int32_t radius, bool final, std::int32_t channel)
{
    std::int32_t& position = m_position[channel];
    std::int32_t& previous = m_previous_peak[channel];
    Fallback fallback { previous, position, 0 };
    const std::vector<HalfWave>& known = m_known[channel];
    std::vector<HalfWave>& measured = m_measured[channel];
    measured.clear();
    std::size_t next_known = 0;
    for (std::int32_t t = position; t < limit && t < frames;) {
        while (next_known < known.size() && known[next_known].start < t)
            ++next_known;
        HalfWave wave = next_known < known.size() && known[next_known].start == t
            ? known[next_known]
            : measure(x, t, frames, limit, radius, position);
        std::int32_t e = wave.end;
        if (e == frames && !final)
            break;
        // Its peak was searched to its end, and its dominance has all it needs.
        if (e <= limit)
            measured.push_back(wave);
        std::int32_t peak = wave.peak;
        std::int32_t magnitude = std::abs(x[peak]);
        if (magnitude == 0) {
            t = e;
            continue;
        }
        std::int32_t dominance = wave.dominance;
        if (dominance >= fallback.dominance)
            fallback = { x[peak], e, dominance };
        if (dominance < radius) {
            t = e;
            continue;
        }

        if (e >= frames - 1)
            e = frames;
        std::int32_t start = position;
        std::int32_t new_peak = x[peak];
        std::int64_t old_gain = gain_of(previous);
        std::int64_t new_gain = gain_of(new_peak);
        if (std::abs(previous) >= magnitude) {
            // Falling: hold the old gain through the loud part, then let go.
            std::int32_t release = start;
            for (std::int32_t k = t - 1; k >= start + 1 && std::abs(x[k]) <= magnitude; --k) {
                if (starts_half_wave(x, k))
                    release = k;
            }
            apply_gain(x, start, release, old_gain);
            ramp_gain(x, release, t, old_gain, new_gain);
            apply_gain(x, t, e, new_gain);
        } else {
            // Rising: reach the new gain before the level does.
            std::int32_t attack = t;
            for (std::int32_t k = start + 1; k < t && std::abs(x[k]) <= std::abs(previous); ++k) {
                if (starts_half_wave(x, k))
                    attack = k;
            }
            ramp_gain(x, start, attack, old_gain, new_gain);
            apply_gain(x, attack, e, new_gain);
        }
        position = e;
        previous = new_peak;
        t = e;
        // What was measured before the new position had another segment start.
        measured.clear();
    }
    return fallback;
}

LevelFilter::HalfWave LevelFilter::measure(const std::int32_t* x, std::int32_t t, std::int32_t frames,
    std::int32_t limit, std::int32_t radius, std::int32_t position) const
{
    // The end and the peak (the first largest magnitude before the limit) in one pass.
    HalfWave wave { t, t + 1, t, 0 };
    std::int32_t magnitude = std::abs(x[t]);
    for (; wave.end < frames && !starts_half_wave(x, wave.end); ++wave.end) {
        if (wave.end < limit && std::abs(x[wave.end]) > magnitude) {
            magnitude = std::abs(x[wave.end]);
            wave.peak = wave.end;
        }
    }
    // The nearest larger sample on either side, no nearer than the radius;
    // on the left only inside the segment. Frames before it have had their
    // gain, but everything from the segment on is as it was loaded.
    if (magnitude > 0)
        wave.dominance = nearest_larger(x, wave.peak, position, frames, radius);
    return wave;
}

void LevelFilter::carry_measured(std::int32_t channel, std::int32_t done)
{
    std::vector<HalfWave>& known = m_known[channel];
    known.clear();
    for (HalfWave wave : m_measured[channel]) {
        wave.start -= done;
        wave.end -= done;
        wave.peak -= done;
        if (wave.start >= m_position[channel])
            known.push_back(wave);
    }
    m_measured[channel].clear();
}

void LevelFilter::refresh_stretch_peaks(const std::int32_t* x, std::int32_t first, std::int32_t frames)
{
    for (std::int32_t start = first; start < frames;) {
        std::int32_t end = std::min(frames, (start / stretch_length + 1) * stretch_length);
        std::int32_t peak = 0;
        for (std::int32_t i = start; i < end; ++i)
            peak = std::max(peak, std::abs(x[i]));
        m_stretch_peaks[std::size_t(start / stretch_length)] = peak;
        start = end;
    }
}

std::int32_t LevelFilter::nearest_larger(const std::int32_t* x, std::int32_t peak, std::int32_t first,
    std::int32_t frames, std::int32_t within) const
{
    const std::int32_t magnitude = std::abs(x[peak]);
    const std::int32_t end = std::min(frames, peak + within);
    // Busy audio mostly has a larger sample a few frames on: look there first.
    std::int32_t i = peak + 1;
    for (const std::int32_t near = std::min(end, peak + stretch_length / 8); i < near; ++i) {
        if (std::abs(x[i]) > magnitude)
            return left_nearest(x, peak, first, magnitude, i - peak);
    }
    // Then whole stretches, looked into only when they hold a larger sample.
    while (i < end) {
        std::int32_t stretch_end = std::min(end, (i / stretch_length + 1) * stretch_length);
        if (i % stretch_length != 0 || m_stretch_peaks[std::size_t(i / stretch_length)] > magnitude) {
            for (; i < stretch_end; ++i) {
                if (std::abs(x[i]) > magnitude)
                    return left_nearest(x, peak, first, magnitude, i - peak);
            }
        }
        i = stretch_end;
    }
    return left_nearest(x, peak, first, magnitude, within);
}

std::int32_t LevelFilter::left_nearest(const std::int32_t* x, std::int32_t peak, std::int32_t first,
    std::int32_t magnitude, std::int32_t within) const
{
    // Only inside the segment, and nearer than `within`; whole stretches
    // count only when they lie inside the segment.
    const std::int32_t end = std::max(first, peak - within + 1);
    std::int32_t i = peak - 1;
    for (const std::int32_t near = std::max(end, peak - stretch_length / 8); i >= near; --i) {
        if (std::abs(x[i]) > magnitude)
            return peak - i;
    }
    while (i >= end) {
        std::int32_t stretch_start = std::max(end, i / stretch_length * stretch_length);
        if (i % stretch_length != stretch_length - 1 || i - stretch_length + 1 < first
            || m_stretch_peaks[std::size_t(i / stretch_length)] > magnitude) {
            for (; i >= stretch_start; --i) {
                if (std::abs(x[i]) > magnitude)
                    return peak - i;
            }
        }
        i = stretch_start - 1;
    }
    return within;
}

std::size_t LevelFilter::process(std::uint8_t* data, std::size_t length, std::int32_t rate,
    std::int32_t channels, std::int32_t bits, bool final)
{
    if (!data || length < 1 || rate < 1 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16))
        return 0;
    std::int32_t frame_bytes = channels * bits / 8;
    auto frames = std::int32_t(std::min<std::size_t>(length / frame_bytes, INT32_MAX / 2));
    std::int32_t radius = rate / 10;
    std::int32_t limit = frames - (final ? 0 : radius);
    if (limit < 1)
        return 0;

    Fallback fallbacks[2];
    std::vector<std::int32_t>& x = m_samples;
    // Blocks vary in length: room to spare saves growing for each longer one.
    if (x.capacity() < std::size_t(frames)) {
        x.reserve(std::size_t(frames) + std::size_t(frames) / 2);
        m_stretch_peaks.reserve(x.capacity() / stretch_length + 1);
    }
    x.resize(static_cast<std::size_t>(frames));
    for (std::int32_t c = 0; c < channels; ++c) {
        if (m_position[c] < 0 || m_position[c] > frames) {
            m_position[c] = std::clamp(m_position[c], 0, frames);
            m_known[c].clear();
        }
        std::int32_t first = m_position[c];
        // Clipped runs stand at full scale: without any, there is nothing to repair.
        bool repaired = false;
        if (bits == 8) {
            load_channel<Samples8>(data, channels, c, first, x, m_stretch_peaks);
        } else if (load_channel<Samples16>(data, channels, c, first, x, m_stretch_peaks)) {
            for (std::int32_t h = first; h < limit;) {
                std::int32_t e = half_wave_end(x.data(), h, frames);
                if (e == frames && !final)
                    break;
                declip(x.data() + h, e - h);
                h = e;
            }
            refresh_stretch_peaks(x.data(), first, frames);
            repaired = true;
        }
        fallbacks[c] = walk(x.data(), frames, limit, radius, final, c);
        // The next block repairs its samples anew, so what was measured on
        // these may not hold for it.
        if (repaired)
            m_measured[c].clear();
        // Gains reach only up to the new position; beyond it the samples are
        // as they were unless the repair changed them.
        std::int32_t changed = repaired ? frames : m_position[c];
        if (bits == 8)
            store_channel<Samples8>(data, channels, c, x, first, changed);
        else
            store_channel<Samples16>(data, channels, c, x, first, changed);
    }

    std::int32_t done = *std::min_element(m_position, m_position + channels);
    if (done == 0 && frames > rate) {
        // Over a second without a dominant peak: settle for the best one.
        done = std::min(fallbacks[0].end, channels == 2 ? fallbacks[1].end : INT32_MAX);
        if (done == 0) {
            clear_state();
            done = frames;
        } else {
            for (std::int32_t c = 0; c < channels; ++c) {
                if (std::abs(fallbacks[c].peak) > std::abs(m_previous_peak[c]))
                    m_previous_peak[c] = fallbacks[c].peak;
                m_position[c] = fallbacks[c].end - done;
                // The segment starts elsewhere: dominance reaches other samples.
                m_measured[c].clear();
                m_known[c].clear();
            }
        }
    } else {
        for (std::int32_t c = 0; c < channels; ++c) {
            m_position[c] -= done;
            carry_measured(c, done);
        }
    }
    if (final) {
        // Whatever follows the last dominant peak goes on as it is.
        clear_state();
        done = frames;
    }
    return std::size_t(done) * frame_bytes;
}

std::size_t LevelFilter::process_block(const PCMData& in, PCMData& out, bool final)
{
    liba::SharedBuffer bytes = in.buffer;
    std::size_t used
        = process(bytes.data_in_place(), in.size(), in.sample_rate, in.channels, in.bits_per_sample, final);
    used = std::min(used, in.size());
    out = used == 0
        ? PCMData()
        : PCMData(liba::SharedBuffer(in.buffer, 0, used), in.channels, in.bits_per_sample, in.sample_rate);
    return used;
}

void LevelFilter::on_data(const PCMData& data)
{
    liba::MutexLock lock(get_lock());
    auto push_on = [this](const PCMData& done) { push(done); };
    if (m_identity) {
        // Audio held back before the curve went flat goes first.
        m_gatherer.finish();
        m_gatherer.hand_out(push_on);
        push(data);
        return;
    }
    m_gatherer.put(data, push_on);
}

PCMData LevelFilter::get_data(std::int32_t frames)
{
    liba::MutexLock lock(get_lock());
    auto pull_up = [this](std::int32_t count) { return pull(count); };
    if (!m_identity)
        return m_gatherer.get(frames, pull_up);
    // Audio held back before the curve went flat comes first.
    PCMData held = m_gatherer.take(frames);
    if (held.is_empty() && m_gatherer.has_pending()) {
        m_gatherer.finish();
        held = m_gatherer.take(frames);
    }
    return held.is_empty() ? pull(frames) : held;
}

}
