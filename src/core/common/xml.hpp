// SPDX-License-Identifier: MIT
#pragma once

#include "core/common/text.hpp"

#include <string_view>

namespace kavo {

// Makes Windows-1251 text safe inside a double-quoted XML attribute: `"` becomes &quot;,
// `<` &lt; and a bare `&` &amp;. A character reference the user typed (&#171;, &#xAB;)
// or one of the five predefined entities (&amp; ...) is kept as typed.
Text escapeXmlAttribute(std::string_view cp1251);

} // namespace kavo
