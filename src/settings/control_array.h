#pragma once
// A control array: controls of one kind addressed by index, as `UpPageCbx(3)`. An index outside
// the array raises VbError(9), so a statement that names a missing element fails like any other.
#include <memory>
#include <vector>

#include "platform/vb_error.h"

namespace sq {

template <class C>
class ControlArray {
public:
    template <class... Args>
    C& add(Args&&... args) {
        m_controls.push_back(std::make_unique<C>(std::forward<Args>(args)...));
        return *m_controls.back();
    }

    C& operator()(int index) const {
        if (index < 0 || index >= count()) raise(kSubscriptOutOfRange);
        return *m_controls[static_cast<size_t>(index)];
    }

    [[nodiscard]] int count() const { return static_cast<int>(m_controls.size()); }

private:
    std::vector<std::unique_ptr<C>> m_controls;
};

}  // namespace sq
