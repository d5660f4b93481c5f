#pragma once

#include "wording.h"

#include <QString>

// Texts the guard's files share.
inline constexpr SaidLater kCanceledText = Later("Net", "Operation has been canceled");
inline constexpr SaidLater kRetrievingTitle = Later("Guard", "Retrieving messages ... standby");
