#pragma once

#include <string_view>

namespace meridax {

// A horse left out of the horse list: deregistered ("1") with no race on record ("000").
bool IsDeregisteredWithoutRaces(std::string_view horseRecord);

}  // namespace meridax
