// TSet: a set of enumeration values (or small integers), as the platform's set types.
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>

namespace vxplan {

template <class E, std::size_t N = 32>
class TSet {
public:
    constexpr TSet() = default;
    TSet(std::initializer_list<E> values)
    {
        for (E v : values) Include(v);
    }

    bool Contains(E v) const { return InRange(v) && bits_.test(Index(v)); }
    TSet& Include(E v)
    {
        if (InRange(v)) bits_.set(Index(v));
        return *this;
    }
    TSet& Exclude(E v)
    {
        if (InRange(v)) bits_.reset(Index(v));
        return *this;
    }
    bool Empty() const { return bits_.none(); }
    std::size_t Count() const { return bits_.count(); }

    TSet operator+(const TSet& o) const { return TSet(bits_ | o.bits_); }
    TSet operator-(const TSet& o) const { return TSet(bits_ & ~o.bits_); }
    TSet operator*(const TSet& o) const { return TSet(bits_ & o.bits_); }
    TSet& operator+=(const TSet& o) { bits_ |= o.bits_; return *this; }
    TSet& operator-=(const TSet& o) { bits_ &= ~o.bits_; return *this; }
    friend bool operator==(const TSet&, const TSet&) = default;

private:
    explicit TSet(std::bitset<N> bits) : bits_(bits) {}
    static std::size_t Index(E v) { return static_cast<std::size_t>(v); }
    static bool InRange(E v) { return static_cast<long long>(v) >= 0 && static_cast<std::size_t>(v) < N; }
    std::bitset<N> bits_;
};

}  // namespace vxplan
