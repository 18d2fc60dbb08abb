// SPDX-License-Identifier: MIT
// Messages the compiler must refuse; compiled once per case by ctest (see CMakeLists.txt).
// The case Fine must compile, so that a refusal of the others is the check's own.
#include "core/common/lang.hpp"

using kavo::Lang;
using kavo::Message;

#if defined(CASE_Fine)
inline constexpr Message<2> fine{"%1 of %2, 100%%", "%2 из %1, 100%%"};
inline constexpr Message plain{"none", "нет"};
const auto text = fine.utf8(Lang::English, {"a", "b"}) + plain.utf8(Lang::Russian);
#elif defined(CASE_GapInArguments)
inline constexpr Message<3> gap{"%1 and %3", "%1 и %3"};
#elif defined(CASE_RussianMissesAnArgument)
inline constexpr Message<2> missing{"%1 of %2", "%1 из"};
#elif defined(CASE_ArgumentNotDeclared)
inline constexpr Message undeclared{"Variant %1", "Вариант %1"};
#elif defined(CASE_SingleLiteralPercent)
inline constexpr Message percent{"~%50% for several", "~%%50%% для нескольких"};
#elif defined(CASE_TooFewArguments)
inline constexpr Message<2> two{"%1 of %2", "%1 из %2"};
const auto text = two.utf8(Lang::English, {"a"});
#elif defined(CASE_TooManyArguments)
inline constexpr Message<1> one{"Variant %1", "Вариант %1"};
const auto text = one.in(Lang::Russian, {"a", "b"});
#endif
