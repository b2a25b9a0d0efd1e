// The seeded generator behind DefaultRandom().
#include "platform/random.h"

#include <chrono>

namespace pictoralia {

int32_t SeededRandom::Below(int32_t bound)
{
    if (bound <= 0)
        return 0;
    std::lock_guard lock(m_mutex);
    std::uniform_int_distribution<int32_t> dist(0, bound - 1);
    return dist(m_engine);
}

void SeededRandom::Randomize()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    Seed(static_cast<uint64_t>(now));
}

void SeededRandom::Seed(uint64_t seed)
{
    std::lock_guard lock(m_mutex);
    m_engine.seed(seed);
}

Random &DefaultRandom()
{
    static SeededRandom generator;
    return generator;
}

} // namespace pictoralia
