#pragma once

// The options moved to the data layer, below the application and the personnel records; this
// header keeps the older include working.
#include "data/programoptions.h"
