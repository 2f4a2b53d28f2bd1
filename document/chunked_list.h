#pragma once

// A list kept in fixed-size chunks that several versions of it share: a version made from
// the items as they are now takes over every chunk of the version before whose items are
// unchanged, so a change of one item costs one chunk and the table of chunks.

#include "document/mesh_vertex.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace MyApp {

template <class Item> class ChunkedList {
public:
    static constexpr std::size_t kChunkBytes = 8192;
    static constexpr std::size_t kChunkItems = std::max<std::size_t>(1, kChunkBytes / sizeof(Item));
    using Chunk = std::vector<Item>;

    ChunkedList() = default;

    // The items, sharing with `previous` every chunk that holds the same bits at the same place.
    ChunkedList(const std::vector<Item>& items, const ChunkedList& previous)
        : m_size(items.size()) {
        m_chunks.reserve((m_size + kChunkItems - 1) / kChunkItems);
        for (std::size_t start = 0; start < m_size; start += kChunkItems) {
            const std::size_t end = std::min(m_size, start + kChunkItems);
            const std::size_t chunk = start / kChunkItems;
            if (chunk < previous.m_chunks.size() && Holds(*previous.m_chunks[chunk], items, start))
                m_chunks.push_back(previous.m_chunks[chunk]);
            else
                m_chunks.push_back(
                    std::make_shared<const Chunk>(items.begin() + start, items.begin() + end));
        }
    }

    std::size_t Size() const { return m_size; }
    const std::vector<std::shared_ptr<const Chunk>>& Chunks() const { return m_chunks; }

    // True when both hold the same chunks, which is how versions made one from the other
    // show that nothing changed.
    bool SharesAll(const ChunkedList& other) const {
        return m_size == other.m_size && m_chunks == other.m_chunks;
    }

    // The bytes of the chunks that `previous` does not hold at the same place.
    std::size_t BytesNotIn(const ChunkedList& previous) const {
        std::size_t bytes = 0;
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            if (c >= previous.m_chunks.size() || m_chunks[c] != previous.m_chunks[c])
                bytes += m_chunks[c]->size() * sizeof(Item);
        }
        return bytes;
    }

    void CopyTo(std::vector<Item>& items) const {
        items.clear();
        items.reserve(m_size);
        for (const auto& chunk : m_chunks)
            items.insert(items.end(), chunk->begin(), chunk->end());
    }

    // The first place where the lists differ: the shorter one's size when it is the start
    // of the other, so the size itself for identical lists.
    std::size_t FirstDifference(const ChunkedList& other) const {
        const std::size_t shorter = std::min(m_size, other.m_size);
        std::size_t place = 0;
        for (std::size_t c = 0; place + kChunkItems <= shorter && m_chunks[c] == other.m_chunks[c];
             ++c)
            place += kChunkItems;
        while (place < shorter && Identical(At(place), other.At(place)))
            ++place;
        return place;
    }

    // One past the last place where two lists of the same size differ; 0 when none does.
    std::size_t LastDifference(const ChunkedList& other) const {
        std::size_t end = m_size;
        for (std::size_t c = m_chunks.size(); c > 0 && m_chunks[c - 1] == other.m_chunks[c - 1];
             --c)
            end = (c - 1) * kChunkItems;
        while (end > 0 && Identical(At(end - 1), other.At(end - 1)))
            --end;
        return end;
    }

private:
    static bool Holds(const Chunk& chunk, const std::vector<Item>& items, std::size_t start) {
        if (chunk.size() != std::min(kChunkItems, items.size() - start))
            return false;
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (!Identical(chunk[i], items[start + i]))
                return false;
        }
        return true;
    }

    const Item& At(std::size_t place) const {
        return (*m_chunks[place / kChunkItems])[place % kChunkItems];
    }

    std::vector<std::shared_ptr<const Chunk>> m_chunks;
    std::size_t m_size = 0;
};

} // namespace MyApp
