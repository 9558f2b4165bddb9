#pragma once
// Drawing the samples of a class exercise from a library by a seed: the same
// seed gives the same samples on every machine and with every compiler, so
// the teacher's key printed at home matches the learners' screens at school.
//
// The generator is SplitMix64 (G. L. Steele, D. Lea, C. H. Flood, "Fast
// splittable pseudorandom number generators", OOPSLA 2014), whose output is
// fixed by its integer arithmetic alone; the standard library's
// distributions are not (their algorithms differ between implementations).

#include <QString>

#include <cstdint>
#include <vector>

// One step of SplitMix64: advances the state and returns the next output.
std::uint64_t SplitMix64Next(std::uint64_t& state);

// A seed as a teacher writes it: a whole number from 0 to 2^64 - 1 is that
// number; any other text is taken by its UTF-8 bytes through FNV-1a (64 bit),
// so that "class 7b" works as well as "42". Blanks around it do not count.
std::uint64_t ExerciseSeed(const QString& text);

// `count` distinct indices from 0 .. size - 1 in the order drawn (a partial
// Fisher-Yates shuffle with SplitMix64); fewer when the library is smaller.
std::vector<int> DrawExerciseSamples(std::uint64_t seed, int size, int count);
