// A Random that answers from a script of (bound, value) pairs and fails the test when
// asked for another bound or past the script's end.
#pragma once

#include "platform/random.h"

#include <deque>
#include <gtest/gtest.h>
#include <utility>

namespace pictoralia::test {

class ScriptedRandom final : public Random {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<std::pair<int32_t, int32_t>> script)
        : m_script(script)
    {
    }
    void Expect(int32_t bound, int32_t value) { m_script.emplace_back(bound, value); }
    int32_t Below(int32_t bound) override
    {
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected draw below " << bound;
            return 0;
        }
        const auto [expected, value] = m_script.front();
        m_script.pop_front();
        EXPECT_EQ(bound, expected) << "draw with an unexpected bound";
        return value;
    }
    void Randomize() override { }
    bool Done() const { return m_script.empty(); }

private:
    std::deque<std::pair<int32_t, int32_t>> m_script;
};

} // namespace pictoralia::test
