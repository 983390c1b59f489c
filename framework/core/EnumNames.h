#pragma once
// An enumeration whose value names form descriptions read and write is declared from one
// list, so that reordering or extending it cannot leave a name on the wrong value:
//
//   #define HX_ALIGN_VALUES(X) X(alNone) X(alTop) X(alBottom)
//   enum TAlign : unsigned char { HX_ALIGN_VALUES(HX_ENUM_VALUE) };
//   TEnumInfo{"TAlign", {HX_ALIGN_VALUES(HX_ENUM_NAME)}}   // "alNone", "alTop", ...
//
// The elements of a set are bit flags with values of their own (akLeft = 1u << 0, ...); the
// list names them in bit order, and a static_assert on FlagsFollowList checks that order:
//
//   static_assert(FlagsFollowList({HX_ANCHORKIND_VALUES(HX_ENUM_VALUE)}));
#include <initializer_list>

#define HX_ENUM_VALUE(name) name,
#define HX_ENUM_NAME(name) #name,

namespace hx {

// Whether flag i of the list is bit i.
template <class T>
constexpr bool FlagsFollowList(std::initializer_list<T> flags)
{
    unsigned bit = 0;
    for (const T flag : flags)
        if (static_cast<unsigned long long>(flag) != 1ull << bit++)
            return false;
    return true;
}

} // namespace hx
