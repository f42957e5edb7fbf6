// The bodies of the purge functions, registered in one table by function.
// A function whose body is not there yet cannot be selected.
#pragma once
#include <array>

#include "engine/driver.h"

namespace tidemark::app {

using PurgeBodies = std::array<engine::PurgeBody, engine::kPurgeFunctionCount>;

const PurgeBodies& RegisteredPurgeBodies();

}  // namespace tidemark::app
