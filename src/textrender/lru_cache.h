// CLruCache: a map of bounded total cost that forgets its least recently used entries first.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <unordered_map>
#include <utility>

namespace quillary::textrender {

// Values are kept by value; hold them in a std::shared_ptr when a caller must keep one across a
// later Insert (which may evict it). Each entry has a cost (bytes, or 1 per entry); Insert
// evicts from the cold end until the total is within the budget again, but never the entry just
// inserted.
template <typename Key, typename Value, typename Hash = std::hash<Key>> class CLruCache {
public:
    explicit CLruCache(size_t budget) : m_budget(budget) {}

    // The value of `key`, made the most recently used, or nullptr.
    Value* Find(const Key& key)
    {
        const auto it = m_index.find(key);
        if (it == m_index.end()) {
            return nullptr;
        }
        m_order.splice(m_order.begin(), m_order, it->second);
        return &it->second->value;
    }

    Value& Insert(const Key& key, Value value, size_t cost)
    {
        if (const auto it = m_index.find(key); it != m_index.end()) {
            m_total -= it->second->cost;
            m_order.erase(it->second);
            m_index.erase(it);
        }
        m_order.push_front(SEntry{key, std::move(value), cost});
        m_index.emplace(key, m_order.begin());
        m_total += cost;
        while (m_total > m_budget && m_order.size() > 1) {
            const SEntry& cold = m_order.back();
            m_total -= cold.cost;
            m_index.erase(cold.key);
            m_order.pop_back();
        }
        return m_order.front().value;
    }

    void Clear()
    {
        m_index.clear();
        m_order.clear();
        m_total = 0;
    }

    size_t Size() const { return m_order.size(); }
    size_t TotalCost() const { return m_total; }
    size_t Budget() const { return m_budget; }

private:
    struct SEntry {
        Key key;
        Value value;
        size_t cost;
    };
    size_t m_budget;
    size_t m_total = 0;
    std::list<SEntry> m_order; // most recently used first
    std::unordered_map<Key, typename std::list<SEntry>::iterator, Hash> m_index;
};

} // namespace quillary::textrender
