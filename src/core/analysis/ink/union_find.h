#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

namespace velmora {

/// Disjoint sets over the indices 0..size-1, for labelling connected runs of pixels
/// (ConnectedRuns, the one finder of connected pieces of ink). The
/// representative of a set is its smallest index.
class UnionFind
{
public:
    explicit UnionFind(std::size_t size) : m_parent(size) { std::iota(m_parent.begin(), m_parent.end(), 0); }

    std::int32_t find(std::int32_t i)
    {
        while (m_parent[i] != i) {
            m_parent[i] = m_parent[m_parent[i]];
            i = m_parent[i];
        }
        return i;
    }

    void unite(std::int32_t a, std::int32_t b)
    {
        a = find(a);
        b = find(b);
        if (a != b)
            m_parent[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::int32_t> m_parent;
};

} // namespace velmora
