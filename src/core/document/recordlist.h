#pragma once

#include "core/document/gadgetrecord.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

namespace tafelbau {

/// The records of a list in order, each held by a handle. Reordering,
/// removing and restoring records moves handles, not the records (some 850
/// bytes each), and a handle keeps a record alive while the history holds it
/// outside the list. Reads and writes like a vector of records; copying a
/// list copies its records, so records stay plain values to everyone else.
class RecordList
{
public:
    using Handle = std::shared_ptr<GadgetRecord>;

    template<typename Record, typename HandleIt>
    class Iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = GadgetRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = Record *;
        using reference = Record &;

        Iterator() = default;
        explicit Iterator(HandleIt it) : m_it(it) {}
        reference operator*() const { return **m_it; }
        pointer operator->() const { return m_it->get(); }
        reference operator[](difference_type n) const { return *m_it[n]; }
        Iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        Iterator operator++(int) { return Iterator(m_it++); }
        Iterator &operator--()
        {
            --m_it;
            return *this;
        }
        Iterator operator--(int) { return Iterator(m_it--); }
        Iterator &operator+=(difference_type n)
        {
            m_it += n;
            return *this;
        }
        Iterator &operator-=(difference_type n)
        {
            m_it -= n;
            return *this;
        }
        friend Iterator operator+(Iterator i, difference_type n) { return i += n; }
        friend Iterator operator+(difference_type n, Iterator i) { return i += n; }
        friend Iterator operator-(Iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const Iterator &a, const Iterator &b) { return a.m_it - b.m_it; }
        friend bool operator==(const Iterator &a, const Iterator &b) { return a.m_it == b.m_it; }
        friend auto operator<=>(const Iterator &a, const Iterator &b) { return a.m_it <=> b.m_it; }

    private:
        HandleIt m_it{};
    };
    using iterator = Iterator<GadgetRecord, std::vector<Handle>::iterator>;
    using const_iterator = Iterator<const GadgetRecord, std::vector<Handle>::const_iterator>;

    RecordList() = default;
    RecordList(const RecordList &other) { *this = other; }
    RecordList &operator=(const RecordList &other)
    {
        if (this != &other) {
            m_handles.clear();
            m_handles.reserve(other.size());
            for (const GadgetRecord &r : other)
                m_handles.push_back(std::make_shared<GadgetRecord>(r));
        }
        return *this;
    }
    RecordList(RecordList &&) noexcept = default;
    RecordList &operator=(RecordList &&) noexcept = default;

    std::size_t size() const { return m_handles.size(); }
    bool empty() const { return m_handles.empty(); }
    GadgetRecord &operator[](std::size_t i) { return *m_handles[i]; }
    const GadgetRecord &operator[](std::size_t i) const { return *m_handles[i]; }
    GadgetRecord &at(std::size_t i) { return *m_handles.at(i); }
    const GadgetRecord &at(std::size_t i) const { return *m_handles.at(i); }
    GadgetRecord &front() { return *m_handles.front(); }
    const GadgetRecord &front() const { return *m_handles.front(); }
    GadgetRecord &back() { return *m_handles.back(); }
    const GadgetRecord &back() const { return *m_handles.back(); }

    iterator begin() { return iterator(m_handles.begin()); }
    iterator end() { return iterator(m_handles.end()); }
    const_iterator begin() const { return const_iterator(m_handles.begin()); }
    const_iterator end() const { return const_iterator(m_handles.end()); }

    void reserve(std::size_t n) { m_handles.reserve(n); }
    void clear() { m_handles.clear(); }
    GadgetRecord &push_back(GadgetRecord record)
    {
        m_handles.push_back(std::make_shared<GadgetRecord>(std::move(record)));
        return *m_handles.back();
    }
    GadgetRecord &emplace_back() { return push_back(GadgetRecord{}); }

    /// The handles in list order, for moving records without copying them.
    std::vector<Handle> &handles() { return m_handles; }
    const std::vector<Handle> &handles() const { return m_handles; }

    bool operator==(const RecordList &other) const
    {
        if (size() != other.size())
            return false;
        for (std::size_t i = 0; i < size(); ++i)
            if ((*this)[i] != other[i])
                return false;
        return true;
    }

private:
    std::vector<Handle> m_handles;
};

} // namespace tafelbau
