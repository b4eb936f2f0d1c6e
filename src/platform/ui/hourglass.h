#pragma once
// The screen's hourglass pointer for the length of a scope: shown when the object is made and the
// previous pointer given back when it goes, on every way out of the scope. Scopes nest.
namespace sq {

class ScopedHourglass {
public:
    ScopedHourglass();
    ~ScopedHourglass();
    ScopedHourglass(const ScopedHourglass&) = delete;
    ScopedHourglass& operator=(const ScopedHourglass&) = delete;
};

// True while any hourglass scope is open.
[[nodiscard]] bool hourglassShown();

}  // namespace sq
