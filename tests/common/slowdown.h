#pragma once
// How many times slower the code runs in this build, for the tests that bound
// a time: AddressSanitizer's debug builds are several times slower.

namespace testing_support {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSlowdown = 8;
#else
inline constexpr int kSlowdown = 1;
#endif

}  // namespace testing_support
