#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace meridax::sample {

// xoshiro256** seeded through splitmix64. Every draw is integer arithmetic or exact
// double arithmetic, so a seed gives the same world on every compiler and library
// (the standard distributions do not promise that).
class Rng {
 public:
  explicit Rng(std::uint64_t seed) {
    for (auto& s : state_) s = SplitMix(seed);
  }

  std::uint64_t Next() {
    const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
  }

  // A number in [0, n); n > 0.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }
  // A whole number in [lo, hi].
  int Range(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
  }
  // A double in [0, 1) with 53 random bits.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  bool Chance(double p) { return Unit() < p; }
  // Roughly normal around 0 with spread 1: a sum of uniforms, no library functions.
  double Bell() {
    double s = 0;
    for (int i = 0; i < 6; ++i) s += Unit();
    return (s - 3.0) * 1.41421356;
  }

  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Below(static_cast<std::uint32_t>(v.size()))];
  }
  template <class T>
  void Shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i) {
      std::swap(v[i - 1], v[Below(static_cast<std::uint32_t>(i))]);
    }
  }

  // An independent stream for one part of the world, so that changing how much one part
  // draws does not change the others.
  Rng Fork(std::uint64_t stream) const { return Rng(state_[0] ^ SplitMix(stream)); }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  static std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  static std::uint64_t SplitMix(std::uint64_t&& x) { return SplitMix(x); }

  std::uint64_t state_[4];
};

}  // namespace meridax::sample
