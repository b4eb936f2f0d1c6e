#pragma once
// Messages in the user's language name their variable parts "%1", "%2" ... so that a translation
// can put them where its grammar wants them.
#include <initializer_list>
#include <string>
#include <string_view>

namespace sq {

// `pattern` with every "%n" (n = 1 to 9) replaced by the n-th of `parts`. A "%n" without a part,
// and a "%" before anything else, stay as they are; the parts themselves are never searched.
std::string fillIn(std::string_view pattern, std::initializer_list<std::string_view> parts);

}  // namespace sq
