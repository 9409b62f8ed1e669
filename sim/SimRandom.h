#pragma once
/// The simulator's one source of chance: splitmix64, tiny and identical on every platform, so a
/// seed repeats a run exactly.

#include <QtGlobal>

namespace r73::sim {

/// One splitmix64 step: mixes a 64-bit value into a well spread one.
inline quint64 simMix(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class SimRandom
{
public:
    explicit SimRandom(quint64 seed) : m_state(seed) {}

    quint64 next() { return simMix(m_state += 0x9E3779B97F4A7C15ull); }
    /// Uniform in [lo, hi]; lo when the range is empty.
    int between(int lo, int hi)
    {
        if (hi <= lo) return lo;
        return lo + int(next() % quint64(qint64(hi) - lo + 1));
    }

private:
    quint64 m_state;
};

/// Chance without state, for noise on a reading: the same (seed, tick, salt) gives the same value
/// however often it is read, so reading never changes what the machine does.
inline int simNoise(quint64 seed, quint64 tick, quint64 salt, int lo, int hi)
{
    if (hi <= lo) return lo;
    const quint64 z = simMix(seed ^ simMix(tick * 0x9E3779B97F4A7C15ull + salt));
    return lo + int(z % quint64(qint64(hi) - lo + 1));
}

} // namespace r73::sim
