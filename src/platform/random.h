// The one random generator of the program: item order, effect choice, shuffles,
// random placements and the random effects all draw from it.
#pragma once

#include <cstdint>
#include <mutex>
#include <random>

namespace pictoralia {

// Thread-safe: the transition worker draws while the GUI thread may draw too.
class Random {
public:
    virtual ~Random() = default;
    // A uniform integer in 0..bound-1; 0 when bound is 0 or less.
    virtual int32_t Below(int32_t bound) = 0;
    // Reseeds from the clock (program start, start of every transition).
    virtual void Randomize() = 0;
};

class SeededRandom final : public Random {
public:
    explicit SeededRandom(uint64_t seed = 0x5eed) : m_engine(seed) {}
    int32_t Below(int32_t bound) override;
    void Randomize() override;
    void Seed(uint64_t seed);

private:
    std::mutex m_mutex;
    std::mt19937_64 m_engine;
};

// The process-wide generator. Tests that need their own pass a Random explicitly.
Random &DefaultRandom();

} // namespace pictoralia
