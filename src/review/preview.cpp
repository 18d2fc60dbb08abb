// SPDX-License-Identifier: MIT
#include "review/preview.hpp"
