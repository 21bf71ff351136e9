// Recursive readers and runners count how deeply they have entered themselves,
// so that a hostile scene file cannot exhaust the stack.
#pragma once

namespace KUV {

class NestingGuard {
public:
    NestingGuard(int& depth, int limit)
        : m_Depth(depth)
        , m_Exceeded(++depth > limit)
    {
    }
    ~NestingGuard() { --m_Depth; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

    bool Exceeded() const { return m_Exceeded; }

private:
    int& m_Depth;
    bool m_Exceeded;
};

} // namespace KUV
