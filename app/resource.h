#pragma once

// Shared by the resource script and the code.
#define HOMECLICK_ICON 1
