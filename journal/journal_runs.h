// Runs read from a journal folder, shared rather than copied: a refresh of a class's folder hands
// the window the runs its cache already holds, a hundred thousand of them, at the cost of a
// pointer each. Read like a vector of runs.
#pragma once

#include "journal/journal_file.h"

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

class JournalRuns {
  public:
    using Shared = std::shared_ptr<const JournalRun>;

    class const_iterator {
      public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = JournalRun;
        using difference_type = std::ptrdiff_t;
        using pointer = const JournalRun*;
        using reference = const JournalRun&;

        const_iterator() = default;
        explicit const_iterator(std::vector<Shared>::const_iterator at) : at(at) {}
        reference operator*() const { return **at; }
        pointer operator->() const { return at->get(); }
        reference operator[](difference_type n) const { return *at[n]; }
        const_iterator& operator++() { return ++at, *this; }
        const_iterator operator++(int) { return const_iterator(at++); }
        const_iterator& operator--() { return --at, *this; }
        const_iterator operator--(int) { return const_iterator(at--); }
        const_iterator& operator+=(difference_type n) { return at += n, *this; }
        const_iterator& operator-=(difference_type n) { return at -= n, *this; }
        const_iterator operator+(difference_type n) const { return const_iterator(at + n); }
        friend const_iterator operator+(difference_type n, const_iterator i) { return i + n; }
        const_iterator operator-(difference_type n) const { return const_iterator(at - n); }
        difference_type operator-(const const_iterator& other) const { return at - other.at; }
        bool operator==(const const_iterator&) const = default;
        auto operator<=>(const const_iterator&) const = default;

      private:
        std::vector<Shared>::const_iterator at;
    };
    using iterator = const_iterator;
    using value_type = JournalRun;

    JournalRuns() = default;
    void reserve(std::size_t n) { shared.reserve(n); }
    void push_back(Shared run) { shared.push_back(std::move(run)); }

    std::size_t size() const { return shared.size(); }
    bool empty() const { return shared.empty(); }
    const JournalRun& operator[](std::size_t i) const { return *shared[i]; }
    const JournalRun& front() const { return *shared.front(); }
    const JournalRun& back() const { return *shared.back(); }
    const_iterator begin() const { return const_iterator(shared.begin()); }
    const_iterator end() const { return const_iterator(shared.end()); }
    // Run `i` itself, for keeping it without a copy.
    const Shared& share(std::size_t i) const { return shared[i]; }

  private:
    std::vector<Shared> shared;
};
