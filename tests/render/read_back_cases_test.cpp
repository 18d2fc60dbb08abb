// SPDX-License-Identifier: MIT
#include "tree.hpp"

#include <gtest/gtest.h>
