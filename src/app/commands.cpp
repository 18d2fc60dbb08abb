// SPDX-License-Identifier: MIT
#include "app/commands.hpp"
