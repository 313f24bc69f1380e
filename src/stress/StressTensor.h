#pragma once

#include <array>

using StressTensor = std::array<double, 6>;
