// A small set of the members of an enumeration whose values count up from 0 (at most 32
// members), as the components' option sets use them. Plain value type; never throws.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace selvane {

template <typename Member>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<Member> members)
    {
        for (Member member : members) bits_ |= Bit(member);
    }

    constexpr bool Contains(Member member) const { return (bits_ & Bit(member)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr std::uint32_t Bit(Member member)
    {
        return std::uint32_t{1} << static_cast<unsigned>(member);
    }

    std::uint32_t bits_ = 0;
};

}  // namespace selvane
