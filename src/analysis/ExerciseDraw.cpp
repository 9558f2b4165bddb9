#include "analysis/ExerciseDraw.h"

#include <numeric>

namespace {

class TSplitMix64 {
public:
    explicit TSplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() { return SplitMix64Next(state_); }
    // Uniform in 0 .. bound - 1 without the bias of a plain remainder
    // (Lemire's rejection on the remainder, kept simple).
    std::uint64_t Below(std::uint64_t bound)
    {
        const std::uint64_t limit = ~std::uint64_t(0) - (~std::uint64_t(0) % bound);
        std::uint64_t x;
        do
            x = Next();
        while (x >= limit);
        return x % bound;
    }

private:
    std::uint64_t state_;
};

} // namespace

// Steele, Lea and Flood (2014), with the constants of their paper.
std::uint64_t SplitMix64Next(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t ExerciseSeed(const QString& text)
{
    const QString t = text.trimmed();
    bool number = false;
    const std::uint64_t n = t.toULongLong(&number, 10);
    if (number && !t.startsWith(QLatin1Char('+')))
        return n;
    // FNV-1a, 64 bit (Fowler, Noll, Vo): offset basis and prime of the published parameters.
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : t.toUtf8()) {
        h ^= std::uint8_t(c);
        h *= 0x100000001B3ULL;
    }
    return h;
}

std::vector<int> DrawExerciseSamples(std::uint64_t seed, int size, int count)
{
    if (size <= 0 || count <= 0)
        return {};
    std::vector<int> deck(size_t(size), 0);
    std::iota(deck.begin(), deck.end(), 0);
    TSplitMix64 random(seed);
    const int n = std::min(count, size);
    for (int i = 0; i < n; ++i) {
        const int j = i + int(random.Below(std::uint64_t(size - i)));
        std::swap(deck[size_t(i)], deck[size_t(j)]);
    }
    deck.resize(size_t(n));
    return deck;
}
