#include "chart/scaling.h"
